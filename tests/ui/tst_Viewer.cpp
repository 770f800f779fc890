// SPDX-License-Identifier: GPL-2.0-or-later
// The viewer window on the offscreen platform, over real files in a real folder: the page chosen for
// each kind, the texts of every panel, the failure path for damaged files, sounds, and the menu.
#include "core/MediaListing.h"
#include "core/PageOptions.h"
#include "platform/SoundPlayer.h"
#include "platform/UserSettings.h"
#include "support/ThumbFixtures.h"
#include "support/ViewerFixtures.h"
#include "support/WndToneWav.h"
#include "ui/FileListView.h"
#include "ui/Scanner.h"
#include "ui/ScannerControls.h"
#include "ui/ViewerDisplay.h"
#include "ui/kit/FormDialogs.h"
#include "ui/main.h"
#include "viewing/GifPlayer.h"
#include "viewing/ViewerTexts.h"

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QScopeGuard>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>

namespace
{

struct RecordedMessages final : MessagePort {
    QStringList texts;
    void showMessage(const QString &text) override { texts << text; }
};

struct ChosenColour final : FormDialogs {
    std::optional<QColor> answer;
    QColor offered;
    QString askFile(QWidget *, const QString &, const QString &) override { return {}; }
    std::optional<QColor> askColor(QWidget *, const QColor &start) override
    {
        offered = start;
        return answer;
    }
    void showError(QWidget *, const QString &) override {}
};

using Files = QList<QPair<QString, QByteArray>>;

QImage photo()
{
    return ThumbFixtures::photoPicture({40, 30});
}

// A main window over a folder of media, with the viewer its View button makes.
struct Fixture {
    QTemporaryDir dir;
    PageOptions options;
    TMainForm form{options};
    RecordedMessages messages;
    SoundPlayer errorSounds;
    QStringList soundsRequested;
    ChosenColour colours;

    explicit Fixture(const Files &files)
    {
        for (const auto &[name, bytes] : files)
            ThumbFixtures::writeFile(dir.filePath(name), bytes);
        form.setMessagePort(&messages);
        form.setViewerFactory([this] {
            auto *viewer = new TMainForm2(form, messages, &errorSounds);
            viewer->setDialogs(&colours);
            return viewer;
        });
        QObject::connect(&errorSounds, &SoundPlayer::playRequested,
                         [this](const QString &name) { soundsRequested << name; });
    }
    FileListView *list() const { return form.controls().FileListBoxSH; }
    TMainForm2 *viewer() const { return qobject_cast<TMainForm2 *>(form.viewerWindow()); }

    bool open(int kind, int rows)
    {
        form.show();
        if (!QTest::qWaitForWindowExposed(&form) || !form.selectFolder(dir.path()))
            return false;
        form.Timer1Timer();
        form.chooseKind(kind);
        return QTest::qWaitFor([&] { return form.listing().FileListBox().size() == rows; });
    }
    // Every file of the folder in the list, whatever the kind's masks say.
    bool openAll(int rows)
    {
        form.show();
        if (!QTest::qWaitForWindowExposed(&form) || !form.selectFolder(dir.path()))
            return false;
        form.Timer1Timer();
        list()->setMaskString("*.*");
        if (!QTest::qWaitFor([&] { return list()->rowCount() == rows; }))
            return false;
        form.listing().rebuildWorkingList();
        return form.listing().FileListBox().size() == rows;
    }
    bool click(const QString &name)
    {
        for (int row = 0; row < list()->rowCount(); ++row) {
            if (QFileInfo(list()->rowPath(row)).fileName() != name)
                continue;
            const QModelIndex index = list()->model()->index(row, 0, list()->rootIndex());
            list()->scrollTo(index);
            QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, list()->visualRect(index).center());
            return form.listing().ClickedFile() == name;
        }
        return false;
    }
    // Opens the folder on a kind, clicks the file and opens the viewer on it.
    bool view(int kind, const QString &name, int rows = -1)
    {
        if (rows < 0)
            rows = int(QDir(dir.path()).entryList(QDir::Files).size());
        if (!open(kind, rows) || !click(name))
            return false;
        form.ViewButton2Click();
        return viewer() && viewer()->isVisible();
    }
};

