// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/DataFiles.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTest>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <vector>

// The skins and sounds of the message, progress, About and splash windows, as the build made them.
class TestWindowArtwork : public QObject
{
    Q_OBJECT

private:
    static constexpr QRgb Black = 0xff000000;
    static constexpr QRgb Edge = 0xff343a48; // the outline the shared style draws

    // Black pixels that the outside cannot reach would cut holes into a window.
    static int unreachableBlack(const QImage &skin)
    {
        const int w = skin.width(), h = skin.height();
        std::vector<char> seen(size_t(w * h), 0);
        std::vector<QPoint> todo;
        auto push = [&](int x, int y) {
            if (x >= 0 && y >= 0 && x < w && y < h && !seen[size_t(y * w + x)] && skin.pixel(x, y) == Black) {
                seen[size_t(y * w + x)] = 1;
                todo.push_back(QPoint(x, y));
            }
        };
        for (int x = 0; x < w; ++x) {
            push(x, 0);
            push(x, h - 1);
        }
        for (int y = 0; y < h; ++y) {
            push(0, y);
            push(w - 1, y);
        }
        while (!todo.empty()) {
            const QPoint p = todo.back();
            todo.pop_back();
            push(p.x() + 1, p.y());
            push(p.x() - 1, p.y());
            push(p.x(), p.y() + 1);
            push(p.x(), p.y() - 1);
        }
        int holes = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                holes += skin.pixel(x, y) == Black && !seen[size_t(y * w + x)];
        return holes;
    }

    struct Wav {
        quint16 format = 0, channels = 0, bits = 0;
        quint32 rate = 0;
        std::vector<qint16> samples;
    };

    static Wav readWav(const QByteArray &bytes)
    {
        Wav wav;
        if (bytes.size() < 44 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE")
            return wav;
        int at = 12;
        while (at + 8 <= bytes.size()) {
            const QByteArray id = bytes.mid(at, 4);
            const quint32 size = qFromLittleEndian<quint32>(bytes.constData() + at + 4);
            const char *body = bytes.constData() + at + 8;
            if (at + 8 + qint64(size) > bytes.size())
                return Wav{};
            if (id == "fmt ") {
                wav.format = qFromLittleEndian<quint16>(body);
                wav.channels = qFromLittleEndian<quint16>(body + 2);
                wav.rate = qFromLittleEndian<quint32>(body + 4);
                wav.bits = qFromLittleEndian<quint16>(body + 14);
            } else if (id == "data") {
                for (quint32 i = 0; i + 1 < size; i += 2)
                    wav.samples.push_back(qFromLittleEndian<qint16>(body + i));
            }
            at += 8 + int(size) + int(size % 2);
        }
        return wav;
    }

private Q_SLOTS:
    void skins_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("cutOut");
        QTest::addColumn<QList<QPoint>>("kept"); // points that must stay part of the window
        QTest::newRow("message") << "prompt2_skin.png" << QSize(384, 64) << true
                                 << QList<QPoint>{{192, 32}, {3, 32}, {380, 32}, {192, 1}};
        QTest::newRow("progress") << "guager_skin.png" << QSize(350, 50) << true
                                  << QList<QPoint>{{175, 26}, {2, 25}, {347, 25}};
        QTest::newRow("about") << "splash_skin.png" << QSize(367, 233) << false
                               << QList<QPoint>{{0, 0}, {366, 232}, {183, 116}};
        QTest::newRow("start-up splash") << "ondrelsplash_skin.png" << QSize(312, 301) << true
                                         << QList<QPoint>{{156, 2}, {156, 150}, {2, 175}, {309, 175}};
        QTest::newRow("frame grabber") << "grabber_skin.png" << QSize(561, 390) << true
                                       << QList<QPoint>{{280, 2}, {346, 170}, {2, 195}, {558, 195}};
    }
    void skins()
    {
        QFETCH(QString, file);
        QFETCH(QSize, size);
        QFETCH(bool, cutOut);
        QFETCH(QList<QPoint>, kept);
        const QImage skin = QImage(DataFiles::path(file)).convertToFormat(QImage::Format_RGB32);
        QVERIFY2(!skin.isNull(), qPrintable(DataFiles::path(file)));
        QCOMPARE(skin.size(), size);
        for (const QPoint &p : std::as_const(kept))
            QVERIFY2(skin.pixel(p) != Black, qPrintable(QStringLiteral("%1,%2").arg(p.x()).arg(p.y())));
        int black = 0;
        for (int y = 0; y < skin.height(); ++y) {
            for (int x = 0; x < skin.width(); ++x) {
                if (skin.pixel(x, y) == Black) {
                    ++black;
                    continue;
                }
                // Drawn without antialiasing: next to a cut-out pixel there is only the hard outline.
                const bool besideCut = (x > 0 && skin.pixel(x - 1, y) == Black) ||
                                       (x + 1 < skin.width() && skin.pixel(x + 1, y) == Black) ||
                                       (y > 0 && skin.pixel(x, y - 1) == Black) ||
                                       (y + 1 < skin.height() && skin.pixel(x, y + 1) == Black);
                if (besideCut)
                    QCOMPARE(skin.pixel(x, y), Edge);
            }
        }
        if (cutOut) {
            QVERIFY(skin.pixel(0, 0) == Black); // the rounded corner goes
            QVERIFY(black > 0);
            QCOMPARE(unreachableBlack(skin), 0);
        } else {
            QCOMPARE(black, 0);
        }
    }

