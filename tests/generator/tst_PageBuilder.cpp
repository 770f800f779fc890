// SPDX-License-Identifier: GPL-2.0-or-later
#include "generator/PageBuilder.h"

#include "core/PageOptions.h"
#include "generator/RunFeedback.h"
#include "support/PageFixtures.h"

#include <QLocale>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

namespace {

// Feedback that records what the builder asked for, and can act between cells as a user could.
class RecordingFeedback : public SilentFeedback
{
public:
    void progressSetMaximum(int maximum) override { events << QStringLiteral("max %1").arg(maximum); }
    void progressShow() override { events << QStringLiteral("show"); }
    void progressStep() override { events << QStringLiteral("step"); }
    void letEventsRun() override
    {
        events << QStringLiteral("events");
        if (onEvents)
            onEvents();
    }
    void showErrorBox(const QString &text) override { events << QStringLiteral("box ") + text; }
    void playSound(const QString &fileName) override { events << QStringLiteral("sound ") + fileName; }

    QStringList events;
    std::function<void()> onEvents;
};

// Options as after start-up with the given kind chosen and the first run's preparation applied.
void prepare(PageOptions &options, MediaKind kind)
{
    options.mediaKindChanged(mkGifJpg);
    if (kind != mkGifJpg)
        options.mediaKindChanged(kind);
}

void startRun(PageOptions &options, MediaKind kind)
{
    QVERIFY(options.prepareRun(kind));
    options.finishRunPreparation(kind);
}

QStringList lines(const char *text) { return QString::fromLatin1(text).split(QLatin1Char('\n')); }



} // namespace

class tst_PageBuilder : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString folder() const { return m_dir.path(); }
    void writeExampleFolder();
    QStringList build(PageOptions &options, const QStringList &names, MediaKind kind,
                      const QString &soundPicture = QStringLiteral("None"));
    QStringList cells(const QStringList &page) const;

private Q_SLOTS:
    void initTestCase();
    void samplePageByteForByte();
    void samplePageWithoutLabels();
    void samplePageHeightOnly();
    void rowsAndColumns_data();
    void rowsAndColumns();
    void cellFormsAndLabels_data();
    void cellFormsAndLabels();
    void sizeModes_data();
    void sizeModes();
    void percentModeByExtension_data();
    void percentModeByExtension();
    void percentProgressAndFailure();
    void fiveStartValuesReadOnce();
    void unreadableSizeIsReported();
    void headAndBody();
    void fiveGigabyteMovie();
    void fileSizeText_data();
    void fileSizeText();
    void percentSizeTextIgnoresLocale_data();
    void percentSizeTextIgnoresLocale();
    void backgroundName_data();
    void backgroundName();
    void moviePictureName_data();
    void moviePictureName();
};

void tst_PageBuilder::initTestCase()
{
    QVERIFY(m_dir.isValid());
    writeExampleFolder();
}

void tst_PageBuilder::writeExampleFolder()
{
    QVERIFY(PageFixtures::writeSampleFolder(m_dir.path()));
    QVERIFY(PageFixtures::write(m_dir.filePath("sq.jpg"), PageFixtures::jpeg(100, 100), 1024));
    QVERIFY(PageFixtures::write(m_dir.filePath("turned.jpg"), PageFixtures::jpeg(320, 120, 6), 1025));
    QVERIFY(PageFixtures::write(m_dir.filePath("clip.jpg"), PageFixtures::jpeg(160, 120)));
    QVERIFY(PageFixtures::write(m_dir.filePath("clip.avi"), QByteArray("RIFF"), 2048));
    QVERIFY(PageFixtures::write(m_dir.filePath("clip.mpg"), QByteArray("\0\0\1\xBA", 4), 1536));
    QVERIFY(PageFixtures::write(m_dir.filePath("note.gif"), PageFixtures::gif(40, 30)));
    QVERIFY(PageFixtures::write(m_dir.filePath("song.wav"), QByteArray("RIFF"), 3000));
    QVERIFY(PageFixtures::write(m_dir.filePath("readme.txt"), QByteArray("text")));
    QVERIFY(PageFixtures::write(m_dir.filePath("broken.jpg"), QByteArray("not a picture")));
}

