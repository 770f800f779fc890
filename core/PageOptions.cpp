// SPDX-License-Identifier: GPL-2.0-or-later
#include "core/PageOptions.h"

#include <QSettings>

#include <algorithm>

namespace {

constexpr int kDivisors[PageOptions::PercentCount] = {2, 3, 4, 5, 10};
const char *const kCaptions[PageOptions::PercentCount] = {
    "50% of Original Size", "33% of Original Size", "25% of Original Size", "20% of Original Size",
    "10%  of Original Size"};

const QString kHelpKey = QStringLiteral("HelpSystem");

// Adds one to a string of decimal digits, keeping at least its length.
QString incrementDigits(const QString &digits)
{
    QString out = digits;
    qsizetype i = out.size() - 1;
    while (i >= 0) {
        if (out[i] == QLatin1Char('9')) {
            out[i] = QLatin1Char('0');
            --i;
            continue;
        }
        out[i] = QChar(out[i].unicode() + 1);
        return out;
    }
    return QLatin1Char('1') + out;
}

} // namespace

bool readCounter(const QString &text, bool *isZero, bool *isPositive)
{
    qsizetype start = 0;
    bool negative = false;
    if (!text.isEmpty() && (text[0] == QLatin1Char('+') || text[0] == QLatin1Char('-'))) {
        negative = text[0] == QLatin1Char('-');
        start = 1;
    }
    if (start >= text.size())
        return false;
    bool zero = true;
    for (qsizetype i = start; i < text.size(); ++i) {
        const ushort c = text[i].unicode();
        if (c < '0' || c > '9')
            return false;
        if (c != '0')
            zero = false;
    }
    if (isZero)
        *isZero = zero;
    if (isPositive)
        *isPositive = !zero && !negative;
    return true;
}

PageOptions::PageOptions(QObject *parent) : QObject(parent) {}

QString PageOptions::percentCaption(int index)
{
    return index >= 0 && index < PercentCount ? QString::fromLatin1(kCaptions[index]) : QString();
}

int PageOptions::percentDivisor(int index)
{
    return index >= 0 && index < PercentCount ? kDivisors[index] : 0;
}

bool PageOptions::isPercentMarked(int index) const
{
    return index >= 0 && index < PercentCount && m_marks[index];
}

bool PageOptions::anyPercentMarked() const
{
    return std::any_of(m_marks.begin(), m_marks.end(), [](bool m) { return m; });
}

#define TESSALOOM_STORE(field, value)                                                                        \
    do {                                                                                                     \
        field = value;                                                                                       \
        Q_EMIT changed();                                                                                    \
    } while (false)

void PageOptions::setWebNameEdit(const QString &text) { TESSALOOM_STORE(m_webName, text); }
void PageOptions::setTitleEdit(const QString &text) { TESSALOOM_STORE(m_title, text); }
void PageOptions::setNameIncrement(const QString &text) { TESSALOOM_STORE(m_nameIncrement, text); }
void PageOptions::setBackgroundfile(const QString &path) { TESSALOOM_STORE(m_backgroundFile, path); }
void PageOptions::setSoundPick(const QString &path) { TESSALOOM_STORE(m_soundPick, path); }
void PageOptions::setPLabelStatus(bool on) { TESSALOOM_STORE(m_labelStatus, on); }
void PageOptions::setPLabelSize(bool on) { TESSALOOM_STORE(m_labelSize, on); }
void PageOptions::setShownamebox(bool on) { TESSALOOM_STORE(m_showNameBox, on); }
void PageOptions::setUsePickList(bool on) { TESSALOOM_STORE(m_usePickList, on); }
void PageOptions::setDeleteThumbnail(bool on) { TESSALOOM_STORE(m_deleteThumbnail, on); }
void PageOptions::setPreviewit(bool on) { TESSALOOM_STORE(m_previewIt, on); }
void PageOptions::setBackGroundColorValue(quint32 c) { TESSALOOM_STORE(m_backgroundColor, colourText(c)); }
void PageOptions::setTextColorValue(quint32 c) { TESSALOOM_STORE(m_textColor, colourText(c)); }
void PageOptions::setLinkColorValue(quint32 c) { TESSALOOM_STORE(m_linkColor, colourText(c)); }
void PageOptions::setVisitedColorValue(quint32 c) { TESSALOOM_STORE(m_visitedColor, colourText(c)); }
void PageOptions::setPictureBorderEdit(int v) { TESSALOOM_STORE(m_pictureBorder, std::clamp(v, 0, 20)); }
void PageOptions::setTableBorderEdit(int v) { TESSALOOM_STORE(m_tableBorder, std::clamp(v, 0, 20)); }
void PageOptions::setColumnEdit(int v) { TESSALOOM_STORE(m_columns, std::clamp(v, 1, 20)); }
void PageOptions::setSoundLinkCode(int code) { TESSALOOM_STORE(m_soundLinkCode, code); }

