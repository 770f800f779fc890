#include "generator/ConsoleUi.h"

#include "core/MainState.h"
#include "core/MediaListing.h"
#include "core/PageOptions.h"
#include "generator/GenerationRun.h"
#include "support/RunFixtures.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <cstdlib>

// A stream in memory, read back as text.
class CapturedStream
{
public:
    CapturedStream() { m_file = open_memstream(&m_buffer, &m_size); }
    ~CapturedStream()
    {
        std::fclose(m_file);
        std::free(m_buffer);
    }
    CapturedStream(const CapturedStream &) = delete;
    CapturedStream &operator=(const CapturedStream &) = delete;
    std::FILE *file() const { return m_file; }
    QString text()
    {
        std::fflush(m_file);
        return QString::fromLocal8Bit(m_buffer, qsizetype(m_size));
    }

private:
    char *m_buffer = nullptr;
    size_t m_size = 0;
    std::FILE *m_file = nullptr;
};

// The command-line maker's set-up: the same run, answered on the console.
struct ConsoleWorld {
    QTemporaryDir root;
    QString folder = root.filePath("pics");
    RunFolderRows rows{folder};
    PageOptions options;
    MainState state;
    MediaListing listing{rows, options, state};
    CapturedStream out, err;
    ConsoleUi ui;
    GenerationRun run;

    explicit ConsoleWorld(bool overwrite)
        : ui(options, overwrite, out.file(), err.file()),
          run(listing, options, state, ui, nullptr, [](const QString &) { return QString(); })
    {
        QDir().mkpath(folder);
        listing.setCurrentFolder(folder);
        options.setShownamebox(false);
        options.setPreviewit(false);
        ui.setSelectFirstRow([this] {
            rows.reread();
            rows.select(0);
            listing.FileListBoxSHChange();
        });
    }
    QString path(const QString &name) const { return JoinFolderFile(folder, name); }
};

class TestConsoleUi : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void newPage();
    void existingPage_data();
    void existingPage();
    void errorsGoToTheErrorStream();
    void nameIsTakenFromTheOptions();
};

void TestConsoleUi::newPage()
{
    ConsoleWorld w(false);
    QVERIFY(runWriteJpeg(w.path("a.jpg"), 40, 30));
    w.rows.reread();
    w.listing.chooseKind(mkJpg);
    w.run.WebButtonClick();
    QCOMPARE(w.out.text(), w.path("MediaPage.htm") + " was created.\n");
    QCOMPARE(w.err.text(), QString());
    QVERIFY(!w.ui.hadErrors());
    QVERIFY(QFile::exists(w.path("MediaPage.htm")));
    QVERIFY(QFile::exists(w.path("sm_a.jpg")));
}

void TestConsoleUi::existingPage_data()
{
    QTest::addColumn<bool>("overwrite");
    QTest::newRow("kept without the flag") << false;
    QTest::newRow("replaced with the flag") << true;
}

void TestConsoleUi::existingPage()
{
    QFETCH(bool, overwrite);
    ConsoleWorld w(overwrite);
    QVERIFY(runWriteJpeg(w.path("a.jpg"), 40, 30));
    QVERIFY(runWriteBytes(w.path("MediaPage.htm"), "old page"));
    w.rows.reread();
    w.listing.chooseKind(mkJpg);
    w.run.WebButtonClick();
    const QString asked = w.path("MediaPage.htm") + " already exists... Overwrite?";
    if (overwrite) {
        QCOMPARE(w.out.text(), asked + " Yes.\n" + w.path("MediaPage.htm") + " was created.\n");
        QVERIFY(runReadBytes(w.path("MediaPage.htm")).startsWith("<HTML>"));
    } else {
        QCOMPARE(w.out.text(), asked + " No.\n");
        QCOMPARE(runReadBytes(w.path("MediaPage.htm")), QByteArray("old page"));
    }
    QCOMPARE(w.err.text(), QString());
}

void TestConsoleUi::errorsGoToTheErrorStream()
{
    ConsoleWorld w(true);
    QVERIFY(runWriteJpeg(w.path("a.jpg"), 40, 30));
    QVERIFY(runWriteBytes(w.path("x.jpg"), "no picture"));
    w.rows.reread();
    w.listing.chooseKind(mkJpg);
    w.run.WebButtonClick();
    QCOMPARE(w.err.text(), QStringLiteral("Error loading file (X.JPG)\n"));
    QCOMPARE(w.out.text(), QString());
    QVERIFY(w.ui.hadErrors());

    // An overwrite that cannot be written is an error too.
    ConsoleWorld linked(true);
    QVERIFY(runWriteJpeg(linked.path("a.jpg"), 40, 30));
    QVERIFY(QFile::link(linked.root.filePath("elsewhere"), linked.path("MediaPage.htm")));
    linked.rows.reread();
    linked.listing.chooseKind(mkJpg);
    linked.run.WebButtonClick();
    QVERIFY(linked.err.text().startsWith("Can not write the page " + linked.path("MediaPage.htm")));
    QVERIFY(!QFile::exists(linked.root.filePath("elsewhere")));
    QVERIFY(linked.ui.hadErrors());
}

void TestConsoleUi::nameIsTakenFromTheOptions()
{
    ConsoleWorld w(false);
    QVERIFY(runWriteJpeg(w.path("a.jpg"), 40, 30));
    w.options.setShownamebox(true); // even if asked, the console has no dialog
    w.options.setWebNameEdit("index.htm");
    w.options.setNameIncrement("12");
    w.rows.reread();
    w.listing.chooseKind(mkJpg);
    w.run.WebButtonClick();
    QVERIFY(QFile::exists(w.path("index12.htm")));
    QCOMPARE(w.options.NameIncrement(), QStringLiteral("13"));
}

QTEST_GUILESS_MAIN(TestConsoleUi)
#include "tst_ConsoleUi.moc"
