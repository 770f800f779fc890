#include "app/PageMakerArgs.h"

#include "core/PageOptions.h"

#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>

namespace {

using Edit = std::function<void(PageOptions &)>;

bool readWhole(const QString &text, int *value)
{
    static const QRegularExpression whole(QStringLiteral("^[+-]?[0-9]{1,9}$"));
    if (!whole.match(text).hasMatch())
        return false;
    *value = text.toInt();
    return true;
}

// RRGGBB (or #RRGGBB) as the colour value a chooser yields: 0x00BBGGRR.
bool readColour(const QString &text, quint32 *colorRef)
{
    static const QRegularExpression hex(QStringLiteral("^#?([0-9A-Fa-f]{6})$"));
    const QRegularExpressionMatch m = hex.match(text);
    if (!m.hasMatch())
        return false;
    const quint32 rgb = m.captured(1).toUInt(nullptr, 16);
    *colorRef = ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16);
    return true;
}

bool readSwitch(const QString &text, bool *on)
{
    static const QHash<QString, bool> words{{"on", true},  {"yes", true}, {"1", true},
                                            {"off", false}, {"no", false}, {"0", false}};
    if (!words.contains(text))
        return false;
    *on = words.value(text);
    return true;
}

// 0 to 4 name the entry; 50, 33, 25, 20 and 10 name it by its percentage.
int readPercentEntry(const QString &text)
{
    static const QHash<QString, int> entries{{"0", 0},  {"1", 1},  {"2", 2},  {"3", 3},  {"4", 4},
                                             {"50", 0}, {"33", 1}, {"25", 2}, {"20", 3}, {"10", 4}};
    return entries.value(text.endsWith(QLatin1Char('%')) ? text.chopped(1) : text, -1);
}

using IntSetter = void (PageOptions::*)(int);
using ColourSetter = void (PageOptions::*)(quint32);

struct Parser {
    PageMakerArgs args;
    QStringList positional;

    void fail(const QString &why)
    {
        if (args.error.isEmpty())
            args.error = why;
    }

    void number(const QString &flag, const QString &value, IntSetter setter)
    {
        int n = 0;
        if (!readWhole(value, &n))
            return fail(QStringLiteral("%1 needs a whole number, not \"%2\"").arg(flag, value));
        args.edits << [setter, n](PageOptions &o) { (o.*setter)(n); };
    }

    void colour(const QString &flag, const QString &value, ColourSetter setter, bool choosesBackground = false)
    {
        quint32 ref = 0;
        if (!readColour(value, &ref))
            return fail(QStringLiteral("%1 needs a colour as RRGGBB, not \"%2\"").arg(flag, value));
        args.edits << [setter, ref, choosesBackground](PageOptions &o) {
            (o.*setter)(ref);
            if (choosesBackground)
                o.setBackgroundChoice(PageOptions::UseBackgroundColor, true);
        };
    }