#undef TESSALOOM_STORE

void PageOptions::setHelpSystem(bool on)
{
    m_helpSystem = on;
    Q_EMIT helpSystemChanged(on);
    Q_EMIT changed();
}

void PageOptions::setSoundChoice(SoundChoice choice, bool on)
{
    if (on && choice == m_sound)
        return; // already chosen: nothing changes, no rule runs
    if (!on && choice != m_sound)
        return; // turning off a flag that is off
    // Turning a flag on chooses it; turning off the chosen flag is refused and sets its code again.
    m_sound = choice;
    m_soundLinkCode = choice == UsePicture ? SoundAsPicture : SoundAsText;
    applySoundSizeRule();
    Q_EMIT changed();
}

void PageOptions::applySoundSizeRule()
{
    if (MediaKinds::isSoundKind(m_kind) && m_soundLinkCode != SoundAsPicture) {
        zeroSizeEditors();
        m_sizeEnabled = false;
    } else {
        m_sizeEnabled = true;
    }
}

void PageOptions::setBackgroundChoice(BackgroundChoice choice, bool on)
{
    if (on && choice != m_background) {
        m_background = choice;
        Q_EMIT changed();
    }
    // Turning off the chosen one is refused; views are told so they show it checked again.
    if (!on)
        Q_EMIT changed();
}

QString PageOptions::colourText(quint32 colorRef)
{
    QString hex = QString::number(colorRef, 16).toUpper();
    if (hex.size() < 6)
        hex = QString(6 - hex.size(), QLatin1Char('0')) + hex;
    return hex.mid(4, 2) + hex.mid(2, 2) + hex.mid(0, 2);
}

void PageOptions::setThumbnailer(bool on)
{
    m_thumbnailer = on;
    if (on) {
        if (m_percentIndex == -1) {
            markOnly(4);
            m_percentIndex = 4;
            m_sizeDivisor = 10;
            m_height = 0;
            m_width = 0;
        }
    } else {
        m_percentIndex = -1;
        m_sizeDivisor = 0;
        m_marks.fill(false);
    }
    Q_EMIT changed();
}

void PageOptions::markOnly(int index)
{
    m_marks.fill(false);
    m_marks[index] = true;
}

void PageOptions::choosePercent(int index)
{
    if (index < 0 || index >= PercentCount)
        return;
    markOnly(index);
    m_percentIndex = index;
    const bool scales = m_kind == mkGifJpg || m_kind == mkGif || m_kind == mkJpg || m_kind == mkAvi ||
                        m_soundLinkCode == SoundAsPicture;
    if (scales) {
        m_sizeDivisor = kDivisors[index];
        m_height = 0;
        m_width = 0;
        m_thumbnailer = true; // the switch rule has nothing more to do: PercentIndex is set
    }
    Q_EMIT changed();
}

void PageOptions::setExplicitSize(int &field, int value)
{
    value = std::clamp(value, 0, 500);
    if (field == value)
        return;
    field = value;
    applyExplicitSizeRule();
}

void PageOptions::applyExplicitSizeRule()
{
    if (m_height == 0 && m_width == 0)
        return;
    m_sizeDivisor = 0;
    m_marks.fill(false);
}