QStringList tst_PageBuilder::build(PageOptions &options, const QStringList &names, MediaKind kind,
                                   const QString &soundPicture)
{
    PageBuildInput input;
    input.folder = folder();
    input.names = names;
    input.kind = kind;
    input.soundPictureName = soundPicture;
    QStringList memo;
    SilentFeedback feedback;
    const PageBuildResult result = BuildWebSource(input, options, memo, feedback);
    if (!result.ok)
        qWarning() << result.error;
    return memo;
}

// The lines between the table head and the table end that are not row lines.
QStringList tst_PageBuilder::cells(const QStringList &page) const
{
    QStringList out;
    for (const QString &line : page)
        if (line.startsWith(QLatin1String("<TD>")) || line.startsWith(QLatin1String("<BR>")))
            out << line;
    return out;
}

void tst_PageBuilder::samplePageByteForByte()
{
    PageOptions options;
    prepare(options, mkGifJpg);
    options.setColumnEdit(2);
    options.setPLabelStatus(true);
    options.setPLabelSize(true);
    startRun(options, mkGifJpg);
    QCOMPARE(options.SizeDivisor(), 2.0);

    const QStringList page = build(options, {"cat.jpg", "dog.gif", "owl.jpg"}, mkGifJpg);
    QCOMPARE(page, lines(PageFixtures::samplePage()));
    QByteArray expected = QByteArray(PageFixtures::samplePage()).replace("\n", "\r\n") + "\r\n";
    QCOMPARE(pageBytes(page), expected);
    QCOMPARE(options.ColumnEdit(), 2);
}

void tst_PageBuilder::samplePageWithoutLabels()
{
    PageOptions options;
    prepare(options, mkGifJpg);
    options.setColumnEdit(2);
    startRun(options, mkGifJpg);
    const QStringList page = build(options, {"cat.jpg", "dog.gif", "owl.jpg"}, mkGifJpg);
    QCOMPARE(cells(page), QStringList({
        R"(<TD><A HREF="cat.jpg"><IMG SRC="sm_cat.jpg" ALT="cat.jpg" HEIGHT=300 WIDTH=400 BORDER=0></A></TD>)",
        R"(<TD><A HREF="dog.gif"><IMG SRC="dog.gif" ALT="dog.gif" HEIGHT=45.5 WIDTH=60.5 BORDER=0></A></TD>)",
        R"(<TD><A HREF="owl.jpg"><IMG SRC="sm_owl.jpg" ALT="owl.jpg" HEIGHT=240 WIDTH=320 BORDER=0></A></TD>)"}));
    QCOMPARE(page.size(), 24);
}

void tst_PageBuilder::samplePageHeightOnly()
{
    PageOptions options;
    prepare(options, mkGifJpg);
    options.setColumnEdit(2);
    options.setPLabelStatus(true);
    options.setPLabelSize(true);
    startRun(options, mkGifJpg);
    options.setHeightEdit(100);
    QStringList expected = lines(PageFixtures::samplePage());
    expected[12] = R"(<TD><A HREF="cat.jpg"><IMG SRC="sm_cat.jpg" ALT="cat.jpg" HEIGHT=100 BORDER=0></A>)";
    expected[15] = R"(<TD><A HREF="dog.gif"><IMG SRC="dog.gif" ALT="dog.gif" HEIGHT=100 BORDER=0></A>)";
    expected[21] = R"(<TD><A HREF="owl.jpg"><IMG SRC="sm_owl.jpg" ALT="owl.jpg" HEIGHT=100 BORDER=0></A>)";
    QCOMPARE(build(options, {"cat.jpg", "dog.gif", "owl.jpg"}, mkGifJpg), expected);
}

void tst_PageBuilder::rowsAndColumns_data()
{
    QTest::addColumn<int>("files");
    QTest::addColumn<int>("columns");
    QTest::addColumn<QList<int>>("fullRowCells"); // cells of each R1 row
    QTest::addColumn<int>("lastRowCells");        // cells of the R2 row, 0: none
    QTest::addColumn<int>("columnsAfter");
    QTest::newRow("1 file, 5 columns") << 1 << 5 << QList<int>{1} << 0 << 1;
    QTest::newRow("7 files, 3 columns") << 7 << 3 << QList<int>{3, 3} << 1 << 3;
    QTest::newRow("6 files, 3 columns") << 6 << 3 << QList<int>{3, 3} << 0 << 3;
    QTest::newRow("3 files, 4 columns") << 3 << 4 << QList<int>{3} << 0 << 3;
    QTest::newRow("5 files, 1 column") << 5 << 1 << QList<int>{1, 1, 1, 1, 1} << 0 << 1;
    QTest::newRow("5 files, 2 columns") << 5 << 2 << QList<int>{2, 2} << 1 << 2;
}

