// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>
#include <QWidget>

#include <functional>
#include <vector>

class ColorChooser;
class FileChooser;
class FormDialogs;
class NumberField;
class PageOptions;
class QCheckBox;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QSpinBox;
class QUrl;
class ShadowText;

// The Options window: every option of the page as a control named like the option. It forwards
// each user action to the options and shows them back after every change, the rules' own
// changes included; it keeps no rule of its own.
class TSettingsForm final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TSettingsForm)

public:
    using Opener = std::function<bool(const QUrl &)>;

    explicit TSettingsForm(PageOptions &options, QWidget *parent = nullptr);

    void setDialogs(FormDialogs *dialogs);
    void setOpener(Opener opener) { m_opener = std::move(opener); }
    // Where the e-mail page goes; the per-user data folder unless set.
    void setEmailFolder(const QString &dataFolder) { m_emailFolder = dataFolder; }

Q_SIGNALS:
    void aboutRequested(); // the About window is shown modally by whoever owns it

public Q_SLOTS:
    void HaltButtonClick();
    void AboutButtonClick();
    void EmailButtonClick();

private:
    void buildNaming();
    void buildBackground();
    void buildSounds();
    void buildColours();
    void buildFlags();
    void buildSizes();
    void buildRatio();
    void buildCaptionButtons();
    void setFocusOrder();
    void showOptions();

    QCheckBox *addCheck(const QString &boxName, const QString &captionName, const QString &caption,
                        const QString &hint, int x, int y, const std::function<bool()> &isOn,
                        const std::function<void(bool)> &turn, bool captionToggles);
    QSpinBox *addSpin(const QString &name, const QString &label, int y, int maximum, int step,
                      const QString &hint);
    void panel(const QRect &area);

    PageOptions &m_options;
    FormDialogs *m_dialogs;
    Opener m_opener;
    QString m_emailFolder;

    QLineEdit *m_webName = nullptr;
    NumberField *m_counter = nullptr;
    QLineEdit *m_title = nullptr;
    ColorChooser *m_backgroundColor = nullptr;
    ColorChooser *m_textColor = nullptr;
    ColorChooser *m_linkColor = nullptr;
    ColorChooser *m_visitedColor = nullptr;
    FileChooser *m_backgroundFile = nullptr;
    FileChooser *m_soundPick = nullptr;
    QSpinBox *m_height = nullptr;
    QSpinBox *m_width = nullptr;
    QSpinBox *m_pictureBorder = nullptr;
    QSpinBox *m_tableBorder = nullptr;
    QSpinBox *m_columns = nullptr;
    QListWidget *m_percent = nullptr;
    ShadowText *m_helpCaption = nullptr;
    ShadowText *m_emailButton = nullptr;
    std::vector<std::function<void()>> m_checkViews; // shows each check box from the options
};
