// SPDX-License-Identifier: GPL-2.0-or-later
#include "core/MediaKinds.h"


namespace {

const MediaKindInfo kKinds[] = {
    {mkGifJpg, "gjButton", "gjbuttonClick", "*.gif;*.jpg;*.GIF;*.JPG", "GIF/JPG List:",
     "Click here to use only GIF and JPG files in your web page."},
    {mkGif, "GIFButton", "gifbuttonClick", "*.gif;*.GIF", "GIF List:",
     "Click here to use only GIF files in your web page."},
    {mkJpg, "JPGButton", "jpgbuttonClick", "*.jpg;*.JPG", "JPG List:",
     "Click here to use only JPG files in your web page."},
    {mkWav, "WAVButton", "wavbuttonClick", "*.wav;*.WAV", "WAV List:",
     "Click here to use only WAV files in your web page. NOTE: You can use pictures to represent you sound "
     "files."},
    {mkMid, "MIDButton", "midbuttonClick", "*.mid;*.MID", "MID List:",
     "Click here to use only MID files in your web page. NOTE: You can use pictures to represent you sound "
     "files."},
    {mkMp3, "MP3Button", "mp3buttonClick", "*.mp3;*.MP3", "MP3 List:",
     "Click here to use only MP3 files in your web page. NOTE: You can use pictures to represent you sound "
     "files."},
    {mkAvi, "AVIButton", "AVIButtonClick", "*.avi;*.AVI", "AVI Movie List:",
     "Click here to use only AVI files in your web page. NOTE: You must create a thumbnail image from the "
     "movie first, using Grabber."},
    {mkMpg, "MPGButton", "MPGButtonClick", "*.mpg;*.MPG", "MPG Movie List:",
     "Click here to use only MPG files in your web page. NOTE: You must create a thumbnail image from the "
     "movie first."},
};

} // namespace

namespace MediaKinds {

const MediaKindInfo *info(int code)
{
    if (code < 1 || code > 8)
        return nullptr;
    return &kKinds[code - 1];
}

QStringList splitMasks(const QString &maskString)
{
    return maskString.split(QLatin1Char(';'), Qt::SkipEmptyParts);
}

bool matchesMasks(const QString &name, const QString &maskString)
{
    return MaskMatcher(maskString).matches(name);
}

MaskMatcher::MaskMatcher(const QString &maskString)
{
    const QStringList masks = splitMasks(maskString);
    m_matchAll = masks.isEmpty();
    for (const QString &mask : masks) {
        const QString rest = mask.mid(1);
        if (mask.startsWith(QLatin1Char('*')) && !rest.contains(QLatin1Char('*')) &&
            !rest.contains(QLatin1Char('?')) && !rest.contains(QLatin1Char('[')))
            m_suffixes.append(rest);
        else
            m_patterns.append(QRegularExpression(QRegularExpression::wildcardToRegularExpression(mask),
                                                 QRegularExpression::CaseInsensitiveOption));
    }
}

bool MaskMatcher::matches(const QString &name) const
{
    if (m_matchAll)
        return true;
    for (const QString &suffix : m_suffixes) {
        if (name.endsWith(suffix, Qt::CaseInsensitive))
            return true;
    }
    for (const QRegularExpression &re : m_patterns) {
        if (re.match(name).hasMatch())
            return true;
    }
    return false;
}

} // namespace MediaKinds

QString JoinFolderFile(const QString &folder, const QString &name)
{
    if (folder.isEmpty())
        return name;
    // A root ("/" here, "C:\" on a drive-letter system) already ends with its separator.
    if (folder.endsWith(QLatin1Char('/')))
        return folder + name;
    return folder + QLatin1Char('/') + name;
}

QString CountCaption(const QString &labelText, qsizetype count)
{
    const qsizetype colon = labelText.indexOf(QLatin1Char(':'));
    const QString head = colon < 0 ? QString() : labelText.left(colon);
    return head + QStringLiteral(": ") + QString::number(count);
}
