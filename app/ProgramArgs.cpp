// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/ProgramArgs.h"

ProgramArgs parseProgramArgs(const QStringList &arguments)
{
    ProgramArgs args;
    QStringList positional;
    bool onlyPositional = false;
    for (const QString &arg : arguments) {
        if (onlyPositional || !arg.startsWith(QLatin1Char('-')) || arg == QLatin1String("-"))
            positional << arg;
        else if (arg == QLatin1String("--"))
            onlyPositional = true;
        else if (arg == QLatin1String("--help") || arg == QLatin1String("-h"))
            args.help = true;
        else if (arg == QLatin1String("--version") || arg == QLatin1String("-V"))
            args.version = true;
        else if (args.error.isEmpty())
            args.error = QStringLiteral("unknown option %1").arg(arg);
    }
    if (positional.size() > 1 && args.error.isEmpty())
        args.error = QStringLiteral("unexpected argument \"%1\"").arg(positional.at(1));
    if (!positional.isEmpty())
        args.folder = positional.first();
    return args;
}

QString programHelp()
{
    return QStringLiteral(R"(Usage: tessaloom [OPTION]... [FOLDER]

Makes a web page of the pictures, sounds or movies in a folder: pick the folder and the kind of
media, shape the page in the Options window and press Create. The program starts showing FOLDER,
or your home folder when none is given.

  -h, --help       show this text and exit
  -V, --version    show the version and exit

Qt's own options (for example -platform offscreen) are accepted as well.
tessaloom-page makes the same pages from the command line; see tessaloom-page --help.
)");
}

QString programVersion(const QString &programName)
{
    return programName + QLatin1Char(' ') + QStringLiteral(TESSALOOM_VERSION) + QLatin1Char('\n');
}
