// SPDX-License-Identifier: GPL-2.0-or-later
#include "core/PickList.h"

#include <QStringListModel>
#include <QTest>

using namespace PickList;

class TestPickList : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void dragAndDropMovesTheSelectedLine_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("selected");
        QTest::addColumn<int>("dropRow"); // -1: below the last line
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<int>("selectedAfter");
        const QStringList abc{"a", "b", "c"};
        QTest::newRow("a onto c") << abc << 0 << 2 << QStringList{"b", "c", "a"} << 2;
        QTest::newRow("c onto a") << abc << 2 << 0 << QStringList{"c", "a", "b"} << 0;
        QTest::newRow("a onto b") << abc << 0 << 1 << QStringList{"b", "a", "c"} << 1;
        QTest::newRow("b onto a") << abc << 1 << 0 << QStringList{"b", "a", "c"} << 0;
        QTest::newRow("a below the last line") << abc << 0 << -1 << QStringList{"b", "c", "a"} << 2;
        QTest::newRow("c below the last line") << abc << 2 << -1 << abc << 2;
        QTest::newRow("onto itself") << abc << 1 << 1 << abc << 1;
        QTest::newRow("nothing selected") << abc << -1 << 0 << abc << -1;
        QTest::newRow("row past the end counts as below") << abc << 0 << 7 << QStringList{"b", "c", "a"} << 2;
        QTest::newRow("one line") << QStringList{"a"} << 0 << -1 << QStringList{"a"} << 0;
        QTest::newRow("duplicates") << QStringList{"x", "y", "x"} << 2 << 0 << QStringList{"x", "x", "y"} << 0;
    }

    void dragAndDropMovesTheSelectedLine()
    {
        QFETCH(QStringList, lines);
        QFETCH(int, selected);
        QFETCH(int, dropRow);
        QFETCH(QStringList, expected);
        QFETCH(int, selectedAfter);
        const std::optional<int> target = dropTarget(selected, dropRow, int(lines.size()));
        const QStringList result = target ? moved(lines, selected, *target) : lines;
        QCOMPARE(result, expected);
        QCOMPARE(target.value_or(selected), selectedAfter);
    }

    void modelDestinationGivesTheSameMove_data()
    {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        for (int from = 0; from < 4; ++from)
            for (int to = 0; to < 4; ++to)
                if (from != to)
                    QTest::addRow("%d to %d", from, to) << from << to;
    }

    // moveRows counts its destination before the removal; both ways must give one result.
    void modelDestinationGivesTheSameMove()
    {
        QFETCH(int, from);
        QFETCH(int, to);
        const QStringList lines{"a", "b", "c", "d"};
        QStringListModel model(lines);
        QVERIFY(model.moveRows(QModelIndex(), from, 1, QModelIndex(), modelDestination(from, to)));
        QCOMPARE(model.stringList(), moved(lines, from, to));
    }

    void namesOfLeavesOutLinesWithoutAName_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("empty") << QStringList{} << QStringList{};
        QTest::newRow("only blank lines") << QStringList{"", " ", "\t"} << QStringList{};
        QTest::newRow("blank lines around") << QStringList{"", "a.jpg", "b.gif", "", ""}
                                            << QStringList{"a.jpg", "b.gif"};
        QTest::newRow("empty line between names") << QStringList{"a.jpg", "", "b.gif"}
                                                  << QStringList{"a.jpg", "b.gif"};
        QTest::newRow("blanks inside names kept") << QStringList{" a.jpg", "b c.gif ", "\td.jpg"}
                                                  << QStringList{" a.jpg", "b c.gif ", "\td.jpg"};
        QTest::newRow("duplicates kept") << QStringList{"a", "a"} << QStringList{"a", "a"};
        QTest::newRow("non-ASCII") << QStringList{"grün.jpg", "写真.gif"} << QStringList{"grün.jpg", "写真.gif"};
    }

    void namesOfLeavesOutLinesWithoutAName()
    {
        QFETCH(QStringList, lines);
        QFETCH(QStringList, names);
        QCOMPARE(namesOf(lines), names);
    }

    void kindOfTheFirstName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("kind"); // 0: the kind stays
        QTest::newRow("mid") << "song.mid" << int(mkMid);
        QTest::newRow("MP3") << "song.MP3" << int(mkMp3);
        QTest::newRow("wav") << "a.Wav" << int(mkWav);
        QTest::newRow("gif") << "a.gif" << int(mkGifJpg);
        QTest::newRow("jpg selects gif and jpg") << "a.jpg" << int(mkGifJpg);
        QTest::newRow("JPG") << "a.JPG" << int(mkGifJpg);
        QTest::newRow("mpg") << "m.mpg" << int(mkMpg);
        QTest::newRow("avi") << "m.AVI" << int(mkAvi);
        QTest::newRow("last dot counts") << "a.jpg.wav" << int(mkWav);
        QTest::newRow("jpeg is outside the table") << "a.jpeg" << 0;
        QTest::newRow("png") << "a.png" << 0;
        QTest::newRow("no extension") << "README" << 0;
        QTest::newRow("dot at the end") << "a." << 0;
        QTest::newRow("name is the extension") << ".gif" << int(mkGifJpg);
    }

    void kindOfTheFirstName()
    {
        QFETCH(QString, name);
        QFETCH(int, kind);
        QCOMPARE(int(kindForFirstName(name).value_or(mkNone)), kind);
    }
};

QTEST_GUILESS_MAIN(TestPickList)
#include "tst_PickList.moc"
