// SPDX-License-Identifier: GPL-2.0-or-later
#include "core/PageOptions.h"

#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

// Each row: a kind, then a script of operations, then the state expected afterwards.
// Operations: "kind:N", "sound:picture|text|underline:on|off", "thumb:on|off", "pct:i", "h:N", "w:N",
// "border:N", "prep", "finish", "bg:color|picture:on|off".
class TestPageOptions : public QObject
{
    Q_OBJECT

    static void apply(PageOptions &o, const QString &op)
    {
        const QStringList p = op.split(':');
        const QString what = p[0];
        if (what == "kind")
            o.mediaKindChanged(MediaKind(p[1].toInt()));
        else if (what == "sound") {
            const PageOptions::SoundChoice c = p[1] == "picture" ? PageOptions::UsePicture
                                               : p[1] == "text"  ? PageOptions::UseText
                                                                 : PageOptions::UseUnderlineText;
            o.setSoundChoice(c, p[2] == "on");
        } else if (what == "thumb")
            o.setThumbnailer(p[1] == "on");
        else if (what == "pct")
            o.choosePercent(p[1].toInt());
        else if (what == "h")
            o.setHeightEdit(p[1].toInt());
        else if (what == "w")
            o.setWidthEdit(p[1].toInt());
        else if (what == "border")
            o.setPictureBorderEdit(p[1].toInt());
        else if (what == "prep")
            QVERIFY(o.prepareRun(o.mediaKind()));
        else if (what == "finish")
            o.finishRunPreparation(o.mediaKind());
        else if (what == "bg")
            o.setBackgroundChoice(p[1] == "color" ? PageOptions::UseBackgroundColor
                                                  : PageOptions::UseBackgroundPicture,
                                  p[2] == "on");
        else
            QFAIL(qPrintable("unknown operation " + op));
    }

    // "H W border enabled marks PercentIndex SizeDivisor Thumbnailer SoundLinkCode sound"
    static QString describe(const PageOptions &o)
    {
        QString marks;
        for (int i = 0; i < PageOptions::PercentCount; ++i)
            marks += o.isPercentMarked(i) ? QString::number(i) : QString();
        const char *sound = o.isUsePicture() ? "picture" : o.isUseText() ? "text" : "underline";
        return QStringLiteral("h%1 w%2 b%3 %4 marks[%5] pi%6 sd%7 th%8 code%9 %10")
            .arg(o.HeightEdit())
            .arg(o.WidthEdit())
            .arg(o.PictureBorderEdit())
            .arg(o.sizeEditorsEnabled() ? "en" : "dis")
            .arg(marks)
            .arg(o.PercentIndex())
            .arg(o.SizeDivisor())
            .arg(o.Thumbnailer() ? 1 : 0)
            .arg(o.SoundLinkCode())
            .arg(QLatin1String(sound));
    }

private Q_SLOTS:
    void defaults()
    {
        PageOptions o;
        QCOMPARE(o.WebNameEdit(), QStringLiteral("MediaPage.htm"));
        QCOMPARE(o.TitleEdit(), QStringLiteral("MediaPage"));
        QCOMPARE(o.NameIncrement(), QStringLiteral("0"));
        QVERIFY(o.isUseBackgroundColor() && !o.isUseBackgroundPicture());
        QCOMPARE(o.BackGroundColor() + o.TextColor() + o.LinkColor() + o.VisitedColor(),
                 QStringLiteral("000000FFFFFFFF00000000FF"));
        QVERIFY(o.Shownamebox() && !o.UsePickList() && o.HelpSystem() && o.DeleteThumbnail() && o.Previewit());
        QVERIFY(!o.PLabelStatus() && !o.PLabelSize());
        QCOMPARE(o.ColumnEdit(), 1);
        QCOMPARE(describe(o), QStringLiteral("h0 w0 b0 en marks[0] pi0 sd0 th1 code3 text"));
        QCOMPARE(PageOptions::percentCaption(4), QStringLiteral("10%  of Original Size"));
        QCOMPARE(PageOptions::percentCaption(0), QStringLiteral("50% of Original Size"));
        QCOMPARE(PageOptions::percentDivisor(3), 5);
    }

