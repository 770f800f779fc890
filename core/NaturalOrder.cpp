// SPDX-License-Identifier: GPL-2.0-or-later
#include "core/NaturalOrder.h"

namespace {

inline bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// The case folding of one UTF-16 unit; ASCII, by far the common case, without a table lookup.
inline char16_t folded(char16_t c)
{
    if (c < 0x80)
        return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c;
    return QChar(c).toCaseFolded().unicode();
}

// Compares the digit runs starting at i and j by value; advances both past their runs.
int compareNumbers(const char16_t *a, qsizetype na, qsizetype &i, const char16_t *b, qsizetype nb, qsizetype &j)
{
    while (i + 1 < na && a[i] == u'0' && isDigit(a[i + 1]))
        ++i;
    while (j + 1 < nb && b[j] == u'0' && isDigit(b[j + 1]))
        ++j;
    qsizetype ei = i, ej = j;
    while (ei < na && isDigit(a[ei]))
        ++ei;
    while (ej < nb && isDigit(b[ej]))
        ++ej;
    int result = 0;
    if (ei - i != ej - j) {
        result = ei - i < ej - j ? -1 : 1;
    } else {
        for (qsizetype k = 0; k < ei - i && result == 0; ++k)
            if (a[i + k] != b[j + k])
                result = a[i + k] < b[j + k] ? -1 : 1;
    }
    i = ei;
    j = ej;
    return result;
}

} // namespace

int naturalCompare(const QString &as, const QString &bs)
{
    const auto *a = reinterpret_cast<const char16_t *>(as.constData());
    const auto *b = reinterpret_cast<const char16_t *>(bs.constData());
    const qsizetype na = as.size(), nb = bs.size();
    qsizetype i = 0, j = 0;
    while (i < na && j < nb) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            if (const int c = compareNumbers(a, na, i, b, nb, j))
                return c;
            continue;
        }
        if (a[i] != b[j]) {
            const char16_t ca = folded(a[i]), cb = folded(b[j]);
            if (ca != cb)
                return ca < cb ? -1 : 1;
        }
        ++i;
        ++j;
    }
    if (i < na)
        return 1;
    if (j < nb)
        return -1;
    return as.compare(bs);
}

bool naturalLess(const QString &a, const QString &b) { return naturalCompare(a, b) < 0; }
