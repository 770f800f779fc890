// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "core/MediaKinds.h"

#include <QObject>
#include <QString>

#include <array>

class QSettings;

// The one set of page options of a program run, with every rule between them. Options are named
// after the Options window's controls; the window only forwards actions here and shows the result.
// Every operation ends with changed(), so views can show what the rules did.
class PageOptions final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PageOptions)

public:
    enum SoundChoice { UsePicture, UseText, UseUnderlineText };
    enum BackgroundChoice { UseBackgroundColor, UseBackgroundPicture };
    static constexpr int PercentCount = 5;
    static constexpr int SoundAsText = 3;
    static constexpr int SoundAsPicture = 4;

    explicit PageOptions(QObject *parent = nullptr);

    // Percentage entries: captions and divisors of the five entries of PopupMenu.
    static QString percentCaption(int index);
    static int percentDivisor(int index);

    // Reading.
    QString WebNameEdit() const { return m_webName; }
    QString TitleEdit() const { return m_title; }
    QString NameIncrement() const { return m_nameIncrement; }
    bool isUseBackgroundColor() const { return m_background == UseBackgroundColor; }
    bool isUseBackgroundPicture() const { return m_background == UseBackgroundPicture; }
    QString Backgroundfile() const { return m_backgroundFile; }
    QString BackGroundColor() const { return m_backgroundColor; }
    QString TextColor() const { return m_textColor; }
    QString LinkColor() const { return m_linkColor; }
    QString VisitedColor() const { return m_visitedColor; }
    SoundChoice soundChoice() const { return m_sound; }
    bool isUsePicture() const { return m_sound == UsePicture; }
    bool isUseText() const { return m_sound == UseText; }
    bool isUseUnderlineText() const { return m_sound == UseUnderlineText; }
    QString SoundPick() const { return m_soundPick; }
    bool PLabelStatus() const { return m_labelStatus; }
    bool PLabelSize() const { return m_labelSize; }
    bool Thumbnailer() const { return m_thumbnailer; }
    int HeightEdit() const { return m_height; }
    int WidthEdit() const { return m_width; }
    int PictureBorderEdit() const { return m_pictureBorder; }
    int TableBorderEdit() const { return m_tableBorder; }
    int ColumnEdit() const { return m_columns; }
    bool Shownamebox() const { return m_showNameBox; }
    bool UsePickList() const { return m_usePickList; }
    bool HelpSystem() const { return m_helpSystem; }
    bool DeleteThumbnail() const { return m_deleteThumbnail; }
    bool Previewit() const { return m_previewIt; }
    bool sizeEditorsEnabled() const { return m_sizeEnabled; }
    MediaKind mediaKind() const { return m_kind; }

    // Derived state.
    bool isPercentMarked(int index) const;
    bool anyPercentMarked() const;
    int PercentIndex() const { return m_percentIndex; }
    double SizeDivisor() const { return m_sizeDivisor; }
    int SoundLinkCode() const { return m_soundLinkCode; }

    // Edits by the user.
    void setWebNameEdit(const QString &text);
    void setTitleEdit(const QString &text);
    void setNameIncrement(const QString &text);
    void setBackgroundfile(const QString &path);
    void setSoundPick(const QString &path);
    void setPLabelStatus(bool on);
    void setPLabelSize(bool on);
    void setShownamebox(bool on);
    void setUsePickList(bool on);
    void setHelpSystem(bool on);
    void setDeleteThumbnail(bool on);
    void setPreviewit(bool on);
    void setSoundChoice(SoundChoice choice, bool on);
    void setBackgroundChoice(BackgroundChoice choice, bool on);
    void setBackGroundColorValue(quint32 colorRef);
    void setTextColorValue(quint32 colorRef);
    void setLinkColorValue(quint32 colorRef);
    void setVisitedColorValue(quint32 colorRef);
    void setThumbnailer(bool on);
    void choosePercent(int index);
    void setHeightEdit(int value);
    void setWidthEdit(int value);
    void setPictureBorderEdit(int value);
    void setTableBorderEdit(int value);
    void setColumnEdit(int value);

    // Calls from the rest of the program.
    void mediaKindChanged(MediaKind kind);                 // kind-change rule
    void clearPercentMarks();                              // the kind handlers' unchecking of PopupMenu
    bool prepareRun(MediaKind kind);                       // run preparation 1-3; false: refused
    void finishRunPreparation(MediaKind kind);             // run preparation 4
    void setSoundLinkCode(int code);
    void setNamingFromDialog(const QString &counter, const QString &name, const QString &title);
    void lowerColumnEdit(int files);                       // the run had fewer files than columns

    // Page file name and counter. A counter that does not read as a plain whole number gives
    // ok = false and an empty result.
    QString pageFileName(const QString &folder, bool *ok = nullptr) const;
    // The same rule for a name and counter not yet in the options: the file name alone.
    static QString pageFileNameOf(const QString &webName, const QString &counter, bool *ok = nullptr);
    bool stepCounter();

    // The remembered help setting: "0" on; anything else, or nothing, off.
    void loadHelpSystem(const QSettings &settings);
    void saveHelpSystem(QSettings &settings) const;

    static QString colourText(quint32 colorRef);
    static constexpr const char *RefusedSoundPictureText =
        "You need to choose a Picture for your Sounds.\nOr choose Text for Sound intstead.";

Q_SIGNALS:
    void changed();
    void helpSystemChanged(bool on);

private:
    void applySoundSizeRule();
    void setExplicitSize(int &field, int value);
    void zeroSizeEditors(); // HeightEdit, WidthEdit, PictureBorderEdit, with the explicit size rule
    void applyExplicitSizeRule();
    void markOnly(int index);

    QString m_webName = QStringLiteral("MediaPage.htm");
    QString m_title = QStringLiteral("MediaPage");
    QString m_nameIncrement = QStringLiteral("0");
    BackgroundChoice m_background = UseBackgroundColor;
    QString m_backgroundFile;
    QString m_backgroundColor = QStringLiteral("000000");
    QString m_textColor = QStringLiteral("FFFFFF");
    QString m_linkColor = QStringLiteral("FF0000");
    QString m_visitedColor = QStringLiteral("0000FF");
    SoundChoice m_sound = UseText;
    QString m_soundPick;
    bool m_labelStatus = false;
    bool m_labelSize = false;
    bool m_thumbnailer = true;
    int m_height = 0;
    int m_width = 0;
    int m_pictureBorder = 0;
    int m_tableBorder = 0;
    int m_columns = 1;
    bool m_showNameBox = true;
    bool m_usePickList = false;
    bool m_helpSystem = true;
    bool m_deleteThumbnail = true;
    bool m_previewIt = true;
    bool m_sizeEnabled = true;
    MediaKind m_kind = mkNone;
    std::array<bool, PercentCount> m_marks{true, false, false, false, false};
    int m_percentIndex = 0;
    double m_sizeDivisor = 0;
    int m_soundLinkCode = SoundAsText;
};

// Reads a counter text as a whole number: optional sign, then decimal digits. False for anything else.
bool readCounter(const QString &text, bool *isZero, bool *isPositive);