void tst_PageBuilder::rowsAndColumns()
{
    QFETCH(int, files);
    QFETCH(int, columns);
    QFETCH(QList<int>, fullRowCells);
    QFETCH(int, lastRowCells);
    QFETCH(int, columnsAfter);
    PageOptions options;
    prepare(options, mkJpg);
    options.setThumbnailer(false); // no percentage: nothing is measured
    options.setColumnEdit(columns);
    QStringList names;
    for (int i = 1; i <= files; ++i)
        names << QStringLiteral("f%1.jpg").arg(i);
    const QStringList page = build(options, names, mkJpg);
    QCOMPARE(options.ColumnEdit(), columnsAfter);

    // Walk the table: every row opens, holds its cells in list order, closes with R3 and the R4 blank line.
    qsizetype at = page.indexOf(QStringLiteral("<TABLE BORDER=0 WIDTH=\"100%\" >")) + 1;
    int next = 1;
    const auto row = [&](const QString &head, int count) {
        QCOMPARE(page.value(at++), head);
        for (int c = 0; c < count; ++c)
            QCOMPARE(page.value(at++), QStringLiteral("<TD><A HREF=\"f%1.jpg\"><IMG SRC=\"f%1.jpg\" ALT=\"f%1.jpg\" "
                                                      "BORDER=0></A></TD>").arg(next++));
        QCOMPARE(page.value(at++), QStringLiteral("</TR>"));
        QCOMPARE(page.value(at++), QStringLiteral(" "));
    };
    for (int count : fullRowCells)
        row(QStringLiteral("<TR ALIGN=CENTER VALIGN=BOTTOM>"), count);
    if (lastRowCells > 0)
        row(QStringLiteral("<TR ALIGN=CENTER>"), lastRowCells);
    QCOMPARE(page.mid(at), QStringList({"</TABLE>", "</CENTER>", "</BODY>", "</HTML>"}));
    QCOMPARE(next, files + 1);
}

void tst_PageBuilder::cellFormsAndLabels_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("soundPicture");
    QTest::addColumn<bool>("thumbnails");
    QTest::addColumn<bool>("labelName");
    QTest::addColumn<bool>("labelSize");
    QTest::addColumn<QStringList>("expected");
    const QString c = QStringLiteral("<BR><B><FONT COLOR=\"#FFFFFF\">");
    const auto img = [](const char *name, const char *image, const char *tail) {
        return QStringLiteral("<TD><A HREF=\"%1\"><IMG SRC=\"%2\" ALT=\"%1\" BORDER=0></A>%3").arg(name, image, tail);
    };
    for (int labels = 0; labels < 4; ++labels) {
        const bool name = labels & 1, size = labels & 2;
        const char *tag = labels == 0 ? "no labels" : labels == 1 ? "name" : labels == 2 ? "size" : "name and size";
        const auto withLabels = [&](const QString &cell, const char *file, const char *sizeText) {
            QStringList out{cell + (name || size ? "" : "</TD>")};
            if (name)
                out << c + file + "</FONT></B>" + (size ? "" : "</TD>");
            if (size)
                out << c + "Size: " + sizeText + "</FONT></B></TD>";
            return out;
        };
        QTest::addRow("picture, thumbnail, %s", tag)
            << int(mkJpg) << "cat.jpg" << "None" << true << name << size
            << withLabels(img("cat.jpg", "sm_cat.jpg", ""), "cat.jpg", "50.0 kb");
        QTest::addRow("picture, no thumbnail, %s", tag)
            << int(mkJpg) << "cat.jpg" << "None" << false << name << size
            << withLabels(img("cat.jpg", "cat.jpg", ""), "cat.jpg", "50.0 kb");
        QTest::addRow("gif never a thumbnail, %s", tag)
            << int(mkGifJpg) << "dog.gif" << "None" << true << name << size
            << withLabels(img("dog.gif", "dog.gif", ""), "dog.gif", "2.95 kb");
        QTest::addRow("avi movie, %s", tag) << int(mkAvi) << "clip.avi" << "None" << true << name << size
                                            << withLabels(img("clip.avi", "clip.jpg", ""), "clip.avi", "2.0 kb");
        QTest::addRow("mpg movie, %s", tag) << int(mkMpg) << "clip.mpg" << "None" << true << name << size
                                            << withLabels(img("clip.mpg", "clip.jpg", ""), "clip.mpg", "1.51 kb");
        QTest::addRow("sound picture, %s", tag)
            << int(mkWav) << "song.wav" << "note.gif" << true << name << size
            << withLabels(img("song.wav", "note.gif", ""), "song.wav", "2.95 kb");
        QStringList text{QStringLiteral("<TD><A HREF=\"song.wav\"> song.wav</A>") + (size ? "" : "</TD>")};
        if (size)
            text << c + "Size: 2.95 kb</FONT></B></TD>";
        QTest::addRow("sound text, %s", tag) << int(mkWav) << "song.wav" << "None" << true << name << size << text;
    }
}

