// SPDX-License-Identifier: GPL-2.0-or-later
#include "core/ListingPorts.h"
#include "core/PageOptions.h"
#include "platform/MoviePlayback.h"
#include "support/MovieFixtures.h"
#include "ui/AVIGrabber.h"
#include "ui/MovieChooser.h"
#include "ui/MovieView.h"
#include "ui/kit/HelpHints.h"
#include "ui/kit/PictureButton.h"
#include "viewing/MovieFrameSave.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QSet>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>

namespace
{

class Messages : public MessagePort
{
public:
    QStringList shown;
    std::function<void()> onShow; // runs while the "modal" message is up
    void showMessage(const QString &text) override
    {
        shown.append(text);
        if (onShow)
            onShow();
    }
};

// Answers the open chooser with a fixed path and remembers what it was asked.
class ScriptedChooser : public MovieChooser
{
public:
    QString answer;
    QString askedFolder;
    QString askedName;
    QString askMovie(QWidget *, const QString &folder, const QString &initialName) override
    {
        askedFolder = folder;
        askedName = initialName;
        return answer;
    }
};

struct World {
    TAVIForm form;
    Messages messages;
    ScriptedChooser *chooser = new ScriptedChooser;
    QString folder;
    QString mountPoint; // what the mount table says of the folder

    explicit World(const QString &movieFolder) : folder(movieFolder)
    {
        form.setMessages(&messages);
        form.setChooser(std::unique_ptr<MovieChooser>(chooser));
        form.setCurrentFolder([this] { return folder; });
        form.setOpticalMountPointOf([this](const QString &) { return mountPoint; });
    }

    // Opens the movie through its button, as the user does.
    bool open(const QString &name)
    {
        chooser->answer = QDir(folder).filePath(name);
        const bool mpg = name.endsWith(QLatin1String(".mpg"));
        QTest::mouseClick(form.findChild<QAbstractButton *>(mpg ? "OpenMPG" : "OpenAVIButton"),
                          Qt::LeftButton);
        return form.chosenMovie();
    }
    void click(const char *button)
    {
        QTest::mouseClick(form.findChild<QAbstractButton *>(button), Qt::LeftButton);
    }
    int shownNumber() const
    {
        const QImage frame = form.playback().currentFrame();
        return frame.isNull() ? -1 : MovieFixtures::frameNumberIn(frame);
    }
};

// The sound streams of this process that the PulseAudio server plays, or -1 when there is no server
// to ask (the test command starts one with a null sink).
int ourSoundStreams()
{
    QProcess pactl;
    pactl.start(QStringLiteral("pactl"), {QStringLiteral("list"), QStringLiteral("sink-inputs")});
    if (!pactl.waitForFinished(10'000) || pactl.exitStatus() != QProcess::NormalExit || pactl.exitCode() != 0)
        return -1;
    const QString ours =
        QStringLiteral("application.process.id = \"%1\"").arg(QCoreApplication::applicationPid());
    return QString::fromLocal8Bit(pactl.readAllStandardOutput()).count(ours);
}

QString pathIn(const QTemporaryDir &dir, const QString &name)
{
    return QDir::toNativeSeparators(dir.filePath(name));
}

} // namespace

class TestAVIGrabber : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QTemporaryDir m_soundDir; // movies with a sound track
    QString m_fixtureFailure;

public:
    // The movies are made before the test functions start, so a slow ffmpeg on a busy machine counts
    // against no function's time limit.
    TestAVIGrabber()
    {
        m_fixtureFailure = MovieFixtures::make(
            m_dir.path(), {"Clip.avi:mjpeg:320x240", "small.clip.avi:mpeg4:160x120", "Big.avi:mpeg4:640x480",
                           "Walk.mpg:mpeg1:320x240", "Tiny.mpg:mpeg1:160x120", "Wide.mpg:mpeg1:640x480"});
        if (m_fixtureFailure.isEmpty())
            m_fixtureFailure = MovieFixtures::make(
                m_soundDir.path(), {"Song.avi:mjpeg:160x120:sound", "Song.mpg:mpeg1:160x120:sound"});
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(m_soundDir.isValid());
        QVERIFY2(m_fixtureFailure.isEmpty(), qPrintable(m_fixtureFailure));
    }

    void controlsAtTheirPlaces_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("place");
        QTest::addColumn<QString>("hint");
        QTest::newRow("open avi")
            << "OpenAVIButton" << QRect(17, 63, 101, 26)
            << "Click here to open an avi movie. AVI's should be 320w x 240h or smaller.";
        QTest::newRow("open mpg")
            << "OpenMPG" << QRect(15, 93, 105, 26)
            << "Click here to open an mpg movie. MPG's should be 320w x 240h or smaller.";
        QTest::newRow("save")
            << "SaveAVIButton" << QRect(28, 137, 81, 24)
            << "Click here to save the current frame as a JPG file. The name and location of this "
               "new file will be the same as the movie file.";
        QTest::newRow("pause")
            << "PauseLabel" << QRect(36, 179, 68, 21)
            << "Click here to pause your movie.  You must pause the before using the slider bar.";
        QTest::newRow("play") << "PlayLabel" << QRect(43, 206, 50, 25)
                              << "Click here to play or unpause your movie.";
        QTest::newRow("power") << "PowerButton" << QRect(48, 253, 42, 42) << "Close window";
        QTest::newRow("slider") << "TrackBar" << QRect(185, 337, 323, 29)
                                << "Drag the indicator left and right to navigate through your movie. Click "
                                   "and hold your left mouse "
                                   "button while dragging left or right. You can also use the left and right "
                                   "arrow keys on the keyboard "
                                   "to backup/advance one frame at a time.";
        QTest::newRow("display") << "MScrollBox" << QRect(184, 47, 325, 245) << "";
    }
    void controlsAtTheirPlaces()
    {
        QFETCH(QString, name);
        QFETCH(QRect, place);
        QFETCH(QString, hint);
        TAVIForm form;
        QCOMPARE(form.size(), QSize(561, 390));
        QCOMPARE(form.windowTitle(), "AVI Frame Grabber");
        QVERIFY(form.windowFlags() & Qt::FramelessWindowHint);
        auto *control = form.findChild<QWidget *>(name);
        QVERIFY(control);
        QCOMPARE(control->geometry(), place);
        QCOMPARE(HelpHints::hintOf(control), hint);
        QVERIFY(!form.MScrollBox()->isVisible());
    }