    void rules_data()
    {
        QTest::addColumn<QStringList>("ops");
        QTest::addColumn<QString>("state");
        QTest::newRow("turning the chosen sound flag off is refused")
            << QStringList{"sound:text:off"} << "h0 w0 b0 en marks[0] pi0 sd0 th1 code3 text";
        QTest::newRow("picture for sounds") << QStringList{"sound:picture:on"}
                                            << "h0 w0 b0 en marks[0] pi0 sd0 th1 code4 picture";
        QTest::newRow("underline under wav zeroes and disables the size editors")
            << QStringList{"kind:4", "sound:picture:on", "h:100", "w:50", "border:2", "sound:underline:on"}
            << "h0 w0 b0 dis marks[] pi0 sd0 th1 code3 underline";
        QTest::newRow("picture under wav enables them again at 0")
            << QStringList{"kind:4", "sound:picture:on", "h:100", "w:50", "border:2", "sound:underline:on",
                           "sound:picture:on"}
            << "h0 w0 b0 en marks[] pi0 sd0 th1 code4 picture";
        QTest::newRow("percentage under gif and jpg")
            << QStringList{"kind:1", "h:100", "w:40", "pct:2"} << "h0 w0 b0 en marks[2] pi2 sd4 th1 code3 text";
        QTest::newRow("percentage turns thumbnails on")
            << QStringList{"kind:3", "thumb:off", "pct:1"} << "h0 w0 b0 en marks[1] pi1 sd3 th1 code3 text";
        QTest::newRow("percentage under mid with text only moves the mark")
            << QStringList{"kind:5", "thumb:off", "pct:1"} << "h0 w0 b0 dis marks[1] pi1 sd0 th0 code3 text";
        QTest::newRow("percentage under mpg with text only moves the mark")
            << QStringList{"kind:8", "pct:3"} << "h0 w0 b0 en marks[3] pi3 sd0 th1 code3 text";
        QTest::newRow("percentage under mpg with a sound picture scales")
            << QStringList{"kind:8", "sound:picture:on", "pct:3"} << "h0 w0 b0 en marks[3] pi3 sd5 th1 code4 picture";
        QTest::newRow("an explicit size clears the marks, keeps PercentIndex")
            << QStringList{"kind:1", "pct:0", "h:5"} << "h5 w0 b0 en marks[] pi0 sd0 th1 code3 text";
        QTest::newRow("back to 0 changes nothing more")
            << QStringList{"kind:1", "pct:0", "h:5", "h:0"} << "h0 w0 b0 en marks[] pi0 sd0 th1 code3 text";
        QTest::newRow("a run then sets the divisor 2")
            << QStringList{"kind:1", "pct:0", "h:5", "h:0", "prep"} << "h0 w0 b0 en marks[] pi0 sd2 th1 code3 text";
        QTest::newRow("first run after start-up") << QStringList{"kind:1", "prep"}
                                                  << "h0 w0 b0 en marks[0] pi0 sd2 th1 code3 text";
        QTest::newRow("thumbnails off and on checks 10%")
            << QStringList{"kind:1", "h:20", "thumb:off", "thumb:on"} << "h0 w0 b0 en marks[4] pi4 sd10 th1 code3 text";
        QTest::newRow("thumbnails off clears every mark") << QStringList{"kind:1", "pct:2", "thumb:off"}
                                                          << "h0 w0 b0 en marks[] pi-1 sd0 th0 code3 text";
        QTest::newRow("an explicit size after the thumbnail switch keeps PercentIndex 4")
            << QStringList{"kind:1", "thumb:off", "h:10", "thumb:on", "h:10", "prep"}
            << "h10 w0 b0 en marks[] pi4 sd0 th1 code3 text";
        QTest::newRow("kind 5 with sounds as text, then kind 3")
            << QStringList{"kind:1", "h:100", "w:100", "border:3", "kind:5", "kind:3"}
            << "h0 w0 b0 en marks[] pi0 sd0 th1 code3 text";
        QTest::newRow("a sound kind with a sound picture keeps the sizes")
            << QStringList{"sound:picture:on", "kind:1", "h:100", "kind:6"}
            << "h100 w0 b0 en marks[] pi0 sd0 th1 code4 picture";
        QTest::newRow("a picture run sets the code 3 and keeps the flag")
            << QStringList{"kind:3", "sound:picture:on", "prep", "finish"}
            << "h0 w0 b0 en marks[0] pi0 sd2 th1 code3 picture";
        QTest::newRow("turning off the chosen flag sets its code again")
            << QStringList{"kind:3", "sound:picture:on", "prep", "finish", "sound:picture:off"}
            << "h0 w0 b0 en marks[0] pi0 sd2 th1 code4 picture";
        QTest::newRow("sizes clamp") << QStringList{"h:900", "w:-4", "border:99"}
                                     << "h500 w0 b20 en marks[] pi0 sd0 th1 code3 text";
    }
    void rules()
    {
        QFETCH(QStringList, ops);
        PageOptions o;
        for (const QString &op : ops)
            apply(o, op);
        QTEST(describe(o), "state");
    }