    void option(const QString &flag, const QString &value)
    {
        if (flag == QLatin1String("--kind")) {
            args.kind = parseMediaKind(value);
            if (args.kind == mkNone)
                fail(QStringLiteral("unknown media kind \"%1\"").arg(value));
        } else if (flag == QLatin1String("--posters")) {
            if (value == QLatin1String("missing"))
                args.missingPosters = true;
            else if (value != QLatin1String("none"))
                fail(QStringLiteral("--posters takes missing or none, not \"%1\"").arg(value));
        } else if (flag == QLatin1String("--name")) {
            args.edits << [value](PageOptions &o) { o.setWebNameEdit(value); };
        } else if (flag == QLatin1String("--title")) {
            args.edits << [value](PageOptions &o) { o.setTitleEdit(value); };
        } else if (flag == QLatin1String("--counter")) {
            args.edits << [value](PageOptions &o) { o.setNameIncrement(value); };
        } else if (flag == QLatin1String("--background-color")) {
            colour(flag, value, &PageOptions::setBackGroundColorValue, true);
        } else if (flag == QLatin1String("--text-color")) {
            colour(flag, value, &PageOptions::setTextColorValue);
        } else if (flag == QLatin1String("--link-color")) {
            colour(flag, value, &PageOptions::setLinkColorValue);
        } else if (flag == QLatin1String("--visited-color")) {
            colour(flag, value, &PageOptions::setVisitedColorValue);
        } else if (flag == QLatin1String("--background-picture")) {
            const QString path = chooserPath(value);
            args.edits << [path](PageOptions &o) {
                o.setBackgroundfile(path);
                o.setBackgroundChoice(PageOptions::UseBackgroundPicture, true);
            };
        } else if (flag == QLatin1String("--sound-picture")) {
            const QString path = chooserPath(value);
            args.edits << [path](PageOptions &o) { o.setSoundPick(path); };
        } else if (flag == QLatin1String("--sounds")) {
            static const QHash<QString, PageOptions::SoundChoice> choices{
                {"picture", PageOptions::UsePicture},
                {"text", PageOptions::UseText},
                {"underline", PageOptions::UseUnderlineText}};
            if (!choices.contains(value))
                return fail(QStringLiteral("--sounds takes picture, text or underline, not \"%1\"").arg(value));
            const PageOptions::SoundChoice choice = choices.value(value);
            args.edits << [choice](PageOptions &o) { o.setSoundChoice(choice, true); };
        } else if (flag == QLatin1String("--labels")) {
            labels(value);
        } else if (flag == QLatin1String("--thumbnails")) {
            bool on = false;
            if (!readSwitch(value, &on))
                return fail(QStringLiteral("--thumbnails takes on or off, not \"%1\"").arg(value));
            args.edits << [on](PageOptions &o) { o.setThumbnailer(on); };
        } else if (flag == QLatin1String("--percent")) {
            const int entry = readPercentEntry(value);
            if (entry < 0)
                return fail(QStringLiteral("--percent takes 50, 33, 25, 20, 10 or an entry 0 to 4, not \"%1\"")
                                .arg(value));
            args.edits << [entry](PageOptions &o) { o.choosePercent(entry); };
        } else if (flag == QLatin1String("--height")) {
            number(flag, value, &PageOptions::setHeightEdit);
        } else if (flag == QLatin1String("--width")) {
            number(flag, value, &PageOptions::setWidthEdit);
        } else if (flag == QLatin1String("--picture-border")) {
            number(flag, value, &PageOptions::setPictureBorderEdit);
        } else if (flag == QLatin1String("--table-border")) {
            number(flag, value, &PageOptions::setTableBorderEdit);
        } else if (flag == QLatin1String("--columns")) {
            number(flag, value, &PageOptions::setColumnEdit);
        } else {
            fail(QStringLiteral("unknown option %1").arg(flag));
        }
    }

    void labels(const QString &value)
    {
        bool name = false, size = false;
        if (value != QLatin1String("none")) {
            for (const QString &part : value.split(QLatin1Char(','))) {
                if (part == QLatin1String("name"))
                    name = true;
                else if (part == QLatin1String("size"))
                    size = true;
                else
                    return fail(QStringLiteral("--labels takes name, size, name,size or none, not \"%1\"").arg(value));
            }
        }
        args.edits << [name, size](PageOptions &o) {
            o.setPLabelStatus(name);
            o.setPLabelSize(size);
        };
    }

    void parse(const QStringList &arguments)
    {
        bool onlyPositional = false;
        for (qsizetype i = 0; i < arguments.size(); ++i) {
            const QString arg = arguments.at(i);
            if (onlyPositional || !arg.startsWith(QLatin1Char('-')) || arg == QLatin1String("-")) {
                positional << arg;
            } else if (arg == QLatin1String("--")) {
                onlyPositional = true;
            } else if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
                args.help = true;
            } else if (arg == QLatin1String("--version") || arg == QLatin1String("-V")) {
                args.version = true;
            } else if (arg == QLatin1String("--overwrite")) {
                args.overwrite = true;
            } else {
                const qsizetype eq = arg.indexOf(QLatin1Char('='));
                const QString flag = eq < 0 ? arg : arg.left(eq);
                if (eq >= 0) {
                    option(flag, arg.mid(eq + 1));
                } else if (i + 1 < arguments.size()) {
                    option(flag, arguments.at(++i));
                } else {
                    fail(QStringLiteral("%1 needs a value").arg(flag));
                }
            }
        }
        if (args.help || args.version)
            return;
        if (positional.isEmpty())
            return fail(QStringLiteral("no folder given"));
        args.folder = positional.takeFirst();
        if (!positional.isEmpty()) {
            const QString text = positional.takeFirst();
            const MediaKind kind = parseMediaKind(text);
            if (kind == mkNone)
                return fail(QStringLiteral("unknown media kind \"%1\"").arg(text));
            args.kind = kind;
        }
        if (!positional.isEmpty())
            return fail(QStringLiteral("unexpected argument \"%1\"").arg(positional.first()));
        if (args.kind == mkNone)
            fail(QStringLiteral("no media kind given"));
    }
};

} // namespace

