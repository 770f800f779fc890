// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>

class QLocale;

// The counter field's two faces. The options always hold the plain text a run can read back
// (optional sign, then digits); the field shows it in the ",0;(,0)" format: digit groups with
// the locale's separator, negative numbers in brackets.
namespace CounterText
{

// The plain text behind what the field shows: group separators dropped, brackets made a sign.
QString plain(const QString &shown, const QLocale &locale);

// The display form of a plain counter; an empty text or a bare sign reads as 0. A text that is
// not a number comes back unchanged.
QString display(const QString &plain, const QLocale &locale);

// The plain text after a display rewrite: 007 becomes 7, -0 becomes 0.
QString normalised(const QString &plain, const QLocale &locale);

// Whether typing ch at position pos into text is allowed: digits anywhere, one sign at the very
// start. Control keys are the caller's to let through.
bool acceptsCharacter(const QString &text, int pos, QChar ch);

} // namespace CounterText
