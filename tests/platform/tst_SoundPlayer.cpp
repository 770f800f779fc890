// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/DataFiles.h"
#include "platform/SoundPlayer.h"

#include "support/WndToneWav.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestSoundPlayer : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString writeFile(const QString &name, const QByteArray &bytes)
    {
        QFile file(m_dir.filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(file.fileName()));
        return file.fileName();
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void pinsGStreamerUnlessChosen()
    {
        const QByteArray before = qgetenv("QT_MEDIA_BACKEND");
        qunsetenv("QT_MEDIA_BACKEND");
        SoundPlayer::pinMediaBackend();
        QCOMPARE(qgetenv("QT_MEDIA_BACKEND"), QByteArray("gstreamer"));
        qputenv("QT_MEDIA_BACKEND", "ffmpeg");
        SoundPlayer::pinMediaBackend();
        QCOMPARE(qgetenv("QT_MEDIA_BACKEND"), QByteArray("ffmpeg")); // a choice made outside is kept
        qputenv("QT_MEDIA_BACKEND", before.isEmpty() ? QByteArray("gstreamer") : before);
    }

    void programSoundsPlayToTheirEnd_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("logo chime") << "logo.wav";
        QTest::newRow("error buzz") << "error.wav";
        QTest::newRow("frame saved") << "SaveAVI.wav";
    }
    void programSoundsPlayToTheirEnd()
    {
        QFETCH(QString, name);
        SoundPlayer player;
        QSignalSpy requested(&player, &SoundPlayer::playRequested);
        QSignalSpy finished(&player, &SoundPlayer::finished);
        QSignalSpy failed(&player, &SoundPlayer::failed);
        player.play(name);
        // play() has returned before the sound is over: it never waits.
        QCOMPARE(finished.count(), 0);
        QCOMPARE(requested.count(), 1);
        QCOMPARE(requested.at(0).at(0).toString(), name);
        QCOMPARE(player.currentFile(), DataFiles::path(name));
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 15000);
        QCOMPARE(finished.at(0).at(0).toString(), DataFiles::path(name));
        QCOMPARE(failed.count(), 0);
        QVERIFY(!player.isPlaying());
    }

    void unplayableSoundsAreReported_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("content"); // null: no such file
        QTest::newRow("missing") << "missing.wav" << QByteArray();
        QTest::newRow("garbage") << "garbage.wav"
                                 << QByteArray("this is not a sound at all, only words. ").repeated(40);
        QTest::newRow("empty") << "empty.wav" << QByteArray("");
        QTest::newRow("header only") << "header.wav" << wndToneWav(1.0).left(30);
    }
    void unplayableSoundsAreReported()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, content);
        const QString path = content.isNull() ? m_dir.filePath(name) : writeFile(name, content);
        SoundPlayer player;
        QSignalSpy finished(&player, &SoundPlayer::finished);
        QSignalSpy failed(&player, &SoundPlayer::failed);
        player.playFile(path);
        QCOMPARE(failed.count(), 0); // reported later, never inside play()
        QTRY_COMPARE_WITH_TIMEOUT(failed.count(), 1, 10000);
        const QString message = failed.at(0).at(0).toString();
        QVERIFY2(message.contains(path), qPrintable(message));
        QTest::qWait(200); // nothing more arrives for this sound
        QCOMPARE(failed.count(), 1);
        QCOMPARE(finished.count(), 0);
        QVERIFY(!player.isPlaying());
    }

    void aFolderIsNoSound()
    {
        SoundPlayer player;
        QSignalSpy failed(&player, &SoundPlayer::failed);
        player.playFile(m_dir.path());
        QTRY_COMPARE(failed.count(), 1);
        QVERIFY(failed.at(0).at(0).toString().contains(m_dir.path()));
    }

    void aNewSoundClosesTheOneThatPlays()
    {
        const QString longTone = writeFile("long.wav", wndToneWav(3.0, 330));
        const QString shortTone = writeFile("short.wav", wndToneWav(0.3, 660));
        SoundPlayer player;
        QSignalSpy finished(&player, &SoundPlayer::finished);
        QSignalSpy failed(&player, &SoundPlayer::failed);
        player.playFile(longTone);
        QTRY_VERIFY(player.isPlaying());
        player.playFile(shortTone);
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 10000);
        QCOMPARE(finished.at(0).at(0).toString(), shortTone);
        QTest::qWait(3200); // past the long tone's end: the closed player reports nothing
        QCOMPARE(finished.count(), 1);
        QCOMPARE(failed.count(), 0);
    }

    void aFailureLeavesThePlayerReady()
    {
        const QString tone = writeFile("after.wav", wndToneWav(0.2));
        SoundPlayer player;
        QSignalSpy finished(&player, &SoundPlayer::finished);
        QSignalSpy failed(&player, &SoundPlayer::failed);
        player.playFile(m_dir.filePath("nothing-here.wav"));
        QTRY_COMPARE(failed.count(), 1);
        player.playFile(tone);
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 10000);
        QCOMPARE(failed.count(), 1);
    }

    void stopSilencesWithoutNews()
    {
        SoundPlayer player;
        QSignalSpy finished(&player, &SoundPlayer::finished);
        player.playFile(writeFile("stopped.wav", wndToneWav(0.5)));
        QTRY_VERIFY(player.isPlaying());
        player.stop();
        QVERIFY(!player.isPlaying());
        QTest::qWait(800);
        QCOMPARE(finished.count(), 0);
    }
};

QTEST_GUILESS_MAIN(TestSoundPlayer)
#include "tst_SoundPlayer.moc"