MediaKind parseMediaKind(const QString &text)
{
    static const QHash<QString, MediaKind> names{
        {"gifjpg", mkGifJpg}, {"gif+jpg", mkGifJpg}, {"gif/jpg", mkGifJpg}, {"gif", mkGif}, {"jpg", mkJpg},
        {"wav", mkWav},       {"mid", mkMid},        {"mp3", mkMp3},        {"avi", mkAvi}, {"mpg", mkMpg}};
    bool isNumber = false;
    const int code = text.toInt(&isNumber);
    if (isNumber)
        return code >= mkGifJpg && code <= mkMpg ? MediaKind(code) : mkNone;
    return names.value(text.toLower(), mkNone);
}

QString chooserPath(const QString &path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    return absolute.contains(QLatin1Char(' ')) ? QLatin1Char('"') + absolute + QLatin1Char('"') : absolute;
}

PageMakerArgs parsePageMakerArgs(const QStringList &arguments)
{
    Parser parser;
    parser.parse(arguments);
    return parser.args;
}

QString pageMakerHelp()
{
    return QStringLiteral(R"(Usage: tessaloom-page [options] FOLDER KIND

Writes a media page (an HTML file) into FOLDER from the files of one media kind, as the Create
button of Tessaloom does. KIND is 1 to 8 or a name:
  1 gifjpg   2 gif   3 jpg   4 wav   5 mid   6 mp3   7 avi   8 mpg

Page options are applied in the order given, each as if set in the Options window, so the rules
between options hold (for example --percent turns thumbnails on and clears --height/--width,
and --height clears the percentage).

  --kind KIND                  the media kind (instead of the second argument)
  --name FILE                  page file name (default MediaPage.htm)
  --title TEXT                 page title (default MediaPage)
  --counter DIGITS             counter put into the page file name; 0: none (default 0)
  --background-color RRGGBB    background colour, and use the colour as the background
  --background-picture PATH    background picture, and use it as the background; once the
                               page is written it is copied into FOLDER, taking the place of
                               an older picture of that name there
  --text-color RRGGBB          colour of the page text and the labels (default FFFFFF)
  --link-color RRGGBB          colour of links (default FF0000)
  --visited-color RRGGBB       colour of visited links (default 0000FF)
  --sounds picture|text|underline
                               how sounds are shown (default text)
  --sound-picture PATH         the picture that stands for every sound (with --sounds picture);
                               it is copied into FOLDER (an existing file there is kept)
  --labels name,size|name|size|none
                               what is written under each cell (default none)
  --thumbnails on|off          show thumbnails (sm_ pictures) for JPG pictures (default on)
  --percent 50|33|25|20|10     show pictures at this percentage of their size; also 0 to 4
                               for the entries in that order (default 50)
  --height N, --width N        explicit picture height/width, 0 to 500 (default 0: none)
  --picture-border N           picture border, 0 to 20 (default 0)
  --table-border N             table border, 0 to 20 (default 0)
  --columns N                  cells in each row, 1 to 20 (default 1)
  --posters missing|none       with avi or mpg: before the page is built, make the picture the
                               page shows for each movie that has none (Clip.avi gives Clip.jpg),
                               from the frame at one tenth of the movie; an existing picture is
                               never replaced (default none)
  --overwrite                  replace an existing page file of the same name
  -h, --help                   show this text and exit
  -V, --version                show the version and exit

Options also take the form --option=VALUE. An existing page is replaced only with --overwrite.
As Create does, the run deletes the folder's earlier thumbnails (sm_ files that are JPEG
pictures) when thumbnails are on, and makes them anew after the page is written.
Messages go to standard output; every error to standard error, one per line.
Exit status: 0 the page and all its thumbnails were created, 1 the run failed, 2 the command line is
wrong, 3 the page was created but some thumbnails were not, 4 another run holds the folder.
)");
}