    void buttonsArePictures()
    {
        TAVIForm form;
        const QList<PictureButton *> buttons = form.findChildren<PictureButton *>();
        QCOMPARE(buttons.size(), 6);
        for (PictureButton *button : buttons) {
            // The artwork's picture, made for the button's place, and not one flat colour.
            QCOMPARE(button->picture().size(), button->size());
            const QImage face = button->picture().toImage();
            QSet<QRgb> colours;
            for (int x = 0; x < face.width(); ++x)
                colours.insert(face.pixel(x, face.height() / 2));
            QVERIFY2(colours.size() > 2, qPrintable(button->objectName()));
        }
    }

    void hintsFollowTheHelpSystem()
    {
        PageOptions options;
        HelpHints::instance().setOptions(&options);
        TAVIForm form;
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QWidget *save = form.findChild<QWidget *>("SaveAVIButton");
        options.setHelpSystem(false);
        QTest::mouseMove(save, QPoint(4, 4));
        QTest::qWait(20);
        QVERIFY(!HelpHints::instance().showsHint(save));
        options.setHelpSystem(true);
        QTest::mouseMove(save, QPoint(6, 6));
        QTRY_VERIFY(HelpHints::instance().showsHint(save));
        HelpHints::instance().hideHint();
        HelpHints::instance().setOptions(nullptr);
    }

    void saveNeedsAChosenMovie()
    {
        World w(m_dir.path());
        QString startMovie = m_dir.filePath("Clip.avi");
        w.form.FormCreate(startMovie); // the start movie does not count as chosen
        QVERIFY(w.form.playback().isOpen());
        w.click("SaveAVIButton");
        QCOMPARE(w.messages.shown, QStringList{"You must choose a file first"});
        QVERIFY(!QFile::exists(m_dir.filePath("Clip.jpg")));
    }

