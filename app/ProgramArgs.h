// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// The command line of the windowed program: an optional FOLDER to start in (what a desktop entry's
// %f passes), --help and --version. Qt's own options (-platform, -style, ...) are taken out by
// QApplication before this sees them.
struct ProgramArgs {
    QString folder;
    bool help = false;
    bool version = false;
    QString error; // a usage error; the rest is then incomplete
};

ProgramArgs parseProgramArgs(const QStringList &arguments); // without the program name
QString programHelp();
QString programVersion(const QString &programName); // "tessaloom 1.0"
