// The skinned windows on a real Wayland compositor (weston, headless, started by this test): each
// window's key colour is cut out of what the compositor shows, the desktop showing through exactly
// there; the program itself names its desktop entry as its app id and a second start reaches it.
#include "support/WestonSession.h"

#include "core/PageOptions.h"
#include "ui/AVIGrabber.h"
#include "ui/NameOverWrite.h"
#include "ui/NameOverWrite2.h"
#include "ui/NameWebPage.h"
#include "ui/OndrelSplash.h"
#include "ui/Picklist.h"
#include "ui/Scanner.h"
#include "ui/Settings.h"
#include "ui/kit/Skin.h"
#include "ui/guager.h"
#include "ui/prompt2.h"

#include <QApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>
#include <QWindow>

#include <cstdio>
#include <functional>
#include <memory>

namespace
{

WestonSession *weston = nullptr;

// Where the window stands in the shot: the bounding box of everything that is not desktop.
QRect shownArea(const QImage &shot)
{
    QRect area;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            if (shot.pixel(x, y) != WestonSession::Desktop)
                area |= QRect(x, y, 1, 1);
    return area;
}

// The bounding box of the skin's pixels that are not its key colour.
QRect outlineArea(const QImage &skin, QRgb key)
{
    QRect area;
    for (int y = 0; y < skin.height(); ++y)
        for (int x = 0; x < skin.width(); ++x)
            if (skin.pixel(x, y) != key)
                area |= QRect(x, y, 1, 1);
    return area;
}

} // namespace

class TestWaylandWindows : public QObject
{
    Q_OBJECT

    PageOptions m_options;

    struct Window {
        const char *name;
        std::function<QWidget *()> make;
    };

    QList<Window> windows()
    {
        return {
            {"main window", [this] { return new TMainForm(m_options); }},
            {"options", [this] { return new TSettingsForm(m_options); }},
            {"name dialog", [] { return new TNameitForm; }},
            {"pick list", [] { return new TPickListForm; }},
            {"grabber", [] { return new TAVIForm; }},
            {"progress", [] { return new TGuageForm(nullptr); }},
            {"message", [] { return new TPrompt2Form; }},
            {"overwrite dialog", [] { return new TNameOver; }},
            {"list overwrite dialog", [] { return new TNameOver2; }},
            {"start splash",
             [] {
                 auto *splash = new TOndrelSplashForm(nullptr);
                 splash->Timer1()->stop();
                 return splash;
             }},
        };
    }

private Q_SLOTS:
    void initTestCase() { QCOMPARE(QGuiApplication::platformName(), QStringLiteral("wayland")); }

    void skinnedWindowsAreCutOut_data()
    {
        QTest::addColumn<int>("index");
        const QList<Window> table = windows();
        for (int i = 0; i < table.size(); ++i)
            QTest::newRow(table[i].name) << i;
    }
    void skinnedWindowsAreCutOut()
    {
        QFETCH(int, index);
        std::unique_ptr<QWidget> window(windows().at(index).make());
        auto *skin = window->findChild<Skin *>();
        QVERIFY(skin && skin->key());
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));

        const QImage picture = skin->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
        const QRgb key = skin->key()->rgb();
        const QRect outline = outlineArea(picture, key);
        // The compositor shows the window once it has its first buffer: shoot until it is there.
        QImage shot;
        QRect shown;
        QVERIFY(QTest::qWaitFor(
            [&] {
                shot = weston->screenshot();
                shown = shownArea(shot);
                return !shot.isNull() && shown.size() == outline.size();
            },
            20000));
        const QPoint offset = shown.topLeft() - outline.topLeft();
        QList<QRect> controls;
        for (QWidget *child : window->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            controls << child->geometry();
        int cut = 0, drawn = 0;
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                const QPoint p(x, y);
                const QPoint onScreen = p + offset;
                if (!shot.rect().contains(onScreen))
                    continue;
                if (picture.pixel(p) == key) {
                    ++cut;
                    QVERIFY2(shot.pixel(onScreen) == WestonSession::Desktop,
                             qPrintable(QStringLiteral("not cut out at %1,%2").arg(x).arg(y)));
                    continue;
                }
                bool underControl = false;
                for (const QRect &control : std::as_const(controls))
                    underControl |= control.contains(p);
                if (underControl)
                    continue;
                ++drawn;
                QVERIFY2(shot.pixel(onScreen) == picture.pixel(p),
                         qPrintable(QStringLiteral("skin not shown at %1,%2").arg(x).arg(y)));
            }
        }
        QVERIFY(cut > 0);
        QVERIFY(drawn > picture.width() * picture.height() / 4);
        const QString shots = qEnvironmentVariable("TESSALOOM_SHOT_DIR");
        if (!shots.isEmpty())
            shot.save(shots + QStringLiteral("/wayland-") + QString::number(index) + QStringLiteral(".png"));
    }

    // The program as started from the menu on this compositor: its app id is its desktop entry's
    // name, and a second start hands over to it, with the launcher's activation token.
    void programNamesItsEntryAndTakesASecondStart()
    {
        const QString program = qEnvironmentVariable("TESSALOOM_BINARY_DIR") + "/app/tessaloom";
        QTemporaryDir config;
        QProcessEnvironment env = weston->clientEnvironment();
        env.insert("XDG_CONFIG_HOME", config.path());
        env.insert("TESSALOOM_INSTANCE_KEY", QUuid::createUuid().toString(QUuid::Id128));
        env.insert("TESSALOOM_REPORT_ACTIVATION", "1");
        env.insert("TESSALOOM_EXIT_AFTER_MS", "30000");
        env.insert("WAYLAND_DEBUG", "client");
        QProcess first;
        first.setProcessEnvironment(env);
        first.start(program, {});
        QByteArray out, err;
        const auto saw = [&](const QByteArray &line) {
            out += first.readAllStandardOutput();
            return out.split('\n').contains(line);
        };
        QTRY_VERIFY_WITH_TIMEOUT(saw("ready"), 20000);
        QTRY_VERIFY_WITH_TIMEOUT(
            (err += first.readAllStandardError()).contains("set_app_id(\"" TESSALOOM_APP_ID "\")"), 20000);

        env.remove("WAYLAND_DEBUG");
        env.insert("XDG_ACTIVATION_TOKEN", "weston-token");
        QProcess second;
        second.setProcessEnvironment(env);
        second.start(program, {});
        QVERIFY(second.waitForFinished(20000));
        QCOMPARE(second.exitCode(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(saw("activated"), 20000);
        QVERIFY(saw("activation token weston-token"));
        first.kill();
        first.waitForFinished(5000);
    }
};

// The compositor comes first: the application connects to it as it starts.
int main(int argc, char *argv[])
{
    WestonSession session;
    QString why;
    if (!session.start(&why)) {
        std::fprintf(stderr, "weston: %s\n", qPrintable(why));
        return 1;
    }
    weston = &session;
    qputenv("WAYLAND_DISPLAY", session.display().toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "wayland");
    qunsetenv("DISPLAY");
    QApplication app(argc, argv);
    TestWaylandWindows test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_WaylandWindows.moc"
