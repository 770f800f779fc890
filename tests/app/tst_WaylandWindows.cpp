// SPDX-License-Identifier: GPL-2.0-or-later
// The skinned windows on a real Wayland compositor (weston, headless, started by this test): each
// window's key colour is cut out of what the compositor shows, the desktop showing through exactly
// there; the program itself names its desktop entry as its app id and a second start reaches it.
#include "SkinnedWindowTable.h"

#include "ui/ProgramWindows.h"
#include "ui/kit/Skin.h"

#include <QApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>
#include <QWindow>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace
{

WestonSession *weston = nullptr;

// Compares the skin picture, drawn at offset in the shot, with the shot: key pixels must show the
// desktop, every other pixel outside the controls the picture's own. Counts both; false and a
// fault at the first pixel that differs.
struct SkinShown {
    int cut = 0;
    int drawn = 0;
    QString fault;
};
SkinShown compareSkin(const QImage &shot, const QImage &picture, QRgb key, const QPoint &offset,
                      const QList<QRect> &controls)
{
    SkinShown seen;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QPoint p(x, y);
            const QPoint onScreen = p + offset;
            if (!shot.rect().contains(onScreen))
                continue;
            if (picture.pixel(p) == key) {
                ++seen.cut;
                if (shot.pixel(onScreen) != WestonSession::Desktop) {
                    seen.fault = QStringLiteral("not cut out at %1,%2").arg(x).arg(y);
                    return seen;
                }
                continue;
            }
            if (std::any_of(controls.cbegin(), controls.cend(),
                            [p](const QRect &c) { return c.contains(p); }))
                continue;
            ++seen.drawn;
            if (shot.pixel(onScreen) != picture.pixel(p)) {
                seen.fault = QStringLiteral("skin not shown at %1,%2").arg(x).arg(y);
                return seen;
            }
        }
    }
    return seen;
}

QList<QRect> controlPlaces(const QWidget *window)
{
    QList<QRect> places;
    for (const QWidget *child : window->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        places << child->geometry();
    return places;
}

} // namespace

class TestWaylandWindows : public QObject
{
    Q_OBJECT

    PageOptions m_options;

    QList<SkinnedWindow> windows() { return skinnedWindows(m_options); }

private Q_SLOTS:
    void initTestCase() { QCOMPARE(QGuiApplication::platformName(), QStringLiteral("wayland")); }

    void skinnedWindowsAreCutOut_data()
    {
        QTest::addColumn<int>("index");
        const QList<SkinnedWindow> table = windows();
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

        // On a HiDPI output the window shows its skin drawn at 2x, pixel for pixel.
        const int scale = qRound(window->devicePixelRatioF());
        QCOMPARE(scale, weston->scale());
        const QImage picture = (scale == 2 ? skin->sharpPixmap() : skin->pixmap())
                                   .toImage()
                                   .convertToFormat(QImage::Format_RGB32);
        QCOMPARE(picture.size(), skin->pixmap().size() * scale);
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
        for (const QRect &place : controlPlaces(window.get()))
            controls << QRect(place.topLeft() * scale, place.size() * scale);
        const SkinShown seen = compareSkin(shot, picture, key, offset, controls);
        QVERIFY2(seen.fault.isEmpty(), qPrintable(seen.fault));
        QVERIFY(seen.cut > 0);
        QVERIFY(seen.drawn > picture.width() * picture.height() / 4);
        const QString shots = qEnvironmentVariable("TESSALOOM_SHOT_DIR");
        if (!shots.isEmpty())
            shot.save(shots + QStringLiteral("/wayland-") + QString::number(index) + QStringLiteral(".png"));
    }

    // The compositor places every window it maps: the pick list, which needs the main window beside
    // it, opens held in the main window, right of its skin, covering none of it.
    void pickListOpensBesideTheMainWindow()
    {
        ProgramWindows windows(m_options);
        TMainForm &main = windows.mainForm();
        TPickListForm &list = windows.pickListForm();
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        main.PickListButtonClick();
        QVERIFY(list.isVisible());
        QVERIFY(!list.isWindow()); // one window holds both
        QVERIFY(list.x() >= Skin::of(&main)->pixmap().width());

        const QImage mainSkin = Skin::of(&main)->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
        const QImage listSkin = Skin::of(&list)->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
        const QRgb mainKey = Skin::of(&main)->key()->rgb();
        const QRgb listKey = Skin::of(&list)->key()->rgb();
        const QRect outline =
            outlineArea(mainSkin, mainKey) | outlineArea(listSkin, listKey).translated(list.pos());
        QImage shot;
        QRect shown;
        const bool whole = QTest::qWaitFor(
            [&] {
                shot = weston->screenshot();
                shown = shownArea(shot);
                return !shot.isNull() && shown.size() == outline.size();
            },
            20000);
        const QString shots = qEnvironmentVariable("TESSALOOM_SHOT_DIR");
        if (!shots.isEmpty())
            shot.save(shots + QStringLiteral("/wayland-pick-list.png"));
        QVERIFY2(whole, qPrintable(QStringLiteral("shown %1x%2, expected %3x%4")
                                       .arg(shown.width())
                                       .arg(shown.height())
                                       .arg(outline.width())
                                       .arg(outline.height())));
        const QPoint offset = shown.topLeft() - outline.topLeft();
        QList<QRect> mainControls = controlPlaces(&main);
        mainControls.removeAll(list.geometry());
        const SkinShown mainSeen = compareSkin(shot, mainSkin, mainKey, offset, mainControls);
        QVERIFY2(mainSeen.fault.isEmpty(), qPrintable(QStringLiteral("main window: ") + mainSeen.fault));
        const SkinShown listSeen =
            compareSkin(shot, listSkin, listKey, offset + list.pos(), controlPlaces(&list));
        QVERIFY2(listSeen.fault.isEmpty(), qPrintable(QStringLiteral("pick list: ") + listSeen.fault));
        QVERIFY(listSeen.drawn > listSkin.width() * listSkin.height() / 4);
        main.PickListButtonClick();
        QVERIFY(!list.isVisible());
        QVERIFY(!main.mask().contains(list.geometry().center())); // its place takes no clicks then
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
// TESSALOOM_WESTON_SCALE=2 makes the compositor's output a HiDPI one.
int main(int argc, char *argv[])
{
    WestonSession session;
    QString why;
    const int scale = std::max(1, qEnvironmentVariableIntValue("TESSALOOM_WESTON_SCALE"));
    if (!session.start(&why, WestonSession::Backend::Headless, scale)) {
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
