// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/PageMakerArgs.h"

#include "core/PageOptions.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>

namespace
{

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
    static const QHash<QString, bool> words{{"on", true},   {"yes", true}, {"1", true},
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
using IntGetter = int (PageOptions::*)() const;
using ColourSetter = void (PageOptions::*)(quint32);

const QStringList kValueOptions{
    "kind",       "name",       "title",         "counter", "background-color", "background-picture",
    "text-color", "link-color", "visited-color", "sounds",  "sound-picture",    "labels",
    "thumbnails", "percent",    "height",        "width",   "picture-border",   "table-border",
    "columns",    "posters"};
const QStringList kFlagOptions{"overwrite", "keep-thumbnails", "quiet", "help", "h", "version", "V"};

struct Parser {
    PageMakerArgs args;
    QStringList kinds; // as given, the positional one included

    void fail(const QString &why)
    {
        if (args.error.isEmpty())
            args.error = why;
    }

    void edit(const QString &flag, const QString &value, std::function<void(PageOptions &)> apply)
    {
        args.edits << PageEdit{flag, value, std::move(apply)};
    }

    void number(const QString &flag, const QString &value, IntSetter setter, IntGetter getter,
                bool sizeField = false)
    {
        int n = 0;
        if (!readWhole(value, &n))
            return fail(QStringLiteral("%1 needs a whole number, not \"%2\"").arg(flag, value));
        args.edits << PageEdit{flag,   value, [setter, n](PageOptions &o) { (o.*setter)(n); },
                               getter, n,     sizeField};
    }

    void colour(const QString &flag, const QString &value, ColourSetter setter,
                bool choosesBackground = false)
    {
        quint32 ref = 0;
        if (!readColour(value, &ref))
            return fail(QStringLiteral("%1 needs a colour as RRGGBB, not \"%2\"").arg(flag, value));
        edit(flag, value, [setter, ref, choosesBackground](PageOptions &o) {
            (o.*setter)(ref);
            if (choosesBackground)
                o.setBackgroundChoice(PageOptions::UseBackgroundColor, true);
        });
    }

    // A picture the run will copy: refused now when it is not there, before anything is touched.
    bool pictureExists(const QString &flag, const QString &value)
    {
        if (QFileInfo(value).isFile())
            return true;
        fail(QStringLiteral("%1: there is no file \"%2\"").arg(flag, value));
        return false;
    }

    void option(const QString &name, const QString &value)
    {
        const QString flag = QStringLiteral("--") + name;
        if (name == QLatin1String("kind")) {
            kinds << value;
        } else if (name == QLatin1String("posters")) {
            if (value == QLatin1String("missing"))
                args.missingPosters = true;
            else if (value != QLatin1String("none"))
                fail(QStringLiteral("--posters takes missing or none, not \"%1\"").arg(value));
        } else if (name == QLatin1String("name")) {
            edit(flag, value, [value](PageOptions &o) { o.setWebNameEdit(value); });
        } else if (name == QLatin1String("title")) {
            edit(flag, value, [value](PageOptions &o) { o.setTitleEdit(value); });
        } else if (name == QLatin1String("counter")) {
            static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
            if (digits.match(value).hasMatch())
                edit(flag, value, [value](PageOptions &o) { o.setNameIncrement(value); });
            else // as the help says: a sign or anything else would make names the counter cannot step
                fail(QStringLiteral("--counter takes digits, not \"%1\"").arg(value));
        } else if (name == QLatin1String("background-color")) {
            colour(flag, value, &PageOptions::setBackGroundColorValue, true);
        } else if (name == QLatin1String("text-color")) {
            colour(flag, value, &PageOptions::setTextColorValue);
        } else if (name == QLatin1String("link-color")) {
            colour(flag, value, &PageOptions::setLinkColorValue);
        } else if (name == QLatin1String("visited-color")) {
            colour(flag, value, &PageOptions::setVisitedColorValue);
        } else if (name == QLatin1String("background-picture")) {
            if (!pictureExists(flag, value))
                return;
            const QString path = chooserPath(value);
            edit(flag, value, [path](PageOptions &o) {
                o.setBackgroundfile(path);
                o.setBackgroundChoice(PageOptions::UseBackgroundPicture, true);
            });
        } else if (name == QLatin1String("sound-picture")) {
            if (!pictureExists(flag, value))
                return;
            const QString path = chooserPath(value);
            edit(flag, value, [path](PageOptions &o) { o.setSoundPick(path); });
        } else if (name == QLatin1String("sounds")) {
            sounds(value);
        } else if (name == QLatin1String("labels")) {
            labels(value);
        } else if (name == QLatin1String("thumbnails")) {
            bool on = false;
            if (!readSwitch(value, &on))
                return fail(QStringLiteral("--thumbnails takes on or off, not \"%1\"").arg(value));
            edit(flag, value, [on](PageOptions &o) { o.setThumbnailer(on); });
        } else if (name == QLatin1String("percent")) {
            const int entry = readPercentEntry(value);
            if (entry < 0)
                return fail(
                    QStringLiteral("--percent takes 50, 33, 25, 20, 10 or an entry 0 to 4, not \"%1\"")
                        .arg(value));
            edit(flag, value, [entry](PageOptions &o) { o.choosePercent(entry); });
        } else if (name == QLatin1String("height")) {
            number(flag, value, &PageOptions::setHeightEdit, &PageOptions::HeightEdit, true);
        } else if (name == QLatin1String("width")) {
            number(flag, value, &PageOptions::setWidthEdit, &PageOptions::WidthEdit, true);
        } else if (name == QLatin1String("picture-border")) {
            number(flag, value, &PageOptions::setPictureBorderEdit, &PageOptions::PictureBorderEdit, true);
        } else if (name == QLatin1String("table-border")) {
            number(flag, value, &PageOptions::setTableBorderEdit, &PageOptions::TableBorderEdit);
        } else if (name == QLatin1String("columns")) {
            number(flag, value, &PageOptions::setColumnEdit, &PageOptions::ColumnEdit);
        }
    }

    void sounds(const QString &value)
    {
        static const QHash<QString, PageOptions::SoundChoice> choices{
            {"picture", PageOptions::UsePicture},
            {"text", PageOptions::UseText},
            {"underline", PageOptions::UseUnderlineText}};
        if (!choices.contains(value))
            return fail(QStringLiteral("--sounds takes picture, text or underline, not \"%1\"").arg(value));
        const PageOptions::SoundChoice choice = choices.value(value);
        edit(QStringLiteral("--sounds"), value, [choice](PageOptions &o) { o.setSoundChoice(choice, true); });
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
                    return fail(QStringLiteral("--labels takes name, size, name,size or none, not \"%1\"")
                                    .arg(value));
            }
        }
        edit(QStringLiteral("--labels"), value, [name, size](PageOptions &o) {
            o.setPLabelStatus(name);
            o.setPLabelSize(size);
        });
    }

