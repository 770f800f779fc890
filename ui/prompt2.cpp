// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/prompt2.h"

#include "ui/kit/PictureButton.h"
#include "ui/kit/ShadowText.h"
#include "ui/kit/Skin.h"
#include "ui/kit/WindowPlacement.h"
#include "ui/kit/WrappedText.h"

#include <QKeyEvent>
#include <QScreen>

#include <algorithm>

TPrompt2Form::TPrompt2Form(QWidget *parent)
    : QDialog(parent), m_promptmessage(new ShadowText({}, this)),
      m_OKButton(new PictureButton(QStringLiteral("ok_button.png"), this))
{
    setObjectName(QStringLiteral("Prompt2Form"));
    setWindowTitle(tr("Message"));
    m_skin = Skin::apply(this, QStringLiteral("prompt2_skin.png"), QColor(Qt::black));
    // On top, so a message is never hidden behind the always-on-top About or progress windows.
    setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint);
    setModal(true);

    m_promptmessage->setObjectName(QStringLiteral("promptmessage"));
    m_promptmessage->setFitted(true);
    m_promptmessage->setGeometry(27, 13, 303, 40);
    // The label reaches under the OK button's rim; keep the text inside the skin's well.
    m_promptmessage->setContentsMargins(4, 0, 6, 0);
    QFont font(QStringLiteral("Times New Roman"));
    font.setPixelSize(13);
    font.setBold(true);
    m_promptmessage->setFont(font);
    m_promptmessage->setText(tr("You must choose a file first"));

    m_OKButton->setObjectName(QStringLiteral("OKButton"));
    m_OKButton->setPressedPicture(QStringLiteral("ok_button_down.png"));
    m_OKButton->setFocusPolicy(Qt::StrongFocus);
    m_OKButton->setText(tr("OK"));
    m_OKButton->setGeometry(328, 13, 42, 37);
    connect(m_OKButton, &QAbstractButton::clicked, this, &TPrompt2Form::OKButtonClick);
}

void TPrompt2Form::showMessage(const QString &text)
{
    setText(text);
    exec();
}

void TPrompt2Form::setText(const QString &text)
{
    m_promptmessage->setText(text);
    // The box keeps its 40 pixels while the text fits; a longer one (a deep folder's path, a
    // failure's reason) grows it and the window by whole lines, so nothing is cut.
    constexpr int kBoxHeight = 40;
    const int maximum = std::max(kBoxHeight, (screen() ? screen()->availableGeometry().height() : 1000) -
                                                 m_skin->pictureSize().height());
    const QMargins margins = m_promptmessage->contentsMargins();
    const int width = m_promptmessage->width() - margins.left() - margins.right();
    const int line = QFontMetrics(m_promptmessage->font()).lineSpacing();
    int height = kBoxHeight;
    while (height < maximum && WrappedText::fit(text, m_promptmessage->font(), QSize(width, height)).cut)
        height += line;
    m_promptmessage->resize(m_promptmessage->width(), height);
    // The row just below the OK button's rim crosses only the body and the message's well: repeated,
    // the window grows like its well, with one emblem and the OK button's rim as they are.
    constexpr int kRowBelowOkRim = 52;
    m_skin->setHeight(m_skin->pictureSize().height() + height - kBoxHeight, kRowBelowOkRim);
}

QString TPrompt2Form::text() const
{
    return m_promptmessage->text();
}

void TPrompt2Form::showEvent(QShowEvent *event)
{
    WindowPlacement::centreOnScreen(this);
    m_OKButton->setFocus();
    QDialog::showEvent(event);
}

void TPrompt2Form::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        OKButtonClick(); // Enter answers the message like the OK button
        return;
    }
    QDialog::keyPressEvent(event);
}

void TPrompt2Form::OKButtonClick()
{
    accept();
}