    // Every picture of a skinned window has its copy drawn at 2x for HiDPI screens, with the very same
    // outline: a pixel of the 2x copy is the key colour exactly where its 1x pixel is. And it is drawn
    // at 2x, not blown up: many of its 2x2 blocks hold more than one colour.
    void sharpCopies_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QColor>("key"); // invalid: nothing cut out
        const QColor black(Qt::black), none;
        for (const char *skin :
             {"scanner_skin", "settings_skin", "nameit_skin", "overwrite_skin", "prompt2_skin", "guager_skin",
              "ondrelsplash_skin", "grabber_skin", "sample_skin"})
            QTest::newRow(skin) << QString::fromLatin1(skin) + ".png" << black;
        QTest::newRow("picklist_skin") << "picklist_skin.png" << QColor(255, 255, 0);
        QTest::newRow("splash_skin") << "splash_skin.png" << none;
        // The button pictures: every other picture of the data folder but the program's icon.
        const QStringList pictures = QDir(DataFiles::folder()).entryList({"*.png"}, QDir::Files);
        QVERIFY(pictures.size() > 30);
        for (const QString &file : pictures)
            if (!file.contains("_skin") && !file.contains('@') && file != "tessaloom.png")
                QTest::newRow(qPrintable(file)) << file << none;
    }
    void sharpCopies()
    {
        QFETCH(QString, file);
        QFETCH(QColor, key);
        const QImage normal = QImage(DataFiles::path(file)).convertToFormat(QImage::Format_ARGB32);
        const QImage sharp = QImage(DataFiles::path(file, 2)).convertToFormat(QImage::Format_ARGB32);
        QVERIFY2(!normal.isNull(), qPrintable(DataFiles::path(file)));
        QVERIFY2(!sharp.isNull(), qPrintable(DataFiles::path(file, 2)));
        QCOMPARE(sharp.size(), normal.size() * 2);
        int blocks = 0, detailed = 0;
        for (int y = 0; y < normal.height(); ++y) {
            for (int x = 0; x < normal.width(); ++x) {
                const QRgb block[] = {sharp.pixel(2 * x, 2 * y), sharp.pixel(2 * x + 1, 2 * y),
                                      sharp.pixel(2 * x, 2 * y + 1), sharp.pixel(2 * x + 1, 2 * y + 1)};
                if (key.isValid()) {
                    const bool cut = normal.pixel(x, y) == key.rgb();
                    for (QRgb pixel : block)
                        QVERIFY2((pixel == key.rgb()) == cut,
                                 qPrintable(QStringLiteral("1x pixel %1,%2 %3 cut out, its 2x block %4")
                                                .arg(x)
                                                .arg(y)
                                                .arg(cut ? "is" : "is not")
                                                .arg(cut ? "is not all" : "is partly")));
                    if (cut)
                        continue;
                }
                ++blocks;
                detailed += std::any_of(block + 1, block + 4, [&](QRgb p) { return p != block[0]; });
            }
        }
        QVERIFY2(detailed * 5 > blocks, qPrintable(QStringLiteral("%1 of %2").arg(detailed).arg(blocks)));
    }

    void okButtonPictures_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("raised") << "ok_button.png";
        QTest::newRow("pressed") << "ok_button_down.png";
    }
    void okButtonPictures()
    {
        QFETCH(QString, file);
        const QImage picture(DataFiles::path(file));
        QCOMPARE(picture.size(), QSize(42, 37));
        QVERIFY(picture.hasAlphaChannel());
        QCOMPARE(qAlpha(picture.pixel(0, 0)), 0); // rounded corner: the window shows through
        QCOMPARE(qAlpha(picture.pixel(21, 5)), 255);
        QVERIFY(QImage(DataFiles::path("ok_button.png")) != QImage(DataFiles::path("ok_button_down.png")));
    }

    void sounds_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<double>("shortest");
        QTest::addColumn<double>("longest");
        QTest::newRow("logo chime") << "logo.wav" << 1.0 << 2.5;
        QTest::newRow("error buzz") << "error.wav" << 0.25 << 1.0;
        QTest::newRow("shutter") << "SaveAVI.wav" << 0.1 << 0.6;
    }
    void sounds()
    {
        QFETCH(QString, file);
        QFETCH(double, shortest);
        QFETCH(double, longest);
        QFile in(DataFiles::path(file));
        QVERIFY2(in.open(QIODevice::ReadOnly), qPrintable(in.fileName()));
        const Wav wav = readWav(in.readAll());
        QCOMPARE(wav.format, quint16(1)); // PCM
        QCOMPARE(wav.bits, quint16(16));
        QCOMPARE(wav.channels, quint16(1));
        QCOMPARE(wav.rate, quint32(44100));
        const double seconds = double(wav.samples.size()) / wav.rate;
        QVERIFY2(seconds >= shortest && seconds <= longest, qPrintable(QString::number(seconds)));
        double peak = 0, energy = 0;
        for (qint16 s : wav.samples) {
            peak = std::max(peak, std::abs(s / 32768.0));
            energy += (s / 32768.0) * (s / 32768.0);
        }
        const double rms = std::sqrt(energy / wav.samples.size());
        QVERIFY2(peak > 0.4 && peak < 0.95, qPrintable(QString::number(peak))); // loud, never clipped
        QVERIFY2(rms > 0.02, qPrintable(QString::number(rms)));
        // Starts and ends at rest, so it does not click.
        QVERIFY(std::abs(wav.samples.front()) < 300);
        QVERIFY(std::abs(wav.samples.back()) < 300);
    }
};

QTEST_GUILESS_MAIN(TestWindowArtwork)
#include "tst_WindowArtwork.moc"