QStringList bottomTexts(const TMainForm2 *viewer)
{
    return {viewer->HeightPanel->text(), viewer->WidthPanel->text(), viewer->ColorPanel->text()};
}

const QStringList kInitialTexts{" Height - ", " Width - ", " Colors - "};

} // namespace

class tst_Viewer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path())); // "Fit to Window" is remembered here
    }

    void windowAtStart()
    {
        Fixture f({{"a.jpg", ThumbFixtures::jpeg(photo())}});
        QVERIFY(f.view(mkGifJpg, "a.jpg"));
        TMainForm2 *v = f.viewer();
        QCOMPARE(v->windowTitle(), QStringLiteral("Viewer"));
        QVERIFY(!(v->windowFlags() & Qt::FramelessWindowHint));
        QVERIFY(!v->windowIcon().isNull());
        QCOMPARE(v->size(), QSize(378, 296));
        QCOMPARE(v->pos(), QPoint(361, 104));
        QCOMPARE(v->palette().color(QPalette::Window), QColor(192, 192, 192));
        QCOMPARE(v->NameSizePanel->height(), 23);
        QCOMPARE(v->MediaWindowPanel->height(), 23);
        QVERIFY(v->NameSizePanel->font().bold());
        QCOMPARE(v->display->count(), 6);
        const QStringList captions{"NIL", "GIF", "JPG", "BMP", "WIN", "MCIPanel"};
        for (int page = 0; page < 6; ++page)
            QCOMPARE(v->display->widget(page)->objectName(), captions[page]);
        v->resize(401, 300);
        QCoreApplication::processEvents();
        // A quarter, a quarter and a half, give or take the layout's rounding of the odd pixel.
        QVERIFY(qAbs(v->HeightPanel->width() - 100) <= 1);
        QVERIFY(qAbs(v->WidthPanel->width() - 100) <= 1);
        QVERIFY(qAbs(v->ColorPanel->width() - 200) <= 1);
    }

    // Once made large, the viewer can be made small again: its panels hold no width of their own.
    void shrinksAgainAfterGrowing()
    {
        Fixture f({{"a.jpg", ThumbFixtures::jpeg(photo())}});
        QVERIFY(f.view(mkGifJpg, "a.jpg"));
        TMainForm2 *v = f.viewer();
        v->resize(900, 400);
        QTRY_COMPARE(v->width(), 900);
        QCoreApplication::processEvents(); // the layout settles at the new width
        QVERIFY2(v->minimumWidth() < 378, qPrintable(QString::number(v->minimumWidth())));
        v->resize(378, 296);
        QTRY_COMPARE(v->size(), QSize(378, 296));
    }

    // The bottom panels show their whole text: large photos at the default size, and in a desktop
    // font half as large again.
    void panelsHoldTheirWholeText_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<qreal>("fontScale");
        QTest::newRow("large photo") << "big.jpg" << 1.0;
        QTest::newRow("large photo, larger desktop font") << "big.jpg" << 1.5;
        QTest::newRow("still gif, larger desktop font") << "one.gif" << 1.5;
    }
    void panelsHoldTheirWholeText()
    {
        QFETCH(QString, name);
        QFETCH(qreal, fontScale);
        const QFont desktop = QApplication::font();
        QFont larger = desktop;
        larger.setPointSizeF(desktop.pointSizeF() * fontScale);
        QApplication::setFont(larger);
        const auto restore = qScopeGuard([&desktop] { QApplication::setFont(desktop); });
        static const QByteArray big =
            ThumbFixtures::jpeg(ThumbFixtures::solidPicture({4000, 3000}, Qt::gray));
        Fixture f({{"big.jpg", big}, {"one.gif", ViewerFixtures::gif(5, 9, 256, 1)}});
        QVERIFY(f.view(mkGifJpg, name));
        TMainForm2 *v = f.viewer();
        QCOMPARE(v->currentFileName(), name);
        QCoreApplication::processEvents();
        for (const QLabel *panel : {v->HeightPanel, v->WidthPanel, v->ColorPanel}) {
            const int needed = panel->fontMetrics().horizontalAdvance(panel->text());
            QVERIFY2(panel->contentsRect().width() >= needed,
                     qPrintable(QStringLiteral("%1 \"%2\": %3 of %4 pixels")
                                    .arg(panel->objectName(), panel->text())
                                    .arg(panel->contentsRect().width())
                                    .arg(needed)));
        }
        QCOMPARE(v->HeightPanel->text(),
                 name == "big.jpg" ? QStringLiteral(" Height - 3000") : QStringLiteral(" Height - 9"));
        QVERIFY(v->HeightPanel->width() + v->WidthPanel->width() + v->ColorPanel->width() <= v->width());
    }

    void startsOnTheSoundPage()
    {
        PageOptions options;
        TMainForm form(options);
        RecordedMessages messages;
        TMainForm2 viewer(form, messages, nullptr);
        QCOMPARE(viewer.currentPage(), int(ViewerTexts::MciPage));
        QCOMPARE(bottomTexts(&viewer), kInitialTexts);
        QVERIFY(viewer.NameSizePanel->text().isEmpty());
        QVERIFY(viewer.Transparent1->isChecked());
        QVERIFY(!viewer.CenterPicture->isChecked());
        QVERIFY(viewer.GIF1->isTransparent());
        QVERIFY(!viewer.JPG->isTransparent());
    }

    void picturePanels_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("page");
        QTest::addColumn<QStringList>("panels"); // height, width, colours
        QTest::addColumn<QSize>("shown");
        QTest::newRow("animated gif")
            << "anim.gif" << ViewerFixtures::gif(33, 21, 16, 3) << 1
            << QStringList{" Height - 21", " Width - 33", " 16 Colors   3 Frame(s)"} << QSize(33, 21);
        QTest::newRow("still gif") << "one.GIF" << ViewerFixtures::gif(5, 9, 256, 1) << 1
                                   << QStringList{" Height - 9", " Width - 5", " 256 Colors   1 Frame(s)"}
                                   << QSize(5, 9);
        QTest::newRow("jpeg") << "photo.JPG" << ThumbFixtures::jpeg(photo()) << 2
                              << QStringList{" Height - 30", " Width - 40", " 16777216 Colors"}
                              << QSize(40, 30);
        ThumbFixtures::Jpeg turned;
        turned.orientation = 6;
        QTest::newRow("turned jpeg") << "turned.jpg" << ThumbFixtures::jpeg(photo(), turned) << 2
                                     << QStringList{" Height - 30", " Width - 40", " 16777216 Colors"}
                                     << QSize(40, 30);
        const QList<QPair<int, QString>> depths{{1, "2"},        {4, "16"},     {8, "256"},
                                                {15, "32768"},   {16, "65536"}, {24, "16777216"},
                                                {32, "16777216"}};
        for (const auto &[depth, colours] : depths)
            QTest::addRow("%d-bit bitmap", depth)
                << QString("b%1.bmp").arg(depth) << ViewerFixtures::bmp(12, 5, depth) << 3
                << QStringList{" Height - 5", " Width - 12", " " + colours + " Colors"} << QSize(12, 5);
        QTest::newRow("icon") << "app.ico" << ViewerFixtures::ico(photo().scaled(32, 32)) << 4
                              << kInitialTexts << QSize(32, 32);
        QTest::newRow("wmf") << "draw.wmf" << ViewerFixtures::wmf(60, 40) << 4 << kInitialTexts
                             << QSize(60, 40);
        QTest::newRow("emf") << "draw.EMF" << ViewerFixtures::emf(50, 30) << 4 << kInitialTexts
                             << QSize(50, 30);
        QTest::newRow("jpeg is no entry")
            << "photo.jpeg" << ThumbFixtures::jpeg(photo()) << 0 << QStringList{"", "", ""} << QSize();
    }
    void picturePanels()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(int, page);
        QFETCH(QStringList, panels);
        QFETCH(QSize, shown);
        Fixture f({{name, bytes}});
        QVERIFY(f.openAll(1));
        QVERIFY(f.click(name));
        f.form.ViewButton2Click();
        TMainForm2 *v = f.viewer();
        QVERIFY(v);
        QCOMPARE(v->currentPage(), page);
        QCOMPARE(v->currentFileName(), name.toLower());
        QCOMPARE(v->NameSizePanel->text(), ViewerTexts::nameSizeText(name, bytes.size()));
        QCOMPARE(bottomTexts(v), panels);
        QVERIFY2(f.messages.texts.isEmpty(), qPrintable(f.messages.texts.join('\n')));
        QVERIFY(f.soundsRequested.isEmpty());
        QVERIFY(f.form.isEnabled());
        const ViewerDisplay *displays[] = {nullptr, v->GIF1, v->JPG, v->BMP, v->WIN};
        if (page >= 1 && page <= 4)
            QCOMPARE(displays[page]->image().size(), shown);
    }

    void animatedGifRuns()
    {
        Fixture f({{"anim.gif", ViewerFixtures::gif(10, 10, 4, 3, true)},
                   {"still.gif", ViewerFixtures::gif(10, 10, 4, 1, true)}});
        QVERIFY(f.view(mkGif, "anim.gif"));
        TMainForm2 *v = f.viewer();
        QVERIFY(v->gifPlayer());
        QVERIFY(v->gifPlayer()->isRunning());
        QCOMPARE(v->gifPlayer()->currentHoldMs(), 50);
        QSet<QRgb> seen;
        QTRY_VERIFY_WITH_TIMEOUT((seen.insert(v->GIF1->image().pixel(5, 5)), seen.size() >= 3), 5000);
        QCOMPARE(v->GIF1->image(), v->gifPlayer()->currentFrame());
        // Transparent at start: the clear corner of a GIF lets the window show.
        QVERIFY(f.click("still.gif"));
        QVERIFY(!v->gifPlayer()->isRunning()); // a single frame is not animated
        QCOMPARE(qAlpha(v->GIF1->shownImage().pixel(0, 0)), 0);
        QCOMPARE(qAlpha(v->GIF1->shownImage().pixel(1, 0)), 255);
        v->Transparent1->trigger();
        QVERIFY(!v->Transparent1->isChecked());
        QCOMPARE(qAlpha(v->GIF1->shownImage().pixel(0, 0)), 255);
        QVERIFY(v->JPG->isTransparent() == false);
        v->Transparent1->trigger();
        QVERIFY(v->JPG->isTransparent());
    }

    // The animation and its frames go as soon as the viewer shows another file, or hides.
    void animationStopsWhenAnotherFileIsShown()
    {
        Fixture f({{"anim.gif", ViewerFixtures::gif(10, 10, 4, 3, true)},
                   {"pic.jpg", ThumbFixtures::jpeg(photo())}});
        QVERIFY(f.view(mkGifJpg, "anim.gif"));
        TMainForm2 *v = f.viewer();
        QVERIFY(v->gifPlayer());
        QVERIFY(v->gifPlayer()->isRunning());
        QVERIFY(f.click("pic.jpg"));
        QCOMPARE(v->currentPage(), 2);
        QVERIFY(!v->gifPlayer());
        QVERIFY(v->GIF1->image().isNull());

        QVERIFY(f.click("anim.gif"));
        QVERIFY(v->gifPlayer());
        QVERIFY(v->gifPlayer()->isRunning());
        v->hide();
        QVERIFY(!v->gifPlayer());
        QVERIFY(v->GIF1->image().isNull());
    }

    // A small file declaring a huge screen of 1x1 frames: its frames are composed no larger than the
    // desktop, so showing it holds a screenful, not the 100 MB of its declared screen.
    void hugeGifScreenCostsAScreenful()
    {
        QList<ViewerFixtures::GifFrame> frames;
        for (int i = 0; i < 1000; ++i) {
            ViewerFixtures::GifFrame frame;
            frame.rect = QRect(i * 5, i * 5, 1, 1);
            frame.indices = QByteArray(1, char(1 + i % 3));
            frame.delay = 0;
            frames << frame;
        }
        const QList<QRgb> colours{qRgb(0, 0, 0), qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255)};
        const QByteArray gif = ViewerFixtures::gifOf({5000, 5000}, colours, frames);
        QVERIFY(gif.size() < 32 * 1024);
        Fixture f({{"huge.gif", gif}});
        QVERIFY(f.view(mkGif, "huge.gif"));
        TMainForm2 *v = f.viewer();
        QCOMPARE(bottomTexts(v),
                 (QStringList{" Height - 5000", " Width - 5000", " 4 Colors   1000 Frame(s)"}));
        const QSize desktop = v->screen()->availableSize();
        const QSize shown = v->GIF1->image().size();
        QVERIFY2(shown.width() <= desktop.width() && shown.height() <= desktop.height() && !shown.isEmpty(),
                 qPrintable(QStringLiteral("%1x%2").arg(shown.width()).arg(shown.height())));
        QVERIFY(v->GIF1->image().sizeInBytes() <= qint64(desktop.width()) * desktop.height() * 4);
        QVERIFY(v->gifPlayer()->isRunning());
        // It animates: the frames follow one another, each held 100 ms for its zero delay.
        QCOMPARE(v->gifPlayer()->currentHoldMs(), 100);
        QTRY_VERIFY_WITH_TIMEOUT(v->gifPlayer()->currentFrameIndex() >= 2, 10000);
        QCOMPARE(v->GIF1->image().size(), shown);
    }

    // A damaged file of every kind: the error sound, the message, the main window enabled again, the
    // new name in the top bar, its page in front and nothing of another file left on it.
    void failurePath_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("page");
        const QByteArray gif = ViewerFixtures::gif(8, 8, 4, 2);
        const QByteArray bmp = ViewerFixtures::bmp(16, 16, 24);
        QTest::newRow("gif cut short") << "Cut.gif" << gif.left(gif.size() - 10) << 1;
        QTest::newRow("gif bomb") << "bomb.gif" << ViewerFixtures::gif(20000, 20000, 2, 0) << 1;
        QTest::newRow("gif of many frames") << "many.gif" << ViewerFixtures::gif(1, 1, 2, 1500) << 1;
        QTest::newRow("jpeg garbage") << "BAD.JPG" << QByteArray(500, 'j') << 2;
        const QByteArray jpeg = ThumbFixtures::jpeg(photo());
        QTest::newRow("jpeg cut short") << "half.jpg" << jpeg.left(jpeg.size() * 2 / 3) << 2;
        QTest::newRow("jpeg bomb") << "bomb.jpg" << ThumbFixtures::declaredSizeBomb(30000, 30000) << 2;
        QTest::newRow("bmp cut short") << "cut.bmp" << bmp.left(60) << 3;
        QTest::newRow("ico garbage") << "bad.ico" << QByteArray(40, '\x02') << 4;
        QTest::newRow("wmf garbage") << "bad.wmf" << QByteArray(40, '\x03') << 4;
        QTest::newRow("emf garbage") << "bad.emf" << QByteArray(40, '\x04') << 4;
        QTest::newRow("sound without picture") << "tune.rmi" << ViewerFixtures::midiTune() << 5;
    }
    void failurePath()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(int, page);
        Fixture f({{"good.jpg", ThumbFixtures::jpeg(photo())}, {name, bytes}});
        QVERIFY(f.openAll(2));
        QVERIFY(f.click("good.jpg"));
        f.form.ViewButton2Click();
        TMainForm2 *v = f.viewer();
        QVERIFY(v);
        QCOMPARE(v->JPG->image().size(), QSize(40, 30));
        QVERIFY(f.click(name));
        QCOMPARE(f.messages.texts, QStringList{"Error loading file (" + name.toLower() + ")"});
        QCOMPARE(f.soundsRequested, QStringList{"error.wav"});
        QVERIFY(f.form.isEnabled());
        QCOMPARE(f.form.cursor().shape(), Qt::ArrowCursor);
        QCOMPARE(v->NameSizePanel->text(), ViewerTexts::nameSizeText(name, bytes.size()));
        QCOMPARE(v->currentPage(), page);
        QCOMPARE(bottomTexts(v), kInitialTexts);
        const ViewerDisplay *displays[] = {nullptr, v->GIF1, v->JPG, v->BMP, v->WIN};
        if (page <= 4)
            QVERIFY(displays[page]->image().isNull());
        QVERIFY(!v->soundPlayer().isPlaying());
    }

    void busyWhileLoading()
    {
        Fixture f({{"a.jpg", ThumbFixtures::jpeg(photo())}, {"b.jpg", ThumbFixtures::jpeg(photo())}});
        QVERIFY(f.view(mkJpg, "a.jpg"));
        const Qt::CursorShape before = f.form.cursor().shape();
        const bool ownCursor = f.form.testAttribute(Qt::WA_SetCursor);
        bool enabled = true;
        Qt::CursorShape shape = Qt::ArrowCursor;
        connect(f.viewer(), &TMainForm2::loadStarted, this, [&] {
            enabled = f.form.isEnabled();
            shape = f.form.cursor().shape();
        });
        QVERIFY(f.click("b.jpg"));
        QVERIFY(!enabled);
        QCOMPARE(shape, Qt::WaitCursor);
        QVERIFY(f.form.isEnabled());
        QCOMPARE(f.form.cursor().shape(), before);
        QCOMPARE(f.form.testAttribute(Qt::WA_SetCursor), ownCursor);
    }

    // The size is read in 64 bits: a sparse file over 2 GiB gets its true figure.
    void hugeFileSize()
    {
        Fixture f({{"a.jpg", ThumbFixtures::jpeg(photo())}});
        QFile big(f.dir.filePath("big.jpg"));
        QVERIFY(big.open(QIODevice::WriteOnly));
        QVERIFY(big.resize((qint64(3) << 30) + 5));
        big.close();
        QVERIFY(f.view(mkJpg, "big.jpg"));
        QCOMPARE(f.viewer()->NameSizePanel->text(), QStringLiteral(" BIG.JPG    Size - 3072.5 MB"));
        QCOMPARE(f.messages.texts, QStringList{"Error loading file (big.jpg)"});
    }

    void sounds_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("wav") << "tone.WAV" << wndToneWav(0.5);
        QTest::newRow("mid") << "tune.mid" << ViewerFixtures::midiTune();
        QTest::newRow("mp3") << "tone.mp3" << ViewerFixtures::mp3Tone(0.5);
    }
    void sounds()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QVERIFY2(!bytes.isEmpty(), "the fixture could not be made");
        const int kind = name.endsWith(".mid") ? mkMid : name.endsWith(".mp3") ? mkMp3 : mkWav;
        Fixture f({{name, bytes}});
        QVERIFY(f.view(kind, name));
        TMainForm2 *v = f.viewer();
        QCOMPARE(v->currentPage(), 5);
        QCOMPARE(bottomTexts(v), (QStringList{"Height -", "Width -", "Colors -"}));
        QVERIFY(!v->SoundPic->pixmap().isNull());
        QVERIFY(v->soundPlayer().currentFile().endsWith(name));
        QSignalSpy finished(&v->soundPlayer(), &SoundPlayer::finished);
        QVERIFY(finished.wait(20000));
        QVERIFY2(f.messages.texts.isEmpty(), qPrintable(f.messages.texts.join('\n')));
    }

    void soundPlaysOnUnderAPicture()
    {
        Fixture f({{"long.wav", wndToneWav(6)},
                   {"other.wav", wndToneWav(6)},
                   {"pic.jpg", ThumbFixtures::jpeg(photo())}});
        QVERIFY(f.open(mkWav, 2));
        QVERIFY(f.click("long.wav"));
        f.form.ViewButton2Click();
        TMainForm2 *v = f.viewer();
        QTRY_VERIFY(v->soundPlayer().isPlaying());
        f.form.chooseKind(mkJpg);
        QTRY_COMPARE(f.form.listing().FileListBox().size(), 1);
        QVERIFY(f.click("pic.jpg"));
        QCOMPARE(v->currentPage(), 2);
        QVERIFY(v->soundPlayer().isPlaying());
        QVERIFY(v->soundPlayer().currentFile().endsWith("long.wav"));
        f.form.chooseKind(mkWav);
        QTRY_COMPARE(f.form.listing().FileListBox().size(), 2);
        QVERIFY(f.click("other.wav"));
        QVERIFY(v->soundPlayer().currentFile().endsWith("other.wav"));
        // Closing the viewer releases it with its sound; View works again at once.
        QPointer<SoundPlayer> player(&v->soundPlayer());
        v->close();
        QTRY_VERIFY(!player);
        QVERIFY(!f.form.state().ViewerOpen && !f.form.state().MWindowCheckBox);
        QVERIFY(f.click("other.wav"));
        f.form.ViewButton2Click();
        QVERIFY(f.viewer() && f.viewer()->isVisible());
        QVERIFY(f.viewer()->soundPlayer().currentFile().endsWith("other.wav"));
    }

    void unplayableSoundFails()
    {
        Fixture f({{"noise.wav", QByteArray(4000, '\x55')}});
        QVERIFY(f.view(mkWav, "noise.wav"));
        QTRY_COMPARE_WITH_TIMEOUT(f.messages.texts, QStringList{"Error loading file (noise.wav)"}, 10000);
        QCOMPARE(f.soundsRequested, QStringList{"error.wav"});
    }

    void menuItems()
    {
        Fixture f({{"a.jpg", ThumbFixtures::jpeg(photo())}});
        QVERIFY(f.view(mkJpg, "a.jpg"));
        TMainForm2 *v = f.viewer();
        QStringList captions;
        for (QAction *action : v->MWindowPopupMenu->actions())
            captions << (action->isSeparator() ? "-" : action->text());
        QCOMPARE(captions, (QStringList{"Transparent", "&Change Background Color",
                                        "&Toggle Window Front/Back", "-", "Center &Picture", "Fit to Window"}));
        // The colour dialog starts at light grey; a chosen colour becomes the background, a cancel keeps it.
        f.colours.answer = QColor(10, 120, 30);
        v->Color1->trigger();
        QCOMPARE(f.colours.offered, QColor(192, 192, 192));
        QCOMPARE(v->palette().color(QPalette::Window), QColor(10, 120, 30));
        f.colours.answer.reset();
        v->Color1->trigger();
        QCOMPARE(v->palette().color(QPalette::Window), QColor(10, 120, 30));
        // Front/back toggles staying on top; greyed while maximised.
        v->ToggleFrontBack1->trigger();
        QVERIFY(v->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(v->isVisible());
        v->ToggleFrontBack1->trigger();
        QVERIFY(!(v->windowFlags() & Qt::WindowStaysOnTopHint));
        v->showMaximized();
        Q_EMIT v->MWindowPopupMenu->aboutToShow();
        QVERIFY(!v->ToggleFrontBack1->isEnabled());
        v->showNormal();
        Q_EMIT v->MWindowPopupMenu->aboutToShow();
        QVERIFY(v->ToggleFrontBack1->isEnabled());
    }

    void jpegTransparencyClearsItsCornerColour()
    {
        QImage picture(20, 10, QImage::Format_RGB32);
        picture.fill(QColor(0, 0, 255));
        picture.setPixelColor(10, 5, QColor(255, 255, 0));
        ViewerDisplay display("JPG", ViewerDisplay::Clearing::BottomLeftColour);
        display.setImage(picture);
        QCOMPARE(qAlpha(display.shownImage().pixel(3, 3)), 255);
        display.setTransparent(true);
        QCOMPARE(qAlpha(display.shownImage().pixel(3, 3)), 0);
        QCOMPARE(qAlpha(display.shownImage().pixel(10, 5)), 255);
    }

    void centredPictures()
    {
        Fixture f({{"a.jpg", ThumbFixtures::jpeg(photo())},
                   {"b.jpg", ThumbFixtures::jpeg(ThumbFixtures::photoPicture({20, 16}))}});
        QVERIFY(f.view(mkJpg, "a.jpg"));
        TMainForm2 *v = f.viewer();
        if (v->FitToWindow->isChecked())
            v->FitToWindow->trigger(); // pictures at their own size, as before fitting existed
        const auto restoreFit = qScopeGuard([v] { v->FitToWindow->trigger(); });
        QCOMPARE(v->JPG->pictureRect().topLeft(), QPoint(0, 0));
        v->CenterPicture->trigger();
        QVERIFY(v->CenterPicture->isChecked());
        auto *area = qobject_cast<QScrollArea *>(v->display->widget(2));
        QTRY_COMPARE(v->JPG->size(), area->viewport()->size());
        QCOMPARE(v->JPG->pictureRect().center(), v->JPG->rect().center());
        QVERIFY(f.click("b.jpg")); // a newly loaded picture is centred too
        QCOMPARE(v->JPG->image().size(), QSize(20, 16));
        QTRY_COMPARE(v->JPG->pictureRect().center(), v->JPG->rect().center());
        QVERIFY(v->JPG->pictureRect().left() > 0);
        v->CenterPicture->trigger();
        QCOMPARE(v->JPG->pictureRect().topLeft(), QPoint(0, 0));
        QCOMPARE(v->JPG->size(), QSize(20, 16));
    }

    // "Fit to Window", on at first and remembered: a photo larger than the page is decoded at the DCT
    // scale that just covers the page and drawn within it, the panels giving its own size; off, it
    // shows whole at its own size with scroll bars.
    void fitToWindow()
    {
        UserSettings::open()->remove(QStringLiteral("Viewer/FitToWindow"));
        Fixture f({{"big.jpg", ThumbFixtures::jpeg(ThumbFixtures::photoPicture({1600, 1200}))},
                   {"small.jpg", ThumbFixtures::jpeg(photo())}});
        QVERIFY(f.view(mkJpg, "big.jpg"));
        TMainForm2 *v = f.viewer();
        QVERIFY(v->FitToWindow->isChecked());
        QVERIFY(v->MWindowPopupMenu->actions().contains(v->FitToWindow));
        QCOMPARE(v->FitToWindow->text(), QStringLiteral("Fit to Window"));
        auto *area = qobject_cast<QScrollArea *>(v->display->widget(2));
        QTRY_COMPARE(v->JPG->size(), area->viewport()->size());
        const QSize page = v->display->contentsRect().size();
        const QSize fitted = QSize(1600, 1200).scaled(page, Qt::KeepAspectRatio);
        // The smallest of 1/2, 1/4, 1/8 that still covers the fitted size.
        QSize decoded = QSize(1600, 1200);
        for (int d : {2, 4, 8})
            if (1600 / d >= fitted.width() && 1200 / d >= fitted.height())
                decoded = QSize(1600 / d, 1200 / d);
        QCOMPARE(v->JPG->image().size(), decoded);
        QVERIFY(decoded.width() < 1600);
        QCOMPARE(v->JPG->pictureRect().size(), fitted);
        QVERIFY(v->JPG->rect().contains(v->JPG->pictureRect()));
        QCOMPARE(bottomTexts(v), (QStringList{" Height - 1200", " Width - 1600", " 16777216 Colors"}));
        QVERIFY(!area->horizontalScrollBar()->isVisible() && !area->verticalScrollBar()->isVisible());

        QVERIFY(f.click("small.jpg")); // smaller than the page: its own size
        QCOMPARE(v->JPG->pictureRect().size(), QSize(40, 30));

        QVERIFY(f.click("big.jpg"));
        v->FitToWindow->trigger();
        QVERIFY(!v->FitToWindow->isChecked());
        QCOMPARE(v->JPG->image().size(), QSize(1600, 1200));
        QCOMPARE(v->JPG->pictureRect().size(), QSize(1600, 1200));
        QTRY_VERIFY(area->horizontalScrollBar()->maximum() > 0);
        QCOMPARE(bottomTexts(v), (QStringList{" Height - 1200", " Width - 1600", " 16777216 Colors"}));

        f.form.ViewButton2Click(); // closed, and opened again: the choice is remembered
        QTRY_VERIFY(!f.viewer());
        f.form.ViewButton2Click();
        QVERIFY(f.viewer());
        QVERIFY(!f.viewer()->FitToWindow->isChecked());
        f.viewer()->FitToWindow->trigger();
        QVERIFY(UserSettings::open()->value(QStringLiteral("Viewer/FitToWindow")).toBool());
    }

    void followsKindChanges()
    {
        Fixture f({{"a.gif", ViewerFixtures::gif(6, 4, 2, 1)}, {"b.jpg", ThumbFixtures::jpeg(photo())}});
        QVERIFY(f.view(mkGif, "a.gif", 1));
        TMainForm2 *v = f.viewer();
        QCOMPARE(v->currentPage(), 1);
        f.form.chooseKind(mkJpg);
        QTRY_COMPARE(f.form.listing().FileListBox(), QStringList{"b.jpg"});
        f.list()->setCurrentIndex(f.list()->model()->index(0, 0, f.list()->rootIndex()));
        f.form.listing().TypeofFileEvent();
        QCOMPARE(v->currentFileName(), QStringLiteral("b.jpg"));
        QCOMPARE(v->currentPage(), 2);
    }

private:
    QTemporaryDir m_config;
};

QTEST_MAIN(tst_Viewer)
#include "tst_Viewer.moc"