    void backgroundChoice()
    {
        PageOptions o;
        o.setBackgroundfile("/srv/bg.gif");
        o.setBackgroundChoice(PageOptions::UseBackgroundColor, false);
        QVERIFY(o.isUseBackgroundColor());
        o.setBackgroundChoice(PageOptions::UseBackgroundPicture, true);
        QVERIFY(o.isUseBackgroundPicture() && !o.isUseBackgroundColor());
        o.setBackgroundChoice(PageOptions::UseBackgroundPicture, false);
        QVERIFY(o.isUseBackgroundPicture());
        QCOMPARE(o.Backgroundfile(), QStringLiteral("/srv/bg.gif"));
    }

    void refusedSoundPicture()
    {
        PageOptions o;
        o.setSoundChoice(PageOptions::UsePicture, true);
        o.setThumbnailer(false);
        QVERIFY(!o.prepareRun(mkWav));
        QCOMPARE(o.PercentIndex(), -1); // no option changes
        QVERIFY(o.prepareRun(mkJpg));   // only sound kinds need the picture
        o.setSoundPick("/srv/note.gif");
        QVERIFY(o.prepareRun(mkWav));
    }

    void colourText_data()
    {
        QTest::addColumn<quint32>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("red") << quint32(0x000000FF) << "FF0000";
        QTest::newRow("blue") << quint32(0x00FF0000) << "0000FF";
        QTest::newRow("12 34 56") << quint32(0x00563412) << "123456";
        QTest::newRow("white") << quint32(0x00FFFFFF) << "FFFFFF";
        QTest::newRow("black") << quint32(0) << "000000";
        QTest::newRow("system colour") << quint32(0x8000000F) << "000080";
    }
    void colourText()
    {
        QFETCH(quint32, value);
        QTEST(PageOptions::colourText(value), "text");
        PageOptions o;
        o.setLinkColorValue(value);
        QTEST(o.LinkColor(), "text");
    }