    void missingStartMovieIsReported()
    {
        World w(m_dir.path());
        w.form.FormCreate(m_dir.filePath("start.avi"));
        QTRY_COMPARE(w.messages.shown.size(), 1);
        QVERIFY2(w.messages.shown.first().contains(pathIn(m_dir, "start.avi")),
                 qPrintable(w.messages.shown.first()));
        QVERIFY(!w.form.playback().isOpen());
    }

    void openingStartsInTheCurrentFolder_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("pattern");
        QTest::newRow("avi") << "OpenAVIButton"
                             << "*.avi";
        QTest::newRow("mpg") << "OpenMPG"
                             << "*.mpg";
    }
    void openingStartsInTheCurrentFolder()
    {
        QFETCH(QString, button);
        QFETCH(QString, pattern);
        World w(m_dir.path());
        w.form.show();
        w.click(button.toLatin1().constData()); // the chooser answers "cancel"
        QCOMPARE(w.chooser->askedFolder, m_dir.path());
        QCOMPARE(w.chooser->askedName, pattern);
        QVERIFY(w.form.MScrollBox()->isVisible());
        QVERIFY(!w.form.chosenMovie());
    }

    // Seek to a frame while paused, save, and read the frame's number back from the saved picture.
    void savesTheFrameOnScreen_data()
    {
        QTest::addColumn<QString>("movie");
        QTest::addColumn<int>("frame");
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QSize>("saved");
        QTest::newRow("mjpeg 320") << "Clip.avi" << 37 << "Clip.jpg" << QSize(314, 234);
        QTest::newRow("mpeg4 160, dotted name")
            << "small.clip.avi" << 50 << "small.clip.jpg" << QSize(154, 114);
        QTest::newRow("mpeg4 640") << "Big.avi" << 13 << "Big.jpg" << QSize(320, 240);
        QTest::newRow("mpeg1 320") << "Walk.mpg" << 41 << "Walk.jpg" << QSize(314, 234);
        QTest::newRow("mpeg1 160") << "Tiny.mpg" << 70 << "Tiny.jpg" << QSize(154, 114);
        QTest::newRow("mpeg1 640") << "Wide.mpg" << 29 << "Wide.jpg" << QSize(320, 240);
    }
    void savesTheFrameOnScreen()
    {
        QFETCH(QString, movie);
        QFETCH(int, frame);
        QFETCH(QString, picture);
        QFETCH(QSize, saved);
        World w(m_dir.path());
        w.form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.form));
        QVERIFY(w.open(movie));
        QCOMPARE(w.form.TrackBar()->maximum(), MovieFixtures::FrameCount - 1);
        QVERIFY(w.form.GrabberPlaying());
        w.click("PauseLabel");
        QVERIFY(!w.form.GrabberPlaying());
        w.form.TrackBar()->setValue(frame);
        QTRY_COMPARE(w.shownNumber(), frame);
        // The arrow keys step one frame.
        w.form.TrackBar()->setFocus();
        QTest::keyClick(w.form.TrackBar(), Qt::Key_Right);
        QTRY_COMPARE(w.shownNumber(), frame + 1);
        QTest::keyClick(w.form.TrackBar(), Qt::Key_Left);
        QTRY_COMPARE(w.shownNumber(), frame);

        const QPoint before = w.form.pos();
        w.click("SaveAVIButton");
        const QString path = pathIn(m_dir, picture);
        const QString expected = movie.endsWith(".mpg") ? "This feature is still under development. " + path +
                                                              " was created as a placemarker."
                                                        : path + " was created.";
        QCOMPARE(w.messages.shown, QStringList{expected});
        QCOMPARE(w.form.pos(), movie.endsWith(".mpg") ? before - QPoint(1, 1) : before);
        QImage jpeg(path, "JPEG");
        QVERIFY(!jpeg.isNull());
        QCOMPARE(jpeg.size(), saved);
        QCOMPARE(jpeg.depth(), 32); // read as colour
        QCOMPARE(MovieFixtures::frameNumberIn(jpeg, 5, 5), frame);
        QVERIFY(QFile::remove(path));
    }

    // Pause (or Save straight away) at many moments of a playing movie: the saved picture is the
    // frame the display showed when the person pressed Save, and the position says the same.
    void pauseThenSaveWritesTheFrameShown_data()
    {
        QTest::addColumn<QString>("movie");
        QTest::newRow("mjpeg avi") << "Clip.avi";
        QTest::newRow("mpeg4 avi") << "small.clip.avi";
        QTest::newRow("mpeg1 mpg") << "Walk.mpg";
    }
    void pauseThenSaveWritesTheFrameShown()
    {
        QFETCH(QString, movie);
        World w(m_dir.path());
        w.form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.form));
        QVERIFY(w.open(movie));
        const QString picture = MovieFrameSave::picturePathOf(m_dir.filePath(movie));
        int saves = 0;
        for (int moment : {3, 9, 14, 20, 27, 33, 40, 46, 53, 59, 66}) {
            QTRY_VERIFY_WITH_TIMEOUT(w.form.TrackBar()->value() >= moment || !w.form.GrabberPlaying(),
                                     15'000);
            // A busy machine's player may drop late frames and reach the end unseen: the movie is then
            // parked on its last frame, which the person sees once its decode arrives.
            if (!w.form.GrabberPlaying())
                QTRY_COMPARE_WITH_TIMEOUT(w.shownNumber(), MovieFixtures::FrameCount - 1, 15'000);
            const bool pauseFirst = saves % 2 == 0;
            if (pauseFirst)
                w.click("PauseLabel");
            QTest::qWait(60); // frames on their way when the movie paused arrive now
            const int shown = MovieFixtures::frameNumberIn(w.form.MScrollBox()->frame());
            if (pauseFirst)
                QCOMPARE(w.form.playback().position(), shown);
            w.click("SaveAVIButton");
            ++saves;
            QCOMPARE(w.messages.shown.size(), saves);
            QVERIFY2(w.messages.shown.last().contains(QDir::toNativeSeparators(picture)),
                     qPrintable(w.messages.shown.last()));
            const QImage jpeg(picture, "JPEG");
            QVERIFY(!jpeg.isNull());
            QCOMPARE(MovieFixtures::frameNumberIn(jpeg, 5, 5), shown);
            QCOMPARE(MovieFixtures::frameNumberIn(w.form.MScrollBox()->frame()), shown);
            w.click("PlayLabel");
        }
        // Played to its end, the movie is parked on its last frame, and that is what is saved.
        QTRY_VERIFY_WITH_TIMEOUT(!w.form.GrabberPlaying(), 15'000);
        QTRY_COMPARE(MovieFixtures::frameNumberIn(w.form.MScrollBox()->frame()),
                     MovieFixtures::FrameCount - 1);
        w.click("SaveAVIButton");
        QCOMPARE(MovieFixtures::frameNumberIn(QImage(picture, "JPEG"), 5, 5), MovieFixtures::FrameCount - 1);
        QVERIFY(QFile::remove(picture));
    }

    // A movie played on from a frame the slider chose, then paused: the position is the frame on
    // screen, and Save writes it (a program stream's player stamps the frames after a seek a frame
    // early).
    void pauseAfterSliderThenPlayIsTheFrameShown_data() { pauseThenSaveWritesTheFrameShown_data(); }
    void pauseAfterSliderThenPlayIsTheFrameShown()
    {
        QFETCH(QString, movie);
        World w(m_dir.path());
        w.form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w.form));
        QVERIFY(w.open(movie));
        const QString picture = MovieFrameSave::picturePathOf(m_dir.filePath(movie));
        // The next tests expect no picture beside the movie, also after a failure here.
        const auto removePicture = qScopeGuard([&picture] { QFile::remove(picture); });
        int saves = 0;
        for (int chosen : {30, 7, 40, 18}) {
            if (w.form.playback().isPlaying())
                w.click("PauseLabel");
            w.form.TrackBar()->setValue(chosen);
            QTRY_COMPARE(w.shownNumber(), chosen);
            w.click("PlayLabel"); // plays on from there
            QVERIFY(w.form.playback().isPlaying());
            QTRY_VERIFY(w.shownNumber() >= chosen + 3 || !w.form.playback().isPlaying());
            if (w.form.playback().isPlaying())
                w.click("PauseLabel");
            else // a busy machine's player may drop the late frames and run to the end unseen
                QTRY_COMPARE(w.shownNumber(), MovieFixtures::FrameCount - 1);
            const int shown = MovieFixtures::frameNumberIn(w.form.MScrollBox()->frame());
            QCOMPARE(w.form.playback().position(), shown);
            w.click("SaveAVIButton");
            QCOMPARE(w.messages.shown.size(), ++saves);
            QCOMPARE(MovieFixtures::frameNumberIn(QImage(picture, "JPEG"), 5, 5), shown);
            QCOMPARE(MovieFixtures::frameNumberIn(w.form.MScrollBox()->frame()), shown);
        }
        QVERIFY(QFile::exists(picture));
    }

    // A movie's sound plays through the default output while it plays.
    void playsTheMoviesSound_data()
    {
        QTest::addColumn<QString>("movie");
        QTest::newRow("avi") << "Song.avi";
        QTest::newRow("mpg") << "Song.mpg";
    }
    void playsTheMoviesSound()
    {
        QFETCH(QString, movie);
        QCOMPARE_GE(ourSoundStreams(), 0); // pactl reaches a PulseAudio server
        QTRY_COMPARE(ourSoundStreams(), 0);
        World w(m_soundDir.path());
        w.form.show();
        QVERIFY(w.open(movie));
        QVERIFY(w.form.playback().isPlaying());
        QTRY_VERIFY_WITH_TIMEOUT(ourSoundStreams() > 0, 10'000);
    }

    void endParksTheMovieAndPlayStartsAgain()
    {
        World w(m_dir.path());
        w.form.show();
        QVERIFY(w.open("Clip.avi"));
        QTRY_VERIFY_WITH_TIMEOUT(!w.form.GrabberPlaying(), 15'000);
        QVERIFY(!w.form.Timer1().isActive());
        QCOMPARE(w.form.playback().position(), MovieFixtures::FrameCount - 1);
        QCOMPARE(w.form.TrackBar()->value(), MovieFixtures::FrameCount - 1);
        QTRY_COMPARE(w.shownNumber(), MovieFixtures::FrameCount - 1);

        w.click("PlayLabel");
        QVERIFY(w.form.GrabberPlaying());
        QVERIFY(w.form.Timer1().isActive());
        QVERIFY(w.form.playback().isPlaying());
        QVERIFY(w.form.playback().position() < 20);
        QTRY_VERIFY(w.form.TrackBar()->value() >= 1 &&
                    w.form.TrackBar()->value() < MovieFixtures::FrameCount - 1);
    }

    void sliderSeeksOnlyWhilePaused()
    {
        World w(m_dir.path());
        w.form.show();
        QVERIFY(w.open("Clip.avi"));
        QTRY_VERIFY(w.form.playback().position() > 2);
        w.form.TrackBar()->setValue(70); // overridden by the next tick
        QTRY_VERIFY(w.form.TrackBar()->value() < 70);
        w.click("PauseLabel");
        QVERIFY(!w.form.playback().isPlaying());
        w.form.TrackBar()->setValue(60);
        QTRY_COMPARE(w.shownNumber(), 60);
        QTest::qWait(50); // the running timer leaves a paused movie where it is
        QCOMPARE(w.form.TrackBar()->value(), 60);
        w.click("PauseLabel"); // resumes
        QVERIFY(w.form.playback().isPlaying());
    }

    void closingKeepsTheMovieStoppedAtItsStart()
    {
        World w(m_dir.path());
        bool powered = false;
        connect(&w.form, &TAVIForm::powerPressed, this, [&powered] { powered = true; });
        w.form.show();
        QVERIFY(w.open("Walk.mpg"));
        QTRY_VERIFY(w.form.playback().position() > 2);
        w.click("PowerButton");
        QVERIFY(powered);
        QVERIFY(!w.form.isVisible());
        QVERIFY(!w.form.MScrollBox()->isVisible());
        QVERIFY(!w.form.Timer1().isActive());
        QVERIFY(!w.form.playback().isPlaying());
        QCOMPARE(w.form.playback().position(), 0);
        QTRY_COMPARE(w.shownNumber(), 0);

        w.form.show(); // the main window's Grabber button
        QVERIFY(w.form.chosenMovie());
        QCOMPARE(w.form.playback().path(), m_dir.filePath("Walk.mpg"));
        QVERIFY(!w.form.MScrollBox()->isVisible());
        w.click("PlayLabel");
        QVERIFY(w.form.MScrollBox()->isVisible());
        QVERIFY(w.form.playback().isPlaying());
    }

    void unplayableMovieLeavesTheGrabberUsable()
    {
        World w(m_dir.path());
        const QString bad = m_dir.filePath("Broken.avi");
        QFile file(bad);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("RIFF not a movie at all");
        file.close();
        QVERIFY(w.open("Clip.avi"));
        QVERIFY(!w.open("Broken.avi"));
        QCOMPARE(w.messages.shown.size(), 1);
        QVERIFY2(w.messages.shown.first().contains(QDir::toNativeSeparators(bad)),
                 qPrintable(w.messages.shown.first()));
        w.click("SaveAVIButton");
        QCOMPARE(w.messages.shown.last(), "You must choose a file first");
        QVERIFY(!QFile::exists(m_dir.filePath("Broken.jpg")));
        QVERIFY(!QFile::exists(m_dir.filePath("Clip.jpg")));
    }

    void refusesAFolderOnACdRom()
    {
        World w(m_dir.path());
        w.mountPoint = "/media/cdrom0";
        QVERIFY(w.open("Clip.avi"));
        w.click("SaveAVIButton");
        QCOMPARE(w.messages.shown, QStringList{"Can not write to CD ROM (/media/cdrom0)"});
        QVERIFY(!QFile::exists(m_dir.filePath("Clip.jpg")));
    }

    // A picture that cannot be written is reported, with no success message, and what held the
    // name stays as it was.
    void failedWriteIsReported_data()
    {
        QTest::addColumn<bool>("asLink");
        QTest::newRow("link planted at the name") << true;
        QTest::newRow("folder at the name") << false;
    }
    void failedWriteIsReported()
    {
        QFETCH(bool, asLink);
        const QString target = m_dir.filePath("Clip.jpg");
        const QString elsewhere = m_dir.filePath("elsewhere.txt");
        if (asLink) {
            QFile other(elsewhere);
            QVERIFY(other.open(QIODevice::WriteOnly));
            other.write("keep");
            other.close();
            QVERIFY(QFile::link(elsewhere, target));
        } else {
            QVERIFY(QDir(m_dir.path()).mkdir("Clip.jpg"));
        }
        World w(m_dir.path());
        QVERIFY(w.open("Clip.avi"));
        w.click("PauseLabel");
        w.click("SaveAVIButton");
        QCOMPARE(w.messages.shown.size(), 1);
        QVERIFY2(w.messages.shown.first().contains(QDir::toNativeSeparators(target)),
                 qPrintable(w.messages.shown.first()));
        QVERIFY(!w.messages.shown.first().contains("was created"));
        if (asLink) {
            QFile other(elsewhere);
            QVERIFY(other.open(QIODevice::ReadOnly));
            QCOMPARE(other.readAll(), QByteArray("keep"));
            QVERIFY(QFileInfo(target).isSymLink());
            QVERIFY(QFile::remove(target));
            QVERIFY(QFile::remove(elsewhere));
        } else {
            QVERIFY(QFileInfo(target).isDir());
            QVERIFY(QDir(m_dir.path()).rmdir("Clip.jpg"));
        }
    }

    void savingTwiceReplacesThePicture()
    {
        World w(m_dir.path());
        QVERIFY(w.open("Clip.avi"));
        w.click("PauseLabel");
        for (int frame : {10, 20}) {
            w.form.TrackBar()->setValue(frame);
            QTRY_COMPARE(w.shownNumber(), frame);
            w.click("SaveAVIButton");
            QCOMPARE(MovieFixtures::frameNumberIn(QImage(m_dir.filePath("Clip.jpg")), 5, 5), frame);
        }
        QCOMPARE(w.messages.shown.size(), 2);
        QVERIFY(QFile::remove(m_dir.filePath("Clip.jpg")));
    }
};

QTEST_MAIN(TestAVIGrabber)
#include "tst_AVIGrabber.moc"
