// SPDX-License-Identifier: GPL-2.0-or-later
// On a HiDPI screen (Qt's scale factor 2) every skinned window shows its skin and its button
// pictures as drawn at 2x, pixel for pixel, not the 1x pictures blown up; outlines stay the 1x ones.
#include "app/SkinnedWindowTable.h"

#include "ui/kit/PictureButton.h"
#include "ui/kit/Skin.h"
#include "ui/splash.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

#include <memory>

namespace
{

// The first pixel of the grab, in the window's area, that is not the picture's (drawn at offset,
// in points); pixels outside the picture's opaque part, or in a skipped area, are not compared.
struct Compared {
    int pixels = 0;
    QString fault;
};
Compared compareWithPicture(const QImage &grab, const QImage &picture, const QPoint &offset,
                            const std::function<bool(const QPoint &)> &skipped)
{
    Compared seen;
    const QPoint at = offset * 2;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QPoint p(x, y);
            if (qAlpha(picture.pixel(p)) != 255 || skipped(QPoint(x / 2, y / 2)) ||
                !grab.rect().contains(p + at))
                continue;
            ++seen.pixels;
            if (grab.pixel(p + at) != picture.pixel(p)) {
                seen.fault = QStringLiteral("pixel %1,%2: shown %3, drawn %4")
                                 .arg(x)
                                 .arg(y)
                                 .arg(grab.pixel(p + at), 8, 16)
                                 .arg(picture.pixel(p), 8, 16);
                return seen;
            }
        }
    }
    return seen;
}

} // namespace

class TestSharpSkins : public QObject
{
    Q_OBJECT

    PageOptions m_options;

    // The program's skinned windows, and the About box, whose picture has no key colour.
    QList<SkinnedWindow> windows()
    {
        return skinnedWindows(m_options) << SkinnedWindow{"about", [] {
                                                              auto *about = new TSplashForm(nullptr);
                                                              about->Timer1()->stop();
                                                              return about;
                                                          }};
    }

private Q_SLOTS:
    void initTestCase() { QCOMPARE(qApp->devicePixelRatio(), 2.0); }

    void windowsShowTheirSharpPictures_data()
    {
        QTest::addColumn<int>("index");
        const QList<SkinnedWindow> table = windows();
        for (int i = 0; i < table.size(); ++i)
            QTest::newRow(table[i].name) << i;
    }
    void windowsShowTheirSharpPictures()
    {
        QFETCH(int, index);
        std::unique_ptr<QWidget> window(windows().at(index).make());
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        const Skin *skin = Skin::of(window.get());
        QVERIFY(skin);
        const QImage normal = skin->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
        const QImage sharp = skin->sharpPixmap().toImage().convertToFormat(QImage::Format_RGB32);
        QVERIFY2(!sharp.isNull(), "no @2x skin");
        QCOMPARE(sharp.size(), normal.size() * 2);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        if (QWidget *focused = window->focusWidget())
            focused->clearFocus(); // a focus ring would lie over the button's picture
        const QImage grab = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(grab.devicePixelRatio(), 2.0);

        // The skin, wherever no control covers it and the outline keeps it (the key is cut out).
        QList<QRect> controls;
        for (const QWidget *child : window->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            if (child->isVisible())
                controls << child->geometry();
        const auto key = skin->key();
        const Compared seen = compareWithPicture(grab, sharp, QPoint(), [&](const QPoint &p) {
            return (key && normal.pixel(p) == key->rgb()) ||
                   std::any_of(controls.cbegin(), controls.cend(),
                               [p](const QRect &c) { return c.contains(p); });
        });
        QVERIFY2(seen.fault.isEmpty(), qPrintable(QStringLiteral("skin: ") + seen.fault));
        QVERIFY(seen.pixels > sharp.width() * sharp.height() / 4);

        // Every picture button at rest, where its picture is opaque and nothing lies over it.
        for (const PictureButton *button : window->findChildren<PictureButton *>()) {
            if (button->picture().isNull() || !button->isVisible() || button->isChecked())
                continue;
            const QImage face = button->sharpPicture().toImage().convertToFormat(QImage::Format_ARGB32);
            const QString name = button->objectName();
            QVERIFY2(!face.isNull(), qPrintable(name + QStringLiteral(": no @2x picture")));
            QCOMPARE(face.size(), button->picture().size() * 2);
            QCOMPARE(button->size(), button->picture().size());
            const QWidget *parent = button->parentWidget();
            const QList<QWidget *> siblings = parent->findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
            const QList<QWidget *> above = siblings.mid(siblings.indexOf(button) + 1);
            const QPoint offset = button->mapTo(window.get(), QPoint());
            const Compared face2x = compareWithPicture(grab, face, offset, [&](const QPoint &p) {
                return std::any_of(above.cbegin(), above.cend(), [&](const QWidget *w) {
                    return w->isVisible() && w->geometry().contains(p + button->pos());
                });
            });
            QVERIFY2(face2x.fault.isEmpty(), qPrintable(name + QStringLiteral(": ") + face2x.fault));
            QVERIFY(face2x.pixels > face.width() * face.height() / 2);
        }
    }

    // A message that grows the window grows the sharp skin by the same points: the grown window shows
    // it pixel for pixel, its outline the grown 1x one.
    void aGrownMessageShowsItsSharpSkin()
    {
        TPrompt2Form form;
        form.setText(QStringLiteral("These files keep their spaces:\nfirst\nsecond\nthird\nfourth\nfifth"));
        const Skin *skin = Skin::of(&form);
        QVERIFY(form.height() > 64);
        QCOMPARE(skin->sharpPixmap().size(), skin->pixmap().size() * 2);
        const QImage normal = skin->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
        const QImage sharp = skin->sharpPixmap().toImage().convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < sharp.height(); ++y)
            for (int x = 0; x < sharp.width(); ++x)
                QVERIFY((sharp.pixel(x, y) == 0xff000000) == (normal.pixel(x / 2, y / 2) == 0xff000000));
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const QImage grab = form.grab().toImage().convertToFormat(QImage::Format_RGB32);
        QList<QRect> controls;
        for (const QWidget *child : form.findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            controls << child->geometry();
        const Compared seen = compareWithPicture(grab, sharp, QPoint(), [&](const QPoint &p) {
            return normal.pixel(p) == 0xff000000 ||
                   std::any_of(controls.cbegin(), controls.cend(),
                               [p](const QRect &c) { return c.contains(p); });
        });
        QVERIFY2(seen.fault.isEmpty(), qPrintable(seen.fault));
    }
};

// The scale factor is read as the application starts.
int main(int argc, char *argv[])
{
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    TestSharpSkins test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_SharpSkins.moc"