void tst_PageBuilder::cellFormsAndLabels()
{
    QFETCH(int, kind);
    QFETCH(QString, name);
    QFETCH(QString, soundPicture);
    QFETCH(bool, thumbnails);
    QFETCH(bool, labelName);
    QFETCH(bool, labelSize);
    PageOptions options;
    prepare(options, MediaKind(kind));
    options.setThumbnailer(thumbnails);
    options.clearPercentMarks(); // szNone: the form follows the kind
    options.setPLabelStatus(labelName);
    options.setPLabelSize(labelSize);
    QTEST(cells(build(options, {name}, MediaKind(kind), soundPicture)), "expected");
}

void tst_PageBuilder::sizeModes_data()
{
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("percent"); // entry to click, -1: none
    QTest::addColumn<QString>("sizes");
    QTest::newRow("szBoth") << 40 << 30 << -1 << " HEIGHT=40 WIDTH=30";
    QTest::newRow("szWidthOnly") << 0 << 150 << -1 << " WIDTH=150";
    QTest::newRow("szHeightOnly") << 100 << 0 << -1 << " HEIGHT=100";
    QTest::newRow("szNone") << 0 << 0 << -1 << "";
    QTest::newRow("szPercent 50") << 0 << 0 << 0 << " HEIGHT=50 WIDTH=50";
    QTest::newRow("szPercent 33") << 0 << 0 << 1 << " HEIGHT=33.3333333333333 WIDTH=33.3333333333333";
    QTest::newRow("szPercent 25") << 0 << 0 << 2 << " HEIGHT=25 WIDTH=25";
    QTest::newRow("szPercent 20") << 0 << 0 << 3 << " HEIGHT=20 WIDTH=20";
    QTest::newRow("szPercent 10") << 0 << 0 << 4 << " HEIGHT=10 WIDTH=10";
}

void tst_PageBuilder::sizeModes()
{
    QFETCH(int, height);
    QFETCH(int, width);
    QFETCH(int, percent);
    QFETCH(QString, sizes);
    PageOptions options;
    prepare(options, mkJpg);
    options.setThumbnailer(false);
    if (percent >= 0)
        options.choosePercent(percent); // also turns thumbnails on
    options.setHeightEdit(height);
    options.setWidthEdit(width);
    const QString image = percent >= 0 ? QStringLiteral("sm_sq.jpg") : QStringLiteral("sq.jpg");
    QCOMPARE(cells(build(options, {"sq.jpg"}, mkJpg)),
             QStringList(QStringLiteral("<TD><A HREF=\"sq.jpg\"><IMG SRC=\"%1\" ALT=\"sq.jpg\"%2 BORDER=0></A></TD>")
                             .arg(image, sizes)));
}

