// SPDX-License-Identifier: GPL-2.0-or-later
// The running program as a dock sees it on X11: every window it maps carries the WM_CLASS its
// desktop entry names in StartupWMClass, and the program's icon.
#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>

namespace
{

QString runTool(const QString &program, const QStringList &arguments)
{
    QProcess tool;
    tool.start(program, arguments);
    tool.waitForFinished(10000);
    return QString::fromLocal8Bit(tool.readAllStandardOutput());
}

// The top-level windows of the server that belong to the given process.
QStringList windowsOf(qint64 pid)
{
    QStringList ids;
    static const QRegularExpression child(QStringLiteral("^\\s+(0x[0-9a-f]+) "));
    const QStringList lines = runTool(QStringLiteral("xwininfo"), {"-root", "-children"}).split(u'\n');
    for (const QString &line : lines) {
        const QRegularExpressionMatch m = child.match(line);
        if (m.hasMatch() && runTool(QStringLiteral("xprop"), {"-id", m.captured(1), "_NET_WM_PID"})
                                .contains(QStringLiteral(" = %1").arg(pid)))
            ids << m.captured(1);
    }
    return ids;
}

} // namespace

class TestWindowIdentity : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void windowsCarryTheLaunchersClassAndIcon()
    {
        const QString binary = qEnvironmentVariable("TESSALOOM_BINARY_DIR");
        const QString entry = binary + "/dist/" TESSALOOM_APP_ID ".desktop";
        QSettings desktop(entry, QSettings::IniFormat);
        const QString wmClass = desktop.value("Desktop Entry/StartupWMClass").toString();
        QVERIFY2(!wmClass.isEmpty(), qPrintable(entry));

        QTemporaryDir config;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "xcb");
        env.insert("XDG_CONFIG_HOME", config.path());
        env.insert("TESSALOOM_INSTANCE_KEY", QUuid::createUuid().toString(QUuid::Id128));
        env.insert("TESSALOOM_EXIT_AFTER_MS", "30000");
        QProcess program;
        program.setProcessEnvironment(env);
        program.start(binary + "/app/tessaloom", {QDir::tempPath()});
        QVERIFY(program.waitForStarted());

        // The splash first, then the main window: wait until the main window is among them.
        QStringList windows;
        QTRY_VERIFY_WITH_TIMEOUT(
            [&] {
                windows = windowsOf(program.processId());
                for (const QString &id : std::as_const(windows))
                    if (runTool("xprop", {"-id", id, "WM_NAME"}).contains("Tessaloom"))
                        return true;
                return false;
            }(),
            25000);
        for (const QString &id : std::as_const(windows)) {
            const QString classes = runTool("xprop", {"-id", id, "WM_CLASS"});
            QVERIFY2(classes.contains(QStringLiteral(", \"%1\"").arg(wmClass)), qPrintable(classes));
            const QString icon = runTool("xprop", {"-id", id, "-notype", "_NET_WM_ICON"});
            QVERIFY2(icon.contains("Icon (16 x 16)") && icon.contains("Icon (48 x 48)"),
                     qPrintable(id + ": no icon of 16 and 48 pixels"));
        }
        program.kill();
        program.waitForFinished(5000);
    }
};

QTEST_GUILESS_MAIN(TestWindowIdentity)
#include "tst_WindowIdentity_x11.moc"
