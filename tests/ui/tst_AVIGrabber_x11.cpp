// SPDX-License-Identifier: GPL-2.0-or-later
#include "core/ListingPorts.h"
#include "platform/MoviePlayback.h"
#include "support/MovieFixtures.h"
#include "ui/AVIGrabber.h"
#include "ui/MovieChooser.h"

#include <QAbstractButton>
#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>

namespace
{

class FixedChooser : public MovieChooser
{
public:
    QString answer;
    QString askMovie(QWidget *, const QString &, const QString &) override { return answer; }
};

} // namespace

// On a real X server the grabber shows the movie's frame in its display area, and the black around
// the skin's outline is cut out. TESSALOOM_SCREENSHOT_DIR keeps the screenshot to look at.
class TestAVIGrabberX11 : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void showsTheMovieOnScreen()
    {
        QTemporaryDir dir;
        const QString failure = MovieFixtures::make(dir.path(), {"Clip.avi:mjpeg:320x240"});
        QVERIFY2(failure.isEmpty(), qPrintable(failure));
        TAVIForm form;
        auto *chooser = new FixedChooser;
        chooser->answer = dir.filePath("Clip.avi");
        form.setChooser(std::unique_ptr<MovieChooser>(chooser));
        form.move(100, 100);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QTest::mouseClick(form.findChild<QAbstractButton *>("OpenAVIButton"), Qt::LeftButton);
        QVERIFY(form.chosenMovie());
        QTest::mouseClick(form.findChild<QAbstractButton *>("PauseLabel"), Qt::LeftButton);
        form.TrackBar()->setValue(42);
        QTRY_COMPARE(MovieFixtures::frameNumberIn(form.playback().currentFrame()), 42);
        QTest::qWait(300); // let the server draw

        const QImage screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
        const QString keep = qEnvironmentVariable("TESSALOOM_SCREENSHOT_DIR");
        if (!keep.isEmpty())
            screen.copy(form.geometry().adjusted(-10, -10, 10, 10)).save(QDir(keep).filePath("grabber.png"));
        // The frame number as the screen shows it, from the display area's corner.
        const QPoint area = form.geometry().topLeft() + QPoint(184, 47);
        QCOMPARE(MovieFixtures::frameNumberIn(screen.copy(QRect(area, QSize(325, 245)))), 42);
        // Black beyond the movie's 320 x 240 inside the display area.
        QCOMPARE(screen.pixelColor(area + QPoint(322, 243)), QColor(Qt::black));
        // The body of the window is the skin as painted.
        const QImage skin = form.grab().toImage();
        const QPoint body(20, 330);
        QCOMPARE(screen.pixelColor(form.geometry().topLeft() + body), skin.pixelColor(body));
    }
};

QTEST_MAIN(TestAVIGrabberX11)
#include "tst_AVIGrabber_x11.moc"