    void flag(const QString &name)
    {
        if (name == QLatin1String("help") || name == QLatin1String("h"))
            args.help = true;
        else if (name == QLatin1String("version") || name == QLatin1String("V"))
            args.version = true;
        else if (name == QLatin1String("overwrite"))
            args.overwrite = true;
        else if (name == QLatin1String("quiet"))
            args.quiet = true;
        else if (name == QLatin1String("keep-thumbnails")) // the name dialog's "delete old thumbnails" off
            edit(QStringLiteral("--keep-thumbnails"), {},
                 [](PageOptions &o) { o.setDeleteThumbnail(false); });
    }

    // The argument that carried an option of this name, as typed up to any "=".
    static QString spelled(const QStringList &arguments, const QString &name)
    {
        for (const QString &arg : arguments) {
            const QString flag = arg.section(QLatin1Char('='), 0, 0);
            if (flag == QLatin1Char('-') + name || flag == QStringLiteral("--") + name)
                return flag;
        }
        return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
    }

    // QCommandLineParser's own texts are not ours: the fault is named here.
    void parseFailed(const QCommandLineParser &parser, const QStringList &arguments)
    {
        if (!parser.unknownOptionNames().isEmpty())
            return fail(QStringLiteral("unknown option %1")
                            .arg(spelled(arguments, parser.unknownOptionNames().first())));
        // A value is missing only after the last argument; a switch given a value says so with "=".
        const QString last = arguments.isEmpty() ? QString() : arguments.last();
        if (last.startsWith(QLatin1Char('-')) &&
            kValueOptions.contains(last.mid(last.startsWith("--") ? 2 : 1)))
            return fail(QStringLiteral("%1 needs a value").arg(last));
        for (const QString &arg : arguments) {
            const QString flag = arg.section(QLatin1Char('='), 0, 0);
            if (arg.contains(QLatin1Char('=')) &&
                kFlagOptions.contains(flag.mid(flag.startsWith("--") ? 2 : 1)))
                return fail(QStringLiteral("%1 takes no value").arg(flag));
        }
        fail(parser.errorText());
    }