    void pageFileName_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("counter");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("next");
        QTest::newRow("root, no counter") << "/" << "MediaPage.htm" << "0" << "/MediaPage.htm" << "0";
        QTest::newRow("zeros read as 0") << "/srv" << "MediaPage.htm" << "000" << "/srv/MediaPage.htm" << "000";
        QTest::newRow("leading zeros stay") << "/srv/Pics" << "MediaPage.htm" << "007"
                                            << "/srv/Pics/MediaPage007.htm" << "008";
        QTest::newRow("first dot") << "/srv" << "a.b.htm" << "2" << "/srv/a2.b.htm" << "3";
        QTest::newRow("no dot") << "/srv" << "page" << "5" << "/srv/5page" << "6";
        QTest::newRow("9 to 10") << "/srv" << "p.htm" << "9" << "/srv/p9.htm" << "10";
        QTest::newRow("099 to 100") << "/srv" << "p.htm" << "099" << "/srv/p099.htm" << "100";
        QTest::newRow("four digits") << "/srv" << "MediaPage.htm" << "1234" << "/srv/MediaPage1234.htm" << "1235";
        QTest::newRow("beyond 64 bits") << "/srv" << "p.htm" << "99999999999999999999" << "/srv/p99999999999999999999.htm"
                                        << "100000000000000000000";
        QTest::newRow("negative is not stepped") << "/srv" << "p.htm" << "-3" << "/srv/p-3.htm" << "-3";
    }
    void pageFileName()
    {
        QFETCH(QString, folder);
        QFETCH(QString, name);
        QFETCH(QString, counter);
        PageOptions o;
        o.setWebNameEdit(name);
        o.setNameIncrement(counter);
        bool ok = false;
        QTEST(o.pageFileName(folder, &ok), "path");
        QVERIFY(ok);
        QVERIFY(o.stepCounter());
        QTEST(o.NameIncrement(), "next");
    }
    void unreadableCounter_data()
    {
        QTest::addColumn<QString>("counter");
        QTest::newRow("grouped") << "1,234";
        QTest::newRow("brackets") << "(5)";
        QTest::newRow("empty") << "";
        QTest::newRow("letters") << "7a";
        QTest::newRow("sign only") << "-";
    }
    void unreadableCounter()
    {
        QFETCH(QString, counter);
        PageOptions o;
        o.setNameIncrement(counter);
        bool ok = true;
        QCOMPARE(o.pageFileName("/srv", &ok), QString());
        QVERIFY(!ok);
        QVERIFY(!o.stepCounter());
        QCOMPARE(o.NameIncrement(), counter);
    }

    void namingFromDialogAndColumns()
    {
        PageOptions o;
        o.setNamingFromDialog("3", "x.htm", "X");
        QCOMPARE(o.NameIncrement() + o.WebNameEdit() + o.TitleEdit(), QStringLiteral("3x.htmX"));
        o.setColumnEdit(4);
        o.lowerColumnEdit(3);
        QCOMPARE(o.ColumnEdit(), 3);
        o.lowerColumnEdit(5);
        QCOMPARE(o.ColumnEdit(), 3);
        o.setColumnEdit(0);
        QCOMPARE(o.ColumnEdit(), 1);
        o.setTableBorderEdit(21);
        QCOMPARE(o.TableBorderEdit(), 20);
    }

    void helpSystemSetting_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<bool>("on");
        QTest::newRow("0 is on") << QVariant(QStringLiteral("0")) << true;
        QTest::newRow("1 is off") << QVariant(QStringLiteral("1")) << false;
        QTest::newRow("empty is off") << QVariant(QString()) << false;
        QTest::newRow("other text is off") << QVariant(QStringLiteral("yes")) << false;
        QTest::newRow("missing is off") << QVariant() << false;
    }
    void helpSystemSetting()
    {
        QFETCH(QVariant, stored);
        QTemporaryDir dir;
        QSettings settings(dir.filePath("Quorvane.conf"), QSettings::IniFormat);
        if (stored.isValid())
            settings.setValue("HelpSystem", stored);
        PageOptions o;
        QSignalSpy spy(&o, &PageOptions::helpSystemChanged);
        o.loadHelpSystem(settings);
        QTEST(o.HelpSystem(), "on");
        QCOMPARE(spy.count(), 1);
        o.saveHelpSystem(settings);
        QCOMPARE(settings.value("HelpSystem").toString(), QString(o.HelpSystem() ? "0" : "1"));
    }
};

QTEST_GUILESS_MAIN(TestPageOptions)
#include "tst_PageOptions.moc"
