#include "core/NaturalOrder.h"

namespace {

bool isDigit(QChar c) { return c.unicode() >= '0' && c.unicode() <= '9'; }

// Compares the digit runs starting at i and j by value; advances both past their runs.
int compareNumbers(const QString &a, qsizetype &i, const QString &b, qsizetype &j)
{
    while (i < a.size() && a[i] == QLatin1Char('0') && i + 1 < a.size() && isDigit(a[i + 1]))
        ++i;
    while (j < b.size() && b[j] == QLatin1Char('0') && j + 1 < b.size() && isDigit(b[j + 1]))
        ++j;
    qsizetype ei = i, ej = j;
    while (ei < a.size() && isDigit(a[ei]))
        ++ei;
    while (ej < b.size() && isDigit(b[ej]))
        ++ej;
    int result = 0;
    if (ei - i != ej - j)
        result = ei - i < ej - j ? -1 : 1;
    else
        result = QStringView(a).sliced(i, ei - i).compare(QStringView(b).sliced(j, ej - j));
    i = ei;
    j = ej;
    return result;
}

} // namespace

int naturalCompare(const QString &a, const QString &b)
{
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            if (const int c = compareNumbers(a, i, b, j))
                return c;
            continue;
        }
        const QChar ca = a[i].toCaseFolded(), cb = b[j].toCaseFolded();
        if (ca != cb)
            return ca < cb ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < a.size())
        return 1;
    if (j < b.size())
        return -1;
    return a.compare(b);
}

bool naturalLess(const QString &a, const QString &b) { return naturalCompare(a, b) < 0; }
