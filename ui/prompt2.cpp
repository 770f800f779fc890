#include "ui/prompt2.h"

#include "ui/TwoStateButton.h"
#include "ui/ShadowLabel.h"
#include "ui/Skin.h"
#include "ui/WindowPlacement.h"

#include <QKeyEvent>

TPrompt2Form::TPrompt2Form(QWidget *parent)
    : QDialog(parent), m_promptmessage(new ShadowLabel(this)),
      m_OKButton(
          new TwoStateButton(QStringLiteral("ok_button.png"), QStringLiteral("ok_button_down.png"), this))
{
    setObjectName(QStringLiteral("Prompt2Form"));
    setWindowTitle(tr("Message"));
    Skin::apply(this, QStringLiteral("prompt2_skin.png"), QColor(Qt::black));
    // On top, so a message is never hidden behind the always-on-top About or progress windows.
    setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint);
    setModal(true);

    m_promptmessage->setObjectName(QStringLiteral("promptmessage"));
    m_promptmessage->setGeometry(27, 13, 303, 40);
    // The label reaches under the OK button's rim; keep the text inside the skin's well.
    m_promptmessage->setContentsMargins(4, 0, 6, 0);
    QFont font(QStringLiteral("Times New Roman"));
    font.setPixelSize(13);
    font.setBold(true);
    m_promptmessage->setFont(font);
    m_promptmessage->setText(tr("You must choose a file first"));

    m_OKButton->setObjectName(QStringLiteral("OKButton"));
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
