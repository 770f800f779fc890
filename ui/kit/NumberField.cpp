// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/kit/NumberField.h"

#include "core/CounterText.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLocale>
#include <QRegularExpressionValidator>

NumberField::NumberField(const QString &objectName, QWidget *parent) : QLineEdit(parent)
{
    setObjectName(objectName);
    setText(QStringLiteral("0"));
    // Pasted text passes no key filter: keep it to what the display format can hold.
    const QString separator = QRegularExpression::escape(locale().groupSeparator());
    setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[+-]?[0-9%1]*|\\([0-9%1]*\\)?").arg(separator)), this));
    connect(this, &QLineEdit::textEdited, this, [this] { Q_EMIT valueEdited(value()); });
}

QString NumberField::value() const
{
    return CounterText::plain(text(), locale());
}

void NumberField::setValue(const QString &plain)
{
    if (value() != plain)
        setText(plain);
}

void NumberField::keyPressEvent(QKeyEvent *event)
{
    const QString typed = event->text();
    const bool control = typed.isEmpty() || typed[0].category() == QChar::Other_Control ||
                         (event->modifiers() & Qt::ControlModifier);
    if (!control) {
        const int at = hasSelectedText() ? selectionStart() : cursorPosition();
        QString rest = text();
        if (hasSelectedText())
            rest.remove(selectionStart(), selectedText().size());
        if (typed.size() != 1 || !CounterText::acceptsCharacter(rest, at, typed[0])) {
            QApplication::beep();
            Q_EMIT keyRefused();
            event->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

// Switching windows or opening a menu does not enter or leave the field.
static bool movesBetweenControls(const QFocusEvent *event)
{
    return event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason;
}

void NumberField::focusInEvent(QFocusEvent *event)
{
    if (movesBetweenControls(event))
        rewriteForDisplay();
    QLineEdit::focusInEvent(event);
}

void NumberField::focusOutEvent(QFocusEvent *event)
{
    if (movesBetweenControls(event))
        rewriteForDisplay();
    QLineEdit::focusOutEvent(event);
}

void NumberField::rewriteForDisplay()
{
    const QString shown = CounterText::display(value(), locale());
    if (shown == text())
        return;
    setText(shown);
    Q_EMIT valueEdited(value());
}
