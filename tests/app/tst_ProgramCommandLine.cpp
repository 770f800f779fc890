// SPDX-License-Identifier: GPL-2.0-or-later
// Both programs' command lines, run as real processes: --version and --help answer without a
// display, wrong arguments are refused with status 2, and the window program starts in the
// folder it is given (what a desktop entry's %f passes).
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>

namespace
{

QString binaryDir()
{
    return qEnvironmentVariable("TESSALOOM_BINARY_DIR");
}

QString programPath(const QString &program)
{
    return binaryDir() + QStringLiteral("/app/") + program;
}

// The version the build was configured with, as CMake records it.
QString projectVersion()
{
    QFile cache(binaryDir() + QStringLiteral("/CMakeCache.txt"));
    if (!cache.open(QIODevice::ReadOnly))
        return {};
    static const QRegularExpression line(QStringLiteral("^CMAKE_PROJECT_VERSION:STATIC=(.+)$"),
                                         QRegularExpression::MultilineOption);
    return line.match(QString::fromUtf8(cache.readAll())).captured(1).trimmed();
}

struct Run {
    int exitCode = -1;
    QString out, err;
};

Run run(const QString &program, const QStringList &arguments, const QProcessEnvironment &env,
        const QString &workingFolder = {})
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(workingFolder);
    process.start(programPath(program), arguments);
    Run result;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = QString::fromLocal8Bit(process.readAllStandardOutput());
    result.err = QString::fromLocal8Bit(process.readAllStandardError());
    return result;
}

// No display at all: only answers that need none can succeed.
QProcessEnvironment withoutDisplay()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("DISPLAY");
    env.remove("WAYLAND_DISPLAY");
    env.insert("QT_QPA_PLATFORM", "xcb");
    return env;
}

} // namespace

class TestProgramCommandLine : public QObject
{
    Q_OBJECT

    QTemporaryDir m_home;

    // A start that shows the main window and quits by itself, with its own home and settings.
    QProcessEnvironment startOnce() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("HOME", m_home.path());
        env.insert("XDG_CONFIG_HOME", m_home.filePath(".config"));
        env.insert("XDG_RUNTIME_DIR", m_home.filePath("runtime"));
        env.insert("TESSALOOM_INSTANCE_KEY", QUuid::createUuid().toString(QUuid::Id128));
        env.insert("TESSALOOM_QUIT_AFTER_START", "1");
        env.insert("TESSALOOM_REPORT_ACTIVATION", "1");
        return env;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        QVERIFY(QDir(m_home.path()).mkdir("runtime"));
        QVERIFY(QFile::setPermissions(m_home.filePath("runtime"),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        for (const char *program : {"tessaloom", "tessaloom-page"})
            QVERIFY2(QFileInfo(programPath(program)).isExecutable(), program);
        QVERIFY(!projectVersion().isEmpty());
    }

    void answersWithoutDisplay_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("expected"); // the whole output, or its first line for help
        const QString version = projectVersion();
        QTest::newRow("tessaloom --version")
            << "tessaloom" << QStringList{"--version"} << "tessaloom " + version;
        QTest::newRow("tessaloom -V") << "tessaloom" << QStringList{"-V"} << "tessaloom " + version;
        QTest::newRow("page --version")
            << "tessaloom-page" << QStringList{"--version"} << "tessaloom-page " + version;
        QTest::newRow("page -V among options")
            << "tessaloom-page" << QStringList{"/tmp", "jpg", "-V"} << "tessaloom-page " + version;
        QTest::newRow("tessaloom --help")
            << "tessaloom" << QStringList{"--help"} << "Usage: tessaloom [OPTION]... [FOLDER]";
        QTest::newRow("tessaloom -h with a folder")
            << "tessaloom" << QStringList{"/tmp", "-h"} << "Usage: tessaloom [OPTION]... [FOLDER]";
        QTest::newRow("page --help") << "tessaloom-page" << QStringList{"--help"}
                                     << "Usage: tessaloom-page [options] FOLDER KIND";
    }
    void answersWithoutDisplay()
    {
        QFETCH(QString, program);
        QFETCH(QStringList, arguments);
        QFETCH(QString, expected);
        const Run r = run(program, arguments, withoutDisplay());
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.err, QString());
        if (expected.startsWith("Usage:")) {
            QCOMPARE(r.out.section('\n', 0, 0), expected);
            QVERIFY(r.out.contains("--version") && r.out.contains("--help"));
        } else {
            QCOMPARE(r.out, expected + '\n');
        }
    }

    void refusesWrongArguments_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown option") << QStringList{"--frobnicate"} << "unknown option --frobnicate";
        QTest::newRow("unknown short option") << QStringList{"-x", "/tmp"} << "unknown option -x";
        QTest::newRow("two folders") << QStringList{"/tmp", "/usr"} << "unexpected argument \"/usr\"";
    }
    void refusesWrongArguments()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        const Run r = run("tessaloom", arguments, startOnce());
        QCOMPARE(r.exitCode, 2);
        QVERIFY2(r.err.split('\n').contains("tessaloom: " + message), qPrintable(r.err));
        QVERIFY2(r.err.contains("tessaloom --help"), qPrintable(r.err));
        QVERIFY(!r.out.contains("ready")); // refused before anything started
    }

    void startsInTheFolderGiven_data()
    {
        QTest::addColumn<QString>("folderName");   // made inside a temporary folder; empty: none given
        QTest::addColumn<bool>("afterDoubleDash"); // and given relative to the working folder
        QTest::addColumn<bool>("startsThere");     // else in the home folder, with a warning
        QTest::newRow("a folder") << "Holiday 2001" << false << true;
        QTest::newRow("a folder named like an option, relative") << "-x" << true << true;
        QTest::newRow("no folder") << "" << false << false;
        QTest::newRow("a file, not a folder") << "notes.txt" << false << false;
    }
    void startsInTheFolderGiven()
    {
        QFETCH(QString, folderName);
        QFETCH(bool, afterDoubleDash);
        QFETCH(bool, startsThere);
        QTemporaryDir dir;
        QStringList arguments{"-platform", "offscreen"}; // Qt's own options pass through
        QString path;
        if (!folderName.isEmpty()) {
            path = dir.filePath(folderName);
            if (startsThere)
                QVERIFY(QDir().mkpath(path));
            else
                QVERIFY(QFile(path).open(QIODevice::WriteOnly));
            if (afterDoubleDash)
                arguments << "--" << folderName;
            else
                arguments << path;
        }
        const Run r = run("tessaloom", arguments, startOnce(), dir.path());
        QCOMPARE(r.exitCode, 0);
        const QString expected = startsThere ? path : QDir(m_home.path()).canonicalPath();
        QVERIFY2(r.out.split('\n').contains("folder " + expected), qPrintable(r.out));
        if (!folderName.isEmpty() && !startsThere)
            QVERIFY2(r.err.contains("tessaloom: " + path + " is not a folder"), qPrintable(r.err));
    }
};

QTEST_GUILESS_MAIN(TestProgramCommandLine)
#include "tst_ProgramCommandLine.moc"
