// SPDX-License-Identifier: GPL-2.0-or-later
#include "generator/PageBuilder.h"

#include "core/PageOptions.h"
#include "generator/HtmlEscape.h"
#include "media/PictureMeasure.h"
#include "generator/RunFeedback.h"

#include <QFileInfo>

namespace {

enum SizeMode { szBoth, szWidthOnly, szHeightOnly, szNone, szPercent };
enum CellForm { PictureCell, MovieCell, SoundPictureCell, SoundTextCell };
enum class Measure { None, Jpeg, Gif };

const QString kNoSoundPicture = QStringLiteral("None");

QString upperExtension(const QString &name)
{
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot).toUpper();
}

Measure measureByExtension(const QString &name)
{
    return upperExtension(name) == QLatin1String(".GIF") ? Measure::Gif : Measure::Jpeg;
}

// The options one cell is written with, read when the cell starts: a change the user makes while the
// cell's picture is measured takes effect from the next cell on.
struct CellOptions {
    bool thumbnails;
    bool labelName;
    bool labelSize;
    int border;
    double divisor;
};

// A cell's form and the picture to measure for it in the percentage mode.
struct Cell {
    CellForm form = PictureCell;
    bool sized = true;       // false: written without size attributes
    QString measuredName;    // the picture that gives the natural size; empty: nothing to measure
    Measure measure = Measure::None;
};

class PageWriter
{
public:
    PageWriter(const PageBuildInput &input, PageOptions &options, QStringList &memo, RunFeedback &feedback)
        : m_input(input), m_options(options), m_memo(memo), m_feedback(feedback),
          m_height(options.HeightEdit()), m_width(options.WidthEdit()), m_columns(options.ColumnEdit()),
          m_text(options.TextColor()), m_background(options.BackGroundColor())
    {
    }

    PageBuildResult build()
    {
        m_memo.clear();
        writeHead();
        writeBody();
        m_memo << QStringLiteral("<CENTER>")
               << QStringLiteral("<TABLE BORDER=%1 WIDTH=\"100%\" >").arg(m_options.TableBorderEdit());
        const int n = int(m_input.names.size());
        if (n > 0 && n < m_columns) {
            m_columns = n;
            m_options.lowerColumnEdit(n);
        }
        if (n > 0 && !writeRows(n))
            return m_result;
        m_memo << QStringLiteral("</TABLE>") << QStringLiteral("</CENTER>") << QStringLiteral("</BODY>")
               << QStringLiteral("</HTML>");
        return m_result;
    }

private:
    void writeHead()
    {
        m_memo << QStringLiteral("<HTML>") << QStringLiteral("<HEAD>")
               << QStringLiteral("<TITLE>%1</TITLE>").arg(HtmlEscape::title(m_options.TitleEdit()))
               << QStringLiteral("<META NAME=\"Author\" CONTENT=\"Tessaloom 2001\">");
        if (m_options.isUseText())
            m_memo << QStringLiteral("<STYLE>") << QStringLiteral("    A{text-decoration:none}")
                   << QStringLiteral("</STYLE>");
        m_memo << QStringLiteral("</HEAD>");
    }

    void writeBody()
    {
        if (m_options.isUseBackgroundColor()) {
            const QString link = m_options.LinkColor();
            m_memo << QStringLiteral("<body text=\"#%1\" bgcolor=\"#%2\" link=\"#%3\" vlink=\"#%4\" alink=\"#%3\">")
                          .arg(m_text, m_background, link, m_options.VisitedColor());
        } else {
            m_memo << QStringLiteral("<BODY BACKGROUND=\"%1\">")
                          .arg(HtmlEscape::url(BackgroundName(m_options.Backgroundfile())));
        }
    }

    bool writeRows(int n)
    {
        const int fullRows = n / m_columns;
        const int rest = n % m_columns;
        int index = 0;
        for (int row = 0; row < fullRows; ++row) {
            m_memo << QStringLiteral("<TR ALIGN=CENTER VALIGN=BOTTOM>");
            for (int c = 0; c < m_columns; ++c)
                if (!writeCell(index++, n))
                    return false;
            m_memo << QStringLiteral("</TR>") << QStringLiteral(" ");
        }
        if (rest > 0) {
            m_memo << QStringLiteral("<TR ALIGN=CENTER>");
            for (int c = 0; c < rest; ++c)
                if (!writeCell(index++, n))
                    return false;
            m_memo << QStringLiteral("</TR>") << QStringLiteral(" ");
        }
        return true;
    }

    SizeMode sizeMode() const
    {
        if (m_height > 0 && m_width > 0)
            return szBoth;
        if (m_width > 0)
            return szWidthOnly;
        if (m_height > 0)
            return szHeightOnly;
        return m_options.anyPercentMarked() ? szPercent : szNone;
    }

    bool soundAsPicture() const { return m_input.soundPictureName != kNoSoundPicture; }

    Cell soundCell() const
    {
        if (!soundAsPicture())
            return {SoundTextCell, false, QString(), Measure::None};
        return {SoundPictureCell, true, m_input.soundPictureName, measureByExtension(m_input.soundPictureName)};
    }

    // The form the media kind gives, as in every mode without a percentage.
    Cell cellForKind(const QString &name) const
    {
        if (MediaKinds::isPictureKind(m_input.kind))
            return {PictureCell, true, name, measureByExtension(name)};
        if (MediaKinds::isMovieKind(m_input.kind))
            return {MovieCell, true, MoviePictureName(name), Measure::Jpeg};
        return soundCell();
    }

