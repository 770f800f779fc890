// SPDX-License-Identifier: GPL-2.0-or-later
// Dragging a skinned window by its body on a real Wayland compositor: weston nested in the test's X
// server, the X pointer as its seat's, driven by xdotool as a person's hand would. Wayland ignores a
// client's own moves, so the window moves only when the drag is handed to the compositor.
#include "SkinnedWindowTable.h"

#include "ui/kit/Skin.h"

#include <QApplication>
#include <QPainter>
#include <QProcess>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTest>

#include <cstdio>
#include <memory>

namespace
{

WestonSession *weston = nullptr;
QByteArray xDisplay; // the X server weston shows its output in

// Runs xdotool on the X server weston is nested in; true when it ended well.
bool xdotool(const QStringList &arguments, QByteArray *out = nullptr)
{
    QProcess tool;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), QString::fromLocal8Bit(xDisplay));
    tool.setProcessEnvironment(env);
    tool.start(QStringLiteral("xdotool"), arguments);
    // The event loop keeps turning meanwhile: the window answers the input as it comes.
    if (!QTest::qWaitFor([&] { return tool.state() == QProcess::NotRunning; }, 20000))
        return false;
    if (out)
        *out = tool.readAllStandardOutput().trimmed();
    return tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
}

// A point of the window's body: drawn by its skin, not its key colour, with no control at or near it.
QPoint bodyPoint(const QWidget *window, const QImage &skin, QRgb key)
{
    constexpr int margin = 4;
    for (int y = margin; y < skin.height() - margin; ++y) {
        for (int x = margin; x < skin.width() - margin; ++x) {
            bool body = true;
            for (int dy = -margin; body && dy <= margin; ++dy)
                for (int dx = -margin; body && dx <= margin; ++dx)
                    body = skin.pixel(x + dx, y + dy) != key && !window->childAt(x + dx, y + dy);
            if (body)
                return {x, y};
        }
    }
    return {-1, -1};
}

// xdotool's "mousemove --window W X Y": the point in weston's output.
QStringList moveTo(const QString &output, const QPoint &p)
{
    return {QStringLiteral("mousemove"), QStringLiteral("--window"), output, QString::number(p.x()),
            QString::number(p.y())};
}

// Between drags the pointer rests in the output's bottom right corner, where only the tip of its
// cursor shows; a shot of the output without that corner shows only our windows and the desktop.
QPoint restingPlace()
{
    const QSize output = WestonSession::outputSize(WestonSession::Backend::NestedInX);
    return {output.width() - 1, output.height() - 1};
}

QImage shotOfWindows()
{
    QImage shot = weston->screenshot();
    QPainter(&shot).fillRect(QRect(restingPlace() - QPoint(31, 31), QSize(32, 32)),
                             QColor(WestonSession::Desktop));
    return shot;
}

} // namespace

class TestWaylandSystemMove : public QObject
{
    Q_OBJECT

    PageOptions m_options;
    QString m_output; // weston's output window in the X server

private Q_SLOTS:
    void initTestCase()
    {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("wayland"));
        QByteArray id;
        QVERIFY(xdotool({"search", "--sync", "--class", "Weston Compositor"}, &id));
        m_output = QString::fromLatin1(id.split('\n').first());
        QVERIFY(xdotool(moveTo(m_output, restingPlace())));
    }

    void dragByTheBodyMovesTheWindow_data()
    {
        QTest::addColumn<int>("index");
        const QList<SkinnedWindow> table = skinnedWindows(m_options);
        for (int i = 0; i < table.size(); ++i)
            if (qstrcmp(table.at(i).name, "start splash") != 0) // a click on it closes it: never dragged
                QTest::newRow(table.at(i).name) << i;
    }

    // Press on the body, move, release: the compositor moves the window by the pointer's way.
    void dragByTheBodyMovesTheWindow()
    {
        QFETCH(int, index);
        std::unique_ptr<QWidget> window(skinnedWindows(m_options).at(index).make());
        Skin *skin = Skin::of(window.get());
        QVERIFY(skin && skin->key());
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        const QImage picture = skin->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
        const QRgb key = skin->key()->rgb();
        const QRect outline = outlineArea(picture, key);
        QRect before;
        QVERIFY(QTest::qWaitFor(
            [&] {
                before = shownArea(shotOfWindows());
                return before.size() == outline.size();
            },
            20000));
        const QSize output = WestonSession::outputSize(WestonSession::Backend::NestedInX);
        const QPoint body = bodyPoint(window.get(), picture, key);
        QVERIFY2(body.x() >= 0, "no body to take the window by");
        const QPoint grip = before.topLeft() - outline.topLeft() + body;
        // Towards the middle of the output, so the window stays on it.
        const QPoint way(before.center().x() < output.width() / 2 ? 120 : -120,
                         before.center().y() < output.height() / 2 ? 80 : -80);

        const QPoint aside(output.width() + 40, output.height() + 40);
        const auto release = qScopeGuard([&] {
            xdotool(QStringList{"mouseup", "1"} << moveTo(m_output, aside));
        });
        QSignalSpy handedOver(skin, &Skin::systemMoveStarted);
        QVERIFY(xdotool(moveTo(m_output, grip) << "mousedown"
                                               << "1" << moveTo(m_output, grip + QPoint(3, 2))));
        QTRY_COMPARE_WITH_TIMEOUT(handedOver.count(), 1, 20000);
        // A shot goes through the compositor after our request: the move has begun when it is taken.
        // The window follows the pointer from where the button went down.
        QVERIFY(!shotOfWindows().isNull());
        const QPoint end = grip + way;
        const QPoint half = grip + way / 2;
        QVERIFY(xdotool(moveTo(m_output, half) << moveTo(m_output, end) << "mouseup"
                                               << "1" << moveTo(m_output, aside)));
        QRect after;
        const bool moved = QTest::qWaitFor(
            [&] {
                after = shownArea(shotOfWindows());
                return after == before.translated(way);
            },
            20000);
        QVERIFY2(moved, qPrintable(QStringLiteral("shown at %1,%2, expected %3,%4")
                                       .arg(after.x())
                                       .arg(after.y())
                                       .arg(before.x() + way.x())
                                       .arg(before.y() + way.y())));
    }
};

// The compositor comes first, nested in the X server the suite runs under; the application then
// connects to it as its only display.
int main(int argc, char *argv[])
{
    xDisplay = qgetenv("DISPLAY");
    WestonSession session;
    QString why;
    if (!session.start(&why, WestonSession::Backend::NestedInX)) {
        std::fprintf(stderr, "weston: %s\n", qPrintable(why));
        return 1;
    }
    weston = &session;
    qputenv("WAYLAND_DISPLAY", session.display().toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "wayland");
    qunsetenv("DISPLAY");
    // Each window's drag takes a few of the compositor's shots, every wait bounded on its own; the
    // whole table takes longer than one function's usual limit on a busy machine.
    qputenv("QTEST_FUNCTION_TIMEOUT", "300000");
    QApplication app(argc, argv);
    TestWaylandSystemMove test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_WaylandSystemMove_x11.moc"