void PageOptions::setHeightEdit(int value)
{
    setExplicitSize(m_height, value);
    Q_EMIT changed();
}

void PageOptions::setWidthEdit(int value)
{
    setExplicitSize(m_width, value);
    Q_EMIT changed();
}

void PageOptions::zeroSizeEditors()
{
    setExplicitSize(m_height, 0);
    setExplicitSize(m_width, 0);
    m_pictureBorder = 0;
}

void PageOptions::mediaKindChanged(MediaKind kind)
{
    m_kind = kind;
    if (MediaKinds::isSoundKind(kind) && m_soundLinkCode == SoundAsText) {
        zeroSizeEditors();
        m_sizeEnabled = false;
        m_marks.fill(false);
    } else {
        m_sizeEnabled = true;
    }
    Q_EMIT changed();
}

void PageOptions::clearPercentMarks()
{
    m_marks.fill(false);
    Q_EMIT changed();
}

bool PageOptions::prepareRun(MediaKind kind)
{
    if (m_soundLinkCode == SoundAsPicture && m_soundPick.isEmpty() && MediaKinds::isSoundKind(kind))
        return false;
    if (m_thumbnailer && m_percentIndex == -1)
        m_percentIndex = 0;
    if (m_percentIndex == 0 && m_sizeDivisor == 0)
        m_sizeDivisor = 2;
    Q_EMIT changed();
    return true;
}

void PageOptions::finishRunPreparation(MediaKind kind)
{
    if (MediaKinds::isPictureKind(kind))
        m_soundLinkCode = SoundAsText;
    Q_EMIT changed();
}

void PageOptions::setNamingFromDialog(const QString &counter, const QString &name, const QString &title)
{
    if (m_nameIncrement != counter)
        m_nameIncrement = counter;
    if (m_webName != name)
        m_webName = name;
    if (m_title != title)
        m_title = title;
    Q_EMIT changed();
}

void PageOptions::lowerColumnEdit(int files)
{
    if (files >= 1 && files < m_columns) {
        m_columns = files;
        Q_EMIT changed();
    }
}

QString PageOptions::pageFileName(const QString &folder, bool *ok) const
{
    const QString dir = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    bool readable = false;
    const QString name = pageFileNameOf(m_webName, m_nameIncrement, &readable);
    if (ok)
        *ok = readable;
    return readable ? dir + name : QString();
}

QString PageOptions::pageFileNameOf(const QString &webName, const QString &counter, bool *ok)
{
    bool zero = false;
    const bool readable = readCounter(counter, &zero, nullptr);
    if (ok)
        *ok = readable;
    if (!readable)
        return QString();
    if (zero)
        return webName;
    const qsizetype dot = webName.indexOf(QLatin1Char('.'));
    if (dot < 0)
        return counter + webName;
    return webName.left(dot) + counter + webName.mid(dot);
}

bool PageOptions::stepCounter()
{
    bool positive = false;
    if (!readCounter(m_nameIncrement, nullptr, &positive))
        return false;
    if (!positive)
        return true;
    // The text's digits without a sign, stepped as a decimal string so no length overflows.
    QString digits = m_nameIncrement;
    if (digits.startsWith(QLatin1Char('+')))
        digits.remove(0, 1);
    const qsizetype length = m_nameIncrement.size();
    QString next = incrementDigits(digits);
    // "The decimal form of the number plus 1": drop leading zeros, then pad back to the old length.
    while (next.size() > 1 && next.startsWith(QLatin1Char('0')))
        next.remove(0, 1);
    if (next.size() < length)
        next = QString(length - next.size(), QLatin1Char('0')) + next;
    m_nameIncrement = next;
    Q_EMIT changed();
    return true;
}

void PageOptions::loadHelpSystem(const QSettings &settings)
{
    setHelpSystem(settings.value(kHelpKey).toString() == QLatin1String("0"));
}

void PageOptions::saveHelpSystem(QSettings &settings) const
{
    settings.setValue(kHelpKey, m_helpSystem ? QStringLiteral("0") : QStringLiteral("1"));
}