    // In the percentage mode the extension decides; a name of no known extension takes its kind's form
    // and goes without sizes, as nothing says which picture would give them.
    Cell cellForExtension(const QString &name) const
    {
        const QString ext = upperExtension(name);
        if (ext == QLatin1String(".JPG"))
            return {PictureCell, true, name, Measure::Jpeg};
        if (ext == QLatin1String(".GIF"))
            return {PictureCell, true, name, Measure::Gif};
        if (ext == QLatin1String(".AVI") || ext == QLatin1String(".MPG"))
            return {MovieCell, true, MoviePictureName(name), Measure::Jpeg};
        if (ext == QLatin1String(".MID") || ext == QLatin1String(".WAV") || ext == QLatin1String(".MP3"))
            return soundCell();
        Cell cell = cellForKind(name);
        cell.sized = false;
        return cell;
    }

    QString image(const Cell &cell, const QString &name, bool thumbnails) const
    {
        switch (cell.form) {
        case PictureCell:
            if (!thumbnails || upperExtension(name) == QLatin1String(".GIF"))
                return name;
            return QStringLiteral("sm_") + name;
        case MovieCell:
            return MoviePictureName(name);
        case SoundPictureCell:
            return m_input.soundPictureName;
        case SoundTextCell:
            break;
        }
        return QString();
    }

    // The size attributes of the percentage mode; false when the picture cannot be read.
    bool percentSizes(const Cell &cell, double divisor, int index, int n, QString &sizes)
    {
        m_feedback.progressSetMaximum(n);
        m_feedback.progressShow();
        if (!cell.sized || cell.form == SoundTextCell)
            return true;
        const QString path = JoinFolderFile(m_input.folder, cell.measuredName);
        const PictureSize natural = cell.measure == Measure::Gif ? measureGif(path) : measureJpeg(path);
        if (!natural.ok) {
            m_result.ok = false;
            m_result.failedIndex = index;
            m_result.failedName = m_input.names.at(index);
            m_result.error = natural.error;
            return false;
        }
        if (divisor > 0)
            sizes = QStringLiteral(" HEIGHT=%1 WIDTH=%2")
                        .arg(PercentSizeText(natural.height / divisor), PercentSizeText(natural.width / divisor));
        m_feedback.progressStep();
        m_feedback.letEventsRun();
        return true;
    }

    QString fixedSizes(SizeMode mode) const
    {
        switch (mode) {
        case szBoth:
            return QStringLiteral(" HEIGHT=%1 WIDTH=%2").arg(m_height).arg(m_width);
        case szWidthOnly:
            return QStringLiteral(" WIDTH=%1").arg(m_width);
        case szHeightOnly:
            return QStringLiteral(" HEIGHT=%1").arg(m_height);
        default:
            return QString();
        }
    }

    bool writeCell(int index, int n)
    {
        const QString name = m_input.names.at(index);
        const SizeMode mode = sizeMode();
        const CellOptions now{m_options.Thumbnailer(), m_options.PLabelStatus(), m_options.PLabelSize(),
                              m_options.PictureBorderEdit(), m_options.SizeDivisor()};
        const Cell cell = mode == szPercent ? cellForExtension(name) : cellForKind(name);
        QString sizes = fixedSizes(mode);
        if (mode == szPercent && !percentSizes(cell, now.divisor, index, n, sizes))
            return false;

        const bool labelName = now.labelName;
        const bool labelSize = now.labelSize;
        const QString href = HtmlEscape::url(name);
        const QString shown = HtmlEscape::text(name);
        if (cell.form == SoundTextCell) {
            const QString line = QStringLiteral("<TD><A HREF=\"%1\"> %2</A>").arg(href, shown);
            if (labelSize)
                m_memo << line << sizeLine(name);
            else
                m_memo << line + QStringLiteral("</TD>");
            return true;
        }
        // One arg() call only: a value holding "%3F" must not be taken for a placeholder.
        const QString line = QStringLiteral("<TD><A HREF=\"%1\"><IMG SRC=\"%2\" ALT=\"%3\"%4 BORDER=%5></A>")
                                 .arg(href, HtmlEscape::url(image(cell, name, now.thumbnails)), shown, sizes,
                                      QString::number(now.border));
        m_memo << (labelName || labelSize ? line : line + QStringLiteral("</TD>"));
        if (labelName) {
            const QString nameLine = QStringLiteral("<BR><B><FONT COLOR=\"#%1\">%2</FONT></B>").arg(m_text, shown);
            m_memo << (labelSize ? nameLine : nameLine + QStringLiteral("</TD>"));
        }
        if (labelSize)
            m_memo << sizeLine(name);
        return true;
    }

    QString sizeLine(const QString &name)
    {
        return QStringLiteral("<BR><B><FONT COLOR=\"#%1\">Size: %2</FONT></B></TD>").arg(m_text, sizeText(name));
    }

    // A size that cannot be read is reported, and the page says so instead of a figure.
    QString sizeText(const QString &name)
    {
        const QFileInfo info(JoinFolderFile(m_input.folder, name));
        if (info.isFile())
            return FileSizeText(info.size());
        m_feedback.playSound(QStringLiteral("error.wav"));
        m_feedback.showErrorBox(QStringLiteral("Error loading file (%1)").arg(name.toLower()));
        return QStringLiteral("unknown");
    }

    const PageBuildInput &m_input;
    PageOptions &m_options;
    QStringList &m_memo;
    RunFeedback &m_feedback;
    PageBuildResult m_result;
    // Taken once when the build starts; everything else is read when it is used.
    const int m_height;
    const int m_width;
    int m_columns;
    const QString m_text;
    const QString m_background;
};

} // namespace

PageBuildResult BuildWebSource(const PageBuildInput &input, PageOptions &options, QStringList &WebSourceMemo,
                               RunFeedback &feedback)
{
    return PageWriter(input, options, WebSourceMemo, feedback).build();
}
