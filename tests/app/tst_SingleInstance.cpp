// SPDX-License-Identifier: GPL-2.0-or-later
// Starts the built program as real processes: a second start hands over to the first and ends.
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>

namespace
{

QString programPath()
{
    return qEnvironmentVariable("TESSALOOM_BINARY_DIR") + "/app/tessaloom";
}

// One start of the program with its own settings folder, sharing the guard's name with the others
// of this test (and only with them).
struct Start {
    QTemporaryDir config;
    QProcess process;
    QByteArray output;

    Start(const QString &instanceKey, int exitAfterMs, const QString &activationToken = QString())
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("XDG_ACTIVATION_TOKEN");
        if (!activationToken.isEmpty())
            env.insert("XDG_ACTIVATION_TOKEN", activationToken);
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("XDG_CONFIG_HOME", config.path());
        env.insert("TESSALOOM_INSTANCE_KEY", instanceKey);
        env.insert("TESSALOOM_REPORT_ACTIVATION", "1");
        env.insert("TESSALOOM_EXIT_AFTER_MS", QString::number(exitAfterMs));
        process.setProcessEnvironment(env);
        process.setProcessChannelMode(QProcess::SeparateChannels);
        process.start(programPath(), {});
    }
    ~Start()
    {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(5000);
        }
    }
    bool saw(const QByteArray &line)
    {
        output += process.readAllStandardOutput();
        return output.split('\n').contains(line);
    }
    bool configUntouched() const
    {
        return QDir(config.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }
};

QString freshKey()
{
    return QUuid::createUuid().toString(QUuid::Id128);
}

} // namespace

class TestSingleInstance : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY2(QFileInfo(programPath()).isExecutable(), qPrintable(programPath())); }

    void secondStartBringsTheFirstToTheFrontAndEnds()
    {
        const QString key = freshKey();
        Start first(key, 15000);
        QTRY_VERIFY_WITH_TIMEOUT(first.saw("ready"), 20000);

        Start second(key, 15000);
        QVERIFY(second.process.waitForFinished(10000));
        QCOMPARE(second.process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.process.exitCode(), 0);
        QVERIFY(!second.saw("ready"));
        QVERIFY(second.configUntouched()); // ended before reading or writing any setting

        QTRY_VERIFY_WITH_TIMEOUT(first.saw("activated"), 10000);
        QCOMPARE(first.process.state(), QProcess::Running);
    }

    // A Wayland launcher gives the second start the token that lets a window take the focus: it
    // reaches the running copy, which activates its window with it.
    void secondStartHandsOnItsActivationToken()
    {
        const QString key = freshKey();
        Start first(key, 15000);
        QTRY_VERIFY_WITH_TIMEOUT(first.saw("ready"), 20000);

        Start second(key, 15000, QStringLiteral("launcher-token_42"));
        QVERIFY(second.process.waitForFinished(10000));
        QCOMPARE(second.process.exitCode(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(first.saw("activated"), 10000);
        QVERIFY2(first.saw("activation token launcher-token_42"), first.output.constData());
    }

    void firstEndsByItselfAndFreesTheName()
    {
        const QString key = freshKey();
        {
            Start first(key, 300);
            QVERIFY(first.process.waitForFinished(20000));
            QCOMPARE(first.process.exitCode(), 0);
            QVERIFY(first.saw("ready"));
        }
        Start next(key, 300);
        QVERIFY(next.process.waitForFinished(20000));
        QVERIFY(next.saw("ready"));
    }

    void crashedFirstDoesNotBlockTheNextStart()
    {
        const QString key = freshKey();
        Start crashed(key, 60000);
        QTRY_VERIFY_WITH_TIMEOUT(crashed.saw("ready"), 20000);
        crashed.process.kill(); // SIGKILL: no clean-up of any kind
        QVERIFY(crashed.process.waitForFinished(5000));

        Start next(key, 300);
        QVERIFY(next.process.waitForFinished(20000));
        QCOMPARE(next.process.exitCode(), 0);
        QVERIFY(next.saw("ready")); // it took the name instead of handing over to a dead copy
    }
};

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_SingleInstance.moc"
