// SPDX-License-Identifier: GPL-2.0-or-later
#include "app/PageMakerArgs.h"
#include "app/PageMakerRun.h"
#include "app/ProgramArgs.h"
#include "platform/LibraryLog.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char *argv[])
{
    // Every line of the error stream is one of ours, the movie libraries' reports included.
    routeLibraryLog(QString::fromLatin1(kPageMakerName), stderr);
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tessaloom-page"));
    QTextStream out(stdout);
    QTextStream err(stderr);

    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    const PageMakerArgs args = parsePageMakerArgs(arguments);
    if (args.help) {
        out << pageMakerHelp();
        return PageCreated;
    }
    if (args.version) {
        out << programVersion(QStringLiteral("tessaloom-page"));
        return PageCreated;
    }
    if (!args.error.isEmpty()) {
        err << kPageMakerName << ": " << args.error << Qt::endl << "Try tessaloom-page --help." << Qt::endl;
        return UsageError;
    }
    for (const QString &note : args.notes)
        err << kPageMakerName << ": " << note << Qt::endl;
    return runPageMaker(args, out, err);
}