    void parse(const QStringList &arguments)
    {
        QCommandLineParser parser;
        parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
        for (const QString &name : kValueOptions)
            parser.addOption(QCommandLineOption(name, QString(), QStringLiteral("value")));
        parser.addOption(QCommandLineOption(QStringList{"h", "help"}));
        parser.addOption(QCommandLineOption(QStringList{"V", "version"}));
        for (const char *name : {"overwrite", "keep-thumbnails", "quiet"})
            parser.addOption(QCommandLineOption(QString::fromLatin1(name)));
        if (!parser.parse(QStringList{QStringLiteral("tessaloom-page")} + arguments))
            return parseFailed(parser, arguments);

        // In the order given: a later option overrides an earlier one as in the Options window.
        QHash<QString, int> used;
        for (const QString &name : parser.optionNames()) {
            if (kValueOptions.contains(name))
                option(name, parser.values(name).at(used[name]++));
            else
                flag(name);
        }
        if (args.help || args.version)
            return;
        QStringList positional = parser.positionalArguments();
        if (positional.isEmpty())
            return fail(QStringLiteral("no folder given"));
        args.folder = positional.takeFirst();
        if (!positional.isEmpty())
            kinds.prepend(positional.takeFirst());
        if (!positional.isEmpty())
            return fail(QStringLiteral("unexpected argument \"%1\"").arg(positional.first()));
        chooseKind();
    }

    void chooseKind()
    {
        for (const QString &text : std::as_const(kinds)) {
            const MediaKind kind = parseMediaKind(text);
            if (kind == mkNone)
                return fail(QStringLiteral("unknown media kind \"%1\"").arg(text));
            if (args.kind != mkNone && kind != args.kind)
                return fail(
                    QStringLiteral("two media kinds given, \"%1\" and \"%2\"").arg(kinds.first(), text));
            args.kind = kind;
        }
        if (args.kind == mkNone)
            fail(QStringLiteral("no media kind given"));
    }

    // The options as a run will see them, tried now: a refusal is a usage error before anything is touched.
    void tryEdits()
    {
        if (!args.error.isEmpty())
            return;
        PageOptions options;
        options.mediaKindChanged(mkGifJpg); // as at start-up, then the kind asked for
        options.mediaKindChanged(args.kind);
        fail(applyPageEdits(args.edits, options, &args.notes));
    }
};

} // namespace

QString applyPageEdits(const QList<PageEdit> &edits, PageOptions &options, QStringList *notes)
{
    for (const PageEdit &edit : edits) {
        if (edit.sizeField && !options.sizeEditorsEnabled())
            return QStringLiteral("%1 can not be set while sounds are shown as text: give --sounds picture "
                                  "before it")
                .arg(edit.flag);
        edit.apply(options);
        if (notes && edit.stored && (options.*edit.stored)() != edit.wanted)
            *notes << QStringLiteral("%1 %2 is out of range: %3 is used")
                          .arg(edit.flag, edit.value)
                          .arg((options.*edit.stored)());
    }
    return QString();
}

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
    if (!parser.args.help && !parser.args.version)
        parser.tryEdits();
    return parser.args;
}
