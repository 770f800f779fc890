// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QDialog>

class PictureButton;
class ShadowText;
class Skin;

// The message window: one text and an OK button, shown modally. Created once and reused for every
// message; it keeps the last text until the next message replaces it. A text longer than the window's
// box makes the window taller, so every line of it shows.
class TPrompt2Form final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TPrompt2Form)

public:
    explicit TPrompt2Form(QWidget *parent = nullptr);

    // Sets the text and shows the window modally; returns once the user has closed it.
    void showMessage(const QString &text);
    void setText(const QString &text);
    QString text() const;

    ShadowText *promptmessage() const { return m_promptmessage; }
    PictureButton *OKButton() const { return m_OKButton; }

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void OKButtonClick();

    Skin *m_skin;
    ShadowText *m_promptmessage;
    PictureButton *m_OKButton;
};