void tst_PageBuilder::percentModeByExtension_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("soundPicture");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("jpg, gif, avi, mpg and a wav in a picture page")
        << int(mkGifJpg) << "None" << QStringList{"sq.jpg", "dog.gif", "clip.avi", "clip.mpg", "song.wav"}
        << QStringList{
               R"(<TD><A HREF="sq.jpg"><IMG SRC="sm_sq.jpg" ALT="sq.jpg" HEIGHT=50 WIDTH=50 BORDER=0></A></TD>)",
               R"(<TD><A HREF="dog.gif"><IMG SRC="dog.gif" ALT="dog.gif" HEIGHT=45.5 WIDTH=60.5 BORDER=0></A></TD>)",
               R"(<TD><A HREF="clip.avi"><IMG SRC="clip.jpg" ALT="clip.avi" HEIGHT=60 WIDTH=80 BORDER=0></A></TD>)",
               R"(<TD><A HREF="clip.mpg"><IMG SRC="clip.jpg" ALT="clip.mpg" HEIGHT=60 WIDTH=80 BORDER=0></A></TD>)",
               R"(<TD><A HREF="song.wav"> song.wav</A></TD>)"};
    QTest::newRow("orientation 6 measured as displayed")
        << int(mkJpg) << "None" << QStringList{"turned.jpg"}
        << QStringList{R"(<TD><A HREF="turned.jpg"><IMG SRC="sm_turned.jpg" ALT="turned.jpg" HEIGHT=160 WIDTH=60 BORDER=0></A></TD>)"};
    QTest::newRow("sound picture measured and divided")
        << int(mkWav) << "note.gif" << QStringList{"song.wav"}
        << QStringList{R"(<TD><A HREF="song.wav"><IMG SRC="note.gif" ALT="song.wav" HEIGHT=15 WIDTH=20 BORDER=0></A></TD>)"};
    QTest::newRow("unknown extension first: kind's form, no sizes")
        << int(mkJpg) << "None" << QStringList{"readme.txt", "sq.jpg"}
        << QStringList{R"(<TD><A HREF="readme.txt"><IMG SRC="sm_readme.txt" ALT="readme.txt" BORDER=0></A></TD>)",
                       R"(<TD><A HREF="sq.jpg"><IMG SRC="sm_sq.jpg" ALT="sq.jpg" HEIGHT=50 WIDTH=50 BORDER=0></A></TD>)"};
    QTest::newRow("unknown extension in a movie page")
        << int(mkAvi) << "None" << QStringList{"readme.txt"}
        << QStringList{R"(<TD><A HREF="readme.txt"><IMG SRC="readme.jpg" ALT="readme.txt" BORDER=0></A></TD>)"};
    QTest::newRow("no extension in a sound text page")
        << int(mkWav) << "None" << QStringList{"noext"} << QStringList{R"(<TD><A HREF="noext"> noext</A></TD>)"};
}

void tst_PageBuilder::percentModeByExtension()
{
    QFETCH(int, kind);
    QFETCH(QString, soundPicture);
    QFETCH(QStringList, names);
    PageOptions options;
    prepare(options, MediaKind(kind));
    if (soundPicture != QLatin1String("None")) {
        options.setSoundPick(m_dir.filePath(soundPicture));
        options.setSoundChoice(PageOptions::UsePicture, true);
    }
    options.choosePercent(0);
    startRun(options, MediaKind(kind));
    options.setColumnEdit(1);
    QTEST(cells(build(options, names, MediaKind(kind), soundPicture)), "expected");
}

void tst_PageBuilder::percentProgressAndFailure()
{
    PageOptions options;
    prepare(options, mkJpg);
    startRun(options, mkJpg);
    PageBuildInput input{folder(), {"sq.jpg", "readme.txt", "broken.jpg", "cat.jpg"}, mkJpg, "None"};
    QStringList memo;
    RecordingFeedback feedback;
    const PageBuildResult result = BuildWebSource(input, options, memo, feedback);
    QVERIFY(!result.ok);
    QCOMPARE(result.failedIndex, 2);
    QCOMPARE(result.failedName, QStringLiteral("broken.jpg"));
    QVERIFY2(result.error.startsWith(m_dir.filePath("broken.jpg") + ": not a JPEG file"), qPrintable(result.error));
    // Every cell of the mode shows the progress window; only measured pictures advance it.
    QCOMPARE(feedback.events, QStringList({"max 4", "show", "step", "events", "max 4", "show", "max 4", "show"}));
    // The lines built so far stay; nothing after the failed cell.
    QVERIFY(memo.join('\n').contains("HREF=\"readme.txt\""));
    QCOMPARE(memo.last(), QStringLiteral("<TR ALIGN=CENTER VALIGN=BOTTOM>"));
    QVERIFY(!memo.join('\n').contains("cat.jpg"));
}

