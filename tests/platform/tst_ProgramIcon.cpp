// SPDX-License-Identifier: GPL-2.0-or-later
// The program's icon as the build made it: a picture at each size the desktop's icon theme asks for,
// and a scalable drawing that shows the same as the pictures.
#include "platform/DataFiles.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

namespace
{

QString iconPath(const QString &sizeFolder, const QString &extension)
{
    return DataFiles::path(QStringLiteral("icons/hicolor/%1/apps/%2.%3")
                               .arg(sizeFolder, QStringLiteral(TESSALOOM_APP_ID), extension));
}

// The mean difference of the colour channels, weighted by coverage, over two pictures of one size.
double meanDifference(const QImage &a, const QImage &b)
{
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QColor p = a.pixelColor(x, y), q = b.pixelColor(x, y);
            const auto premultiplied = [](const QColor &c, int channel) { return channel * c.alphaF(); };
            sum += std::abs(premultiplied(p, p.red()) - premultiplied(q, q.red())) +
                   std::abs(premultiplied(p, p.green()) - premultiplied(q, q.green())) +
                   std::abs(premultiplied(p, p.blue()) - premultiplied(q, q.blue())) +
                   std::abs(p.alpha() - q.alpha());
        }
    return sum / (4.0 * a.width() * a.height());
}

} // namespace

class TestProgramIcon : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pictures_data()
    {
        QTest::addColumn<int>("size");
        for (int size : {16, 32, 48, 64, 128, 256})
            QTest::addRow("%dx%d", size, size) << size;
    }
    void pictures()
    {
        QFETCH(int, size);
        const QString path = iconPath(QStringLiteral("%1x%1").arg(size), QStringLiteral("png"));
        QImage icon(path);
        QVERIFY2(!icon.isNull(), qPrintable(path));
        QCOMPARE(icon.size(), QSize(size, size));
        icon = icon.convertToFormat(QImage::Format_ARGB32);
        // Rounded corners let the desktop show through; the plate itself is solid.
        for (const QPoint corner :
             {QPoint(0, 0), QPoint(size - 1, 0), QPoint(0, size - 1), QPoint(size - 1, size - 1)})
            QCOMPARE(qAlpha(icon.pixel(corner)), 0);
        QCOMPARE(qAlpha(icon.pixel(size / 2, size / 2)), 255);
        // The blue band on top and the emblem's gold below tell it apart from a grey square.
        const QColor band = icon.pixelColor(size / 2, size * 3 / 16);
        QVERIFY2(band.blue() > band.red() + 40, qPrintable(band.name()));
        bool gold = false;
        for (int y = size / 2; y < size && !gold; ++y)
            for (int x = 0; x < size && !gold; ++x) {
                const QColor c = icon.pixelColor(x, y);
                gold = c.alpha() == 255 && c.red() > 200 && c.green() > 150 && c.blue() < 140;
            }
        QVERIFY(gold);
    }

    // The smallest picture is drawn for its size, not shrunk from the large drawing: every pixel is
    // whole or empty (no blurred fringe) and the emblem's tiles keep their own gold and blue.
    void smallestPictureIsDrawnOnThePixelGrid()
    {
        const QString path = iconPath(QStringLiteral("16x16"), QStringLiteral("png"));
        const QImage icon = QImage(path).convertToFormat(QImage::Format_ARGB32);
        QVERIFY2(!icon.isNull(), qPrintable(path));
        int partial = 0;
        QSet<QRgb> colours;
        for (int y = 0; y < icon.height(); ++y)
            for (int x = 0; x < icon.width(); ++x) {
                const QRgb pixel = icon.pixel(x, y);
                partial += qAlpha(pixel) != 0 && qAlpha(pixel) != 255;
                if (qAlpha(pixel) == 255)
                    colours.insert(pixel);
            }
        QCOMPARE(partial, 0);
        QVERIFY2(colours.size() <= 8, qPrintable(QString::number(colours.size()))); // flat shapes
        QVERIFY(colours.contains(qRgb(232, 186, 74)));                              // gold tile
        QVERIFY(colours.contains(qRgb(70, 118, 200)));                              // blue tile
    }

    void scalableDrawingMatchesThePictures()
    {
        QFile svg(iconPath(QStringLiteral("scalable"), QStringLiteral("svg")));
        QVERIFY2(svg.open(QIODevice::ReadOnly), qPrintable(svg.fileName()));
        QXmlStreamReader xml(&svg);
        QVERIFY(xml.readNextStartElement());
        QCOMPARE(xml.name(), QStringLiteral("svg"));
        QCOMPARE(xml.attributes().value("viewBox"), QStringLiteral("0 0 256 256"));
        while (!xml.atEnd())
            xml.readNext();
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));

        // Drawn by the renderer desktops use for scalable icons, at 128 pixels, it shows what the
        // 128-pixel picture shows.
        QTemporaryDir dir;
        const QString rendered = dir.filePath(QStringLiteral("icon.png"));
        QProcess rsvg;
        rsvg.start(QStringLiteral("rsvg-convert"),
                   {QStringLiteral("-w"), QStringLiteral("128"), QStringLiteral("-h"), QStringLiteral("128"),
                    QStringLiteral("-o"), rendered, svg.fileName()});
        QVERIFY(rsvg.waitForFinished(60000));
        QCOMPARE(rsvg.exitCode(), 0);
        const QImage fromSvg = QImage(rendered).convertToFormat(QImage::Format_ARGB32);
        const QImage picture = QImage(iconPath(QStringLiteral("128x128"), QStringLiteral("png")))
                                   .convertToFormat(QImage::Format_ARGB32);
        QCOMPARE(fromSvg.size(), picture.size());
        const double difference = meanDifference(fromSvg, picture);
        QVERIFY2(difference < 6, qPrintable(QString::number(difference)));
    }
};

QTEST_GUILESS_MAIN(TestProgramIcon)
#include "tst_ProgramIcon.moc"
