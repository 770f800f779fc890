// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/OverwriteDialog.h"

#include "ui/kit/DialogButton.h"
#include "ui/kit/ShadowText.h"
#include "ui/kit/Skin.h"
#include "ui/kit/WindowPlacement.h"

#include <QLabel>
#include <QPushButton>

namespace
{

// Long paths have no blanks to wrap at; let them break after each separator.
QString wrappable(const QString &text)
{
    QString out = text;
    return out.replace(QLatin1Char('/'), QStringLiteral("/\u200B"));
}

} // namespace

OverwriteDialog::OverwriteDialog(const QString &objectName, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint)
{
    setObjectName(objectName);
    setWindowTitle(tr("Overwrite?"));
    setModal(true);
    Skin::apply(this, QStringLiteral("overwrite_skin.png"), QColor(Qt::black));

    m_overLabel = new QLabel(this);
    m_overLabel->setObjectName(QStringLiteral("OverLabel"));
    QFont big = ShadowText::captionFont();
    big.setPixelSize(16);
    m_overLabel->setFont(big);
    m_overLabel->setAlignment(Qt::AlignCenter);
    m_overLabel->setWordWrap(true);
    m_overLabel->setGeometry(20, 40, width() - 40, 104);

    m_errorLabel = new QLabel(this);
    m_errorLabel->setObjectName(QStringLiteral("ErrorLabel"));
    m_errorLabel->setFont(ShadowText::captionFont());
    m_errorLabel->setStyleSheet(QStringLiteral("color: #a00000;"));
    m_errorLabel->setAlignment(Qt::AlignCenter);
    m_errorLabel->setWordWrap(true);
    m_errorLabel->setGeometry(20, 146, width() - 40, 38);

    const auto [ok, cancel] = makeOkCancelButtons(this, 190);
    connect(ok, &QPushButton::clicked, this, &OverwriteDialog::OKButtonClick);
    connect(cancel, &QPushButton::clicked, this, &OverwriteDialog::CancelButtonClick);
}

QString OverwriteDialog::errorText() const
{
    return m_errorLabel->text();
}

bool OverwriteDialog::run(const QString &text, Write write)
{
    m_message = text;
    m_write = std::move(write);
    m_overLabel->setText(wrappable(text));
    m_errorLabel->clear();
    WindowPlacement::centreOnScreen(this);
    findChild<QPushButton *>(QStringLiteral("OKButton"))->setFocus();
    const bool confirmed = exec() == QDialog::Accepted;
    m_write = nullptr;
    return confirmed;
}

void OverwriteDialog::OKButtonClick()
{
    if (m_write) {
        const QString failure = m_write();
        if (!failure.isEmpty()) {
            m_errorLabel->setText(wrappable(tr("The file cannot be written: %1").arg(failure)));
            return;
        }
    }
    accept();
}

void OverwriteDialog::CancelButtonClick()
{
    reject();
}