void tst_PageBuilder::fiveStartValuesReadOnce()
{
    PageOptions options;
    prepare(options, mkJpg);
    startRun(options, mkJpg);
    RecordingFeedback feedback;
    // Between the first and the second cell the user changes options: the labels, the border and the
    // percentage take effect from the next cell; height, width, columns and the colours do not.
    feedback.onEvents = [&] {
        feedback.onEvents = nullptr;
        options.setPLabelStatus(true);
        options.setPictureBorderEdit(3);
        options.setTextColorValue(0x0000FF);
        options.choosePercent(4);
        options.setColumnEdit(1);
    };
    PageBuildInput input{folder(), {"sq.jpg", "cat.jpg"}, mkJpg, "None"};
    options.setColumnEdit(2);
    QStringList memo;
    QVERIFY(BuildWebSource(input, options, memo, feedback).ok);
    QCOMPARE(cells(memo), QStringList({
        R"(<TD><A HREF="sq.jpg"><IMG SRC="sm_sq.jpg" ALT="sq.jpg" HEIGHT=50 WIDTH=50 BORDER=0></A></TD>)",
        R"(<TD><A HREF="cat.jpg"><IMG SRC="sm_cat.jpg" ALT="cat.jpg" HEIGHT=60 WIDTH=80 BORDER=3></A>)",
        R"(<BR><B><FONT COLOR="#FFFFFF">cat.jpg</FONT></B></TD>)"}));
    QCOMPARE(memo.count(QStringLiteral("<TR ALIGN=CENTER VALIGN=BOTTOM>")), 1); // still two columns
}

void tst_PageBuilder::unreadableSizeIsReported()
{
    PageOptions options;
    prepare(options, mkJpg);
    options.setThumbnailer(false);
    options.setPLabelSize(true);
    PageBuildInput input{folder(), {"Gone.JPG"}, mkJpg, "None"};
    QStringList memo;
    RecordingFeedback feedback;
    QVERIFY(BuildWebSource(input, options, memo, feedback).ok);
    QCOMPARE(feedback.events, QStringList({"sound error.wav", "box Error loading file (gone.jpg)"}));
    QCOMPARE(cells(memo).last(), QStringLiteral(R"(<BR><B><FONT COLOR="#FFFFFF">Size: unknown</FONT></B></TD>)"));
}

void tst_PageBuilder::fiveGigabyteMovie()
{
    QTemporaryDir dir;
    QFile big(dir.filePath("big.avi"));
    QVERIFY(big.open(QIODevice::WriteOnly));
    QVERIFY(big.resize(Q_INT64_C(5368709120))); // sparse: no disk space taken
    big.close();
    PageOptions options;
    prepare(options, mkAvi);
    options.clearPercentMarks();
    options.setPLabelSize(true);
    PageBuildInput input{dir.path(), {"big.avi"}, mkAvi, "None"};
    QStringList memo;
    SilentFeedback feedback;
    QVERIFY(BuildWebSource(input, options, memo, feedback).ok);
    QCOMPARE(cells(memo).last(), QStringLiteral(R"(<BR><B><FONT COLOR="#FFFFFF">Size: 5120.0 mb</FONT></B></TD>)"));
}

void tst_PageBuilder::headAndBody()
{
    PageOptions options;
    prepare(options, mkJpg);
    options.setThumbnailer(false);
    options.setSoundChoice(PageOptions::UseUnderlineText, true);
    options.setTitleEdit(QStringLiteral("Caf\u00e9 & <Friends>"));
    options.setBackgroundfile(QStringLiteral("\"/home/u/my pics/bg one.gif\""));
    options.setBackgroundChoice(PageOptions::UseBackgroundPicture, true);
    options.setTableBorderEdit(4);
    options.setBackGroundColorValue(0x563412);
    const QStringList page = build(options, {"a.jpg"}, mkJpg);
    QCOMPARE(page.mid(0, 8), QStringList({"<HTML>", "<HEAD>", "<TITLE>Caf&#233; & <Friends></TITLE>",
                                          "<META NAME=\"Author\" CONTENT=\"Tessaloom 2001\">", "</HEAD>",
                                          "<BODY BACKGROUND=\"bg one.gif\">", "<CENTER>",
                                          "<TABLE BORDER=4 WIDTH=\"100%\" >"}));

    options.setBackgroundChoice(PageOptions::UseBackgroundColor, true);
    options.setSoundChoice(PageOptions::UseText, true);
    const QStringList colour = build(options, {"a.jpg"}, mkJpg);
    QCOMPARE(colour.mid(4, 5), QStringList({"<STYLE>", "    A{text-decoration:none}", "</STYLE>", "</HEAD>",
                                            "<body text=\"#FFFFFF\" bgcolor=\"#123456\" link=\"#FF0000\" "
                                            "vlink=\"#0000FF\" alink=\"#FF0000\">"}));
}

void tst_PageBuilder::fileSizeText_data()
{
    QTest::addColumn<qint64>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("0") << qint64(0) << "0 bytes";
    QTest::newRow("1024") << qint64(1024) << "1024 bytes";
    QTest::newRow("1025") << qint64(1025) << "1.1 kb";
    QTest::newRow("1536") << qint64(1536) << "1.51 kb";
    QTest::newRow("2048") << qint64(2048) << "2.0 kb";
    QTest::newRow("3000") << qint64(3000) << "2.95 kb";
    QTest::newRow("1048575") << qint64(1048575) << "1023.10 kb";
    QTest::newRow("1048576") << qint64(1048576) << "1.0 mb";
    QTest::newRow("1100000") << qint64(1100000) << "1.51 mb";
    QTest::newRow("5368709120") << qint64(5368709120) << "5120.0 mb";
}

void tst_PageBuilder::fileSizeText()
{
    QFETCH(qint64, bytes);
    QTEST(FileSizeText(bytes), "text");
}

void tst_PageBuilder::percentSizeTextIgnoresLocale_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("480/2") << 480.0 / 2 << "240";
    QTest::newRow("121/2") << 121.0 / 2 << "60.5";
    QTest::newRow("100/3") << 100.0 / 3 << "33.3333333333333";
    QTest::newRow("65535/10") << 65535.0 / 10 << "6553.5";
    QTest::newRow("1/3") << 1.0 / 3 << "0.333333333333333";
    QTest::newRow("0") << 0.0 << "0";
}

void tst_PageBuilder::percentSizeTextIgnoresLocale()
{
    QFETCH(double, value);
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const QString text = PercentSizeText(value);
    QLocale::setDefault(before);
    QTEST(text, "text");
}

void tst_PageBuilder::backgroundName_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("name");
    QTest::newRow("plain path") << "/home/u/Pics/bg.gif" << "bg.gif";
    QTest::newRow("quoted path") << "\"/home/u/Pics/bg.gif\"" << "bg.gif";
    QTest::newRow("quoted, with a blank") << "\"/home/u/my pics/b g.jpg\"" << "b g.jpg";
    QTest::newRow("quote inside a name") << "/home/u/say\"hi\".gif" << "say\"hi\".gif";
    QTest::newRow("no separator") << "bg.gif" << "";
    QTest::newRow("empty") << "" << "";
}

void tst_PageBuilder::backgroundName()
{
    QFETCH(QString, option);
    QTEST(BackgroundName(option), "name");
}

void tst_PageBuilder::moviePictureName_data()
{
    QTest::addColumn<QString>("movie");
    QTest::addColumn<QString>("picture");
    QTest::newRow("lower") << "clip.avi" << "clip.jpg";
    QTest::newRow("upper") << "CLIP.AVI" << "CLIP.jpg";
    QTest::newRow("mpg") << "a b.mpg" << "a b.jpg";
    QTest::newRow("short") << "ab" << "jpg";
}

void tst_PageBuilder::moviePictureName()
{
    QFETCH(QString, movie);
    QTEST(MoviePictureName(movie), "picture");
}

QTEST_GUILESS_MAIN(tst_PageBuilder)
#include "tst_PageBuilder.moc"
