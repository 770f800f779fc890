// SPDX-License-Identifier: GPL-2.0-or-later
#include "generator/HtmlEscape.h"

#include <QtTest>

class tst_HtmlEscape : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void url_data();
    void url();
    void text_data();
    void text();
    void title_data();
    void title();
};

void tst_HtmlEscape::url_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value");
    QTest::newRow("ordinary") << "cat.jpg" << "cat.jpg";
    QTest::newRow("inner blank stays") << "a b.jpg" << "a b.jpg";
    QTest::newRow("leading blanks") << "  a.jpg" << "%20%20a.jpg";
    QTest::newRow("trailing blank") << "a.jpg " << "a.jpg%20";
    QTest::newRow("only blanks") << "  " << "%20%20";
    QTest::newRow("reserved") << "\"#%<>?\\^`{|}.jpg" << "%22%23%25%3C%3E%3F%5C%5E%60%7B%7C%7D.jpg";
    QTest::newRow("kept ASCII") << "a'b[]()!$*+,;=@~-_.jpg" << "a'b[]()!$*+,;=@~-_.jpg";
    QTest::newRow("controls and DEL") << "a\tb\nc\x7f.jpg" << "a%09b%0Ac%7F.jpg";
    QTest::newRow("non-ASCII as UTF-8") << "caf\u00e9.jpg" << "caf%C3%A9.jpg";
    QTest::newRow("outside the BMP") << "\U0001F600.jpg" << "%F0%9F%98%80.jpg";
    QTest::newRow("colon gets ./") << "javascript:alert(1).jpg" << "./javascript:alert(1).jpg";
    QTest::newRow("drive-like") << "c:x.jpg" << "./c:x.jpg";
    QTest::newRow("ampersand last") << "a&b.jpg" << "a&amp;b.jpg";
    QTest::newRow("entity-like name") << "&amp;.jpg" << "&amp;amp;.jpg";
    QTest::newRow("empty") << "" << "";
}

void tst_HtmlEscape::url()
{
    QFETCH(QString, name);
    QTEST(HtmlEscape::url(name), "value");
}

void tst_HtmlEscape::text_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("escaped");
    QTest::newRow("ordinary") << "cat 1.jpg" << "cat 1.jpg";
    QTest::newRow("markup") << "\"><script>&" << "&quot;&gt;&lt;script&gt;&amp;";
    QTest::newRow("single quote stays") << "it's" << "it's";
    QTest::newRow("controls") << "a\tb\r\n\x7f" << "a&#9;b&#13;&#10;&#127;";
    QTest::newRow("non-ASCII") << "caf\u00e9 \U0001F600" << "caf&#233; &#128512;";
}

void tst_HtmlEscape::text()
{
    QFETCH(QString, value);
    QTEST(HtmlEscape::text(value), "escaped");
}

void tst_HtmlEscape::title_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("escaped");
    QTest::newRow("as typed") << "Tom & \"Jerry\" <3" << "Tom & \"Jerry\" <3";
    QTest::newRow("controls and non-ASCII") << "a\tb \u00fc" << "a&#9;b &#252;";
}

void tst_HtmlEscape::title()
{
    QFETCH(QString, value);
    QTEST(HtmlEscape::title(value), "escaped");
}

QTEST_GUILESS_MAIN(tst_HtmlEscape)
#include "tst_HtmlEscape.moc"
