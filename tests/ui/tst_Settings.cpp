// SPDX-License-Identifier: GPL-2.0-or-later
#include "core/PageOptions.h"
#include "ui/kit/BalloonHint.h"
#include "ui/kit/ShadowText.h"
#include "ui/ColorChooser.h"
#include "ui/FileChooser.h"
#include "ui/kit/FormDialogs.h"
#include "ui/kit/HelpHints.h"
#include "ui/kit/NumberField.h"
#include "ui/Settings.h"

#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QSettings>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QUrl>

#include <memory>

namespace
{

// Answers the window's file and colour questions from a script and records what was asked.
class FakeDialogs final : public FormDialogs
{
public:
    QString fileAnswer;
    std::optional<QColor> colorAnswer;
    QStringList fileTitles;
    QStringList fileFilters;
    QStringList errors;

    QString askFile(QWidget *, const QString &title, const QString &filter) override
    {
        fileTitles << title;
        fileFilters << filter;
        return fileAnswer;
    }
    std::optional<QColor> askColor(QWidget *, const QColor &) override { return colorAnswer; }
    void showError(QWidget *, const QString &text) override { errors << text; }
};

const char *const kCheckBoxes[] = {"UseBackgroundColor", "UseBackgroundPicture", "UsePicture", "UseText",
                                   "UseUnderlineText",   "PLabelStatus",         "PLabelSize", "Thumbnailer",
                                   "Shownamebox",        "UsePickList",          "HelpSystem"};

} // namespace

class TestSettings : public QObject
{
    Q_OBJECT

    std::unique_ptr<PageOptions> m_options;
    std::unique_ptr<TSettingsForm> m_form;
    FakeDialogs m_dialogs;

    template <typename T = QWidget> T *control(const char *name) const
    {
        auto *found = m_form->findChild<T *>(QString::fromLatin1(name));
        if (!found)
            qFatal("no control %s", name);
        return found;
    }

    bool checkOf(const char *name) const
    {
        const PageOptions &o = *m_options;
        const QString n = QString::fromLatin1(name);
        if (n == "UseBackgroundColor")
            return o.isUseBackgroundColor();
        if (n == "UseBackgroundPicture")
            return o.isUseBackgroundPicture();
        if (n == "UsePicture")
            return o.isUsePicture();
        if (n == "UseText")
            return o.isUseText();
        if (n == "UseUnderlineText")
            return o.isUseUnderlineText();
        if (n == "PLabelStatus")
            return o.PLabelStatus();
        if (n == "PLabelSize")
            return o.PLabelSize();
        if (n == "Thumbnailer")
            return o.Thumbnailer();
        if (n == "Shownamebox")
            return o.Shownamebox();
        if (n == "UsePickList")
            return o.UsePickList();
        return o.HelpSystem();
    }

    // Every control shows what the options hold.
    void verifyWindowShowsOptions() const
    {
        const PageOptions &o = *m_options;
        for (const char *name : kCheckBoxes)
            QVERIFY2(control<QCheckBox>(name)->isChecked() == checkOf(name), name);
        QCOMPARE(control<QLineEdit>("WebNameEdit")->text(), o.WebNameEdit());
        QCOMPARE(control<QLineEdit>("TitleEdit")->text(), o.TitleEdit());
        QCOMPARE(control<NumberField>("NameIncrement")->value(), o.NameIncrement());
        QCOMPARE(control<QLineEdit>("Backgroundfile")->text(), o.Backgroundfile());
        QCOMPARE(control<QLineEdit>("SoundPick")->text(), o.SoundPick());
        const struct {
            const char *name;
            int value;
        } spins[] = {{"HeightEdit", o.HeightEdit()},
                     {"WidthEdit", o.WidthEdit()},
                     {"PictureBorderEdit", o.PictureBorderEdit()},
                     {"TableBorderEdit", o.TableBorderEdit()},
                     {"ColumnEdit", o.ColumnEdit()}};
        for (const auto &s : spins)
            QVERIFY2(control<QSpinBox>(s.name)->value() == s.value, s.name);
        for (const char *name : {"HeightEdit", "WidthEdit", "PictureBorderEdit"})
            QVERIFY2(control<QSpinBox>(name)->isEnabled() == o.sizeEditorsEnabled(), name);
        QVERIFY(control<QSpinBox>("TableBorderEdit")->isEnabled());
        auto *menu = control<QListWidget>("PopupMenu");
        for (int i = 0; i < PageOptions::PercentCount; ++i)
            QCOMPARE(menu->item(i)->checkState() == Qt::Checked, o.isPercentMarked(i));
        QCOMPARE(control<QLabel>("RxLabel8")->text(),
                 o.HelpSystem() ? QStringLiteral("Help System (On)") : QStringLiteral("Help System (Off)"));
        QCOMPARE(QColor(QLatin1Char('#') + o.BackGroundColor()),
                 control<ColorChooser>("RBackGroundColor")->color());
        QCOMPARE(QColor(QLatin1Char('#') + o.TextColor()), control<ColorChooser>("RTextColor")->color());
        QCOMPARE(QColor(QLatin1Char('#') + o.LinkColor()), control<ColorChooser>("RLinkColor")->color());
        QCOMPARE(QColor(QLatin1Char('#') + o.VisitedColor()),
                 control<ColorChooser>("RVisitedColor")->color());
    }

    void click(QWidget *widget, QPoint at = {})
    {
        QTest::mouseClick(widget, Qt::LeftButton, {}, at.isNull() ? widget->rect().center() : at);
    }

    void typeInto(QWidget *widget, const QString &text)
    {
        widget->setFocus();
        QTest::keyClick(widget, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(widget, text);
    }

    // One user action (or a change the rest of the program makes) by a short script word.
    void act(const QString &step)
    {
        const QStringList p = step.split(':');
        if (p[0] == "box" || p[0] == "caption" || p[0] == "button")
            click(control(qPrintable(p[1])));
        else if (p[0] == "pct") {
            auto *menu = control<QListWidget>("PopupMenu");
            click(menu->viewport(), menu->visualItemRect(menu->item(p[1].toInt())).center());
        } else if (p[0] == "type")
            typeInto(control(qPrintable(p[1])), p[2]);
        else if (p[0] == "tab")
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        else if (p[0] == "up")
            QTest::keyClick(control(qPrintable(p[1])), Qt::Key_Up);
        else if (p[0] == "kind")
            m_options->mediaKindChanged(MediaKind(p[1].toInt()));
        else if (p[0] == "lower")
            m_options->lowerColumnEdit(p[1].toInt());
        else if (p[0] == "run")
            m_options->prepareRun(MediaKind(p[1].toInt()));
        else
            qFatal("unknown step %s", qPrintable(step));
    }

    QString stateOf(const QString &key) const
    {
        const PageOptions &o = *m_options;
        if (key == "code")
            return QString::number(o.SoundLinkCode());
        if (key == "sizes")
            return o.sizeEditorsEnabled() ? "on" : "off";
        if (key == "h")
            return QString::number(o.HeightEdit());
        if (key == "w")
            return QString::number(o.WidthEdit());
        if (key == "b")
            return QString::number(o.PictureBorderEdit());
        if (key == "t")
            return QString::number(o.TableBorderEdit());
        if (key == "cols")
            return QString::number(o.ColumnEdit());
        if (key == "pct")
            return QString::number(o.PercentIndex());
        if (key == "div")
            return QString::number(o.SizeDivisor());
        if (key == "marks") {
            QString marks;
            for (int i = 0; i < PageOptions::PercentCount; ++i)
                marks += o.isPercentMarked(i) ? '1' : '0';
            return marks;
        }
        for (const char *name : kCheckBoxes)
            if (key == QLatin1String(name))
                return checkOf(name) ? "on" : "off";
        qFatal("unknown state %s", qPrintable(key));
    }

    // Runs a script of actions; after each the window must agree with the options; at the end the
    // options must hold the expected "key=value" pairs.
    void runScript()
    {
        QFETCH(QStringList, actions);
        QFETCH(QStringList, expected);
        for (const QString &step : actions) {
            act(step);
            verifyWindowShowsOptions();
            if (QTest::currentTestFailed())
                QFAIL(qPrintable("window and options disagree after " + step));
        }
        for (const QString &pair : expected) {
            const QStringList kv = pair.split('=');
            QVERIFY2(stateOf(kv[0]) == kv[1], qPrintable(pair + " but is " + stateOf(kv[0])));
        }
    }

    static void scriptColumns()
    {
        QTest::addColumn<QStringList>("actions");
        QTest::addColumn<QStringList>("expected");
    }

private Q_SLOTS:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QCoreApplication::setOrganizationName("QuorvaneTest");
    }

    void init()
    {
        m_dialogs = FakeDialogs();
        m_options = std::make_unique<PageOptions>();
        HelpHints::instance().setOptions(m_options.get());
        m_form = std::make_unique<TSettingsForm>(*m_options);
        m_form->setDialogs(&m_dialogs);
        m_form->show();
        m_form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    }

    void cleanup()
    {
        HelpHints::instance().hideHint();
        HelpHints::instance().setOptions(nullptr);
        m_form.reset();
        m_options.reset();
    }

    void windowLook()
    {
        QCOMPARE(m_form->windowTitle(), QStringLiteral("Options"));
        QCOMPARE(m_form->size(), QSize(550, 510));
        QCOMPARE(m_form->pos(), QPoint(213, 56));
        QVERIFY(m_form->windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(!m_form->mask().contains(QPoint(0, 0)));
        verifyWindowShowsOptions();
        // Every control lies inside the window and inside the skin's outline.
        for (QWidget *child : m_form->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
            if (child->objectName().isEmpty() || !child->isVisible())
                continue;
            QVERIFY2(m_form->rect().contains(child->geometry()), qPrintable(child->objectName()));
            QVERIFY2(m_form->mask().contains(child->geometry().center()), qPrintable(child->objectName()));
        }
    }

    // The user drags the window by any visible point of its skin, captions and panels included.
    void draggedBySkin_data()
    {
        QTest::addColumn<QString>("grip");
        QTest::newRow("bare skin") << "";
        QTest::newRow("field title") << "FileNameLabel";
    }

    void draggedBySkin()
    {
        QFETCH(QString, grip);
        QWidget *target = grip.isEmpty() ? static_cast<QWidget *>(m_form.get()) : control(qPrintable(grip));
        const QPoint at = grip.isEmpty() ? QPoint(270, 500) : QPoint(3, 3);
        const QPoint start = m_form->pos();
        QTest::mousePress(target, Qt::LeftButton, {}, at);
        const QPointF to = at + QPoint(30, 20);
        QMouseEvent move(QEvent::MouseMove, to, target->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(target, &move);
        QTest::mouseRelease(target, Qt::LeftButton, {}, to.toPoint());
        QCOMPARE(m_form->pos(), start + QPoint(30, 20));
    }

    void captionsAndHints_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("hintStart");
        QTest::newRow("ddd") << "ddd"
                             << "Use Color for Backgound"
                             << "Check this box to use color instead";
        QTest::newRow("eee") << "eee"
                             << "Use Picture for Backgound"
                             << "Check this box to use a picture instead of a color";
        QTest::newRow("fff") << "fff"
                             << "Use Picture for Sounds"
                             << "Check this box to use a picture instead of text";
        QTest::newRow("ggg") << "ggg"
                             << "Use No Underline Text for Sounds"
                             << "Check this box to use text (actual";
        QTest::newRow("hhh") << "hhh"
                             << "Use Underlined Text for Sounds"
                             << "Check this box to use text (actual";
        QTest::newRow("ShowFilename") << "ShowFilename"
                                      << "Show Filename under picture"
                                      << "When this option is checked, the name";
        QTest::newRow("ShowFileSize") << "ShowFileSize"
                                      << "Show File Size  under picture"
                                      << "When this option is checked, the size";
        QTest::newRow("CreateTH") << "CreateTH"
                                  << "Create Thumbnail Images"
                                  << "When this option is checked, smaller";
        QTest::newRow("Showname") << "Showname"
                                  << "Show Filename/Page Title prompt"
                                  << "When this option is checked, the Filename";
        QTest::newRow("RxLabel3")
            << "RxLabel3"
            << "Use Pick List"
            << "When this option is checked, the Pick List will be used instead of the main list .";
        QTest::newRow("RxLabel8") << "RxLabel8"
                                  << "Help System (On)"
                                  << "When the Help System is on";
        QTest::newRow("HaltButton") << "HaltButton"
                                    << "x"
                                    << "Close window.";
        QTest::newRow("AboutButton") << "AboutButton"
                                     << "?"
                                     << "Click here to view program information.";
        QTest::newRow("EmailButton") << "EmailButton"
                                     << "@"
                                     << "Click here to send us email";
    }

    void captionsAndHints()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QString, hintStart);
        auto *label = control<QLabel>(qPrintable(name));
        QCOMPARE(label->text(), caption);
        QVERIFY2(HelpHints::hintOf(label).startsWith(hintStart), qPrintable(HelpHints::hintOf(label)));
        QVERIFY(label->width() >= label->fontMetrics().horizontalAdvance(caption)); // nothing clipped
    }

    void startTextsRangesAndHints()
    {
        QCOMPARE(control<QLineEdit>("WebNameEdit")->text(), QStringLiteral("MediaPage.htm"));
        QCOMPARE(control<QLineEdit>("NameIncrement")->text(), QStringLiteral("0"));
        QCOMPARE(control<QLineEdit>("TitleEdit")->text(), QStringLiteral("MediaPage"));
        QCOMPARE(control<ColorChooser>("RBackGroundColor")->color(), QColor(Qt::black));
        QCOMPARE(control<ColorChooser>("RTextColor")->color(), QColor(Qt::white));
        QCOMPARE(control<ColorChooser>("RLinkColor")->color(), QColor(Qt::red));
        QCOMPARE(control<ColorChooser>("RVisitedColor")->color(), QColor(Qt::blue));
        const struct {
            const char *name;
            int min, max, step;
            const char *hint;
        } spins[] = {{"HeightEdit", 0, 500, 5, "Leave this 0 for Original Height"},
                     {"WidthEdit", 0, 500, 5, "Leave this 0 for Original Width"},
                     {"PictureBorderEdit", 0, 20, 1, "Leave this 0 for No Border"},
                     {"TableBorderEdit", 0, 20, 1, "Leave this 0 for No Table Border"},
                     {"ColumnEdit", 1, 20, 1, "Set the number of columns (pictures) in each row."}};
        for (const auto &s : spins) {
            auto *spin = control<QSpinBox>(s.name);
            QCOMPARE(spin->minimum(), s.min);
            QCOMPARE(spin->maximum(), s.max);
            QCOMPARE(spin->singleStep(), s.step);
            QCOMPARE(HelpHints::hintOf(spin), QString::fromLatin1(s.hint));
        }
        auto *menu = control<QListWidget>("PopupMenu");
        QCOMPARE(menu->count(), 5);
        for (int i = 0; i < 5; ++i)
            QCOMPARE(menu->item(i)->text(), PageOptions::percentCaption(i));
        QCOMPARE(menu->item(4)->text(), QStringLiteral("10%  of Original Size"));
        QVERIFY(HelpHints::hintOf(control("RBackGroundColor"))
                    .startsWith("Choose a color to use for the background"));
        QCOMPARE(HelpHints::hintOf(control("RVisitedColor")),
                 QStringLiteral("Choose a color for text representing visited links"));
        QVERIFY(HelpHints::hintOf(control("SoundPick")).endsWith("(Click on the folder icon)"));
    }

    void focusOrder()
    {
        const QStringList order = {
            "WebNameEdit",      "NameIncrement",        "TitleEdit",       "UseBackgroundColor",
            "Backgroundfile",   "UseBackgroundPicture", "SoundPick",       "UsePicture",
            "UseText",          "UseUnderlineText",     "PLabelStatus",    "PLabelSize",
            "Thumbnailer",      "Shownamebox",          "HelpSystem",      "RTextColor",
            "RBackGroundColor", "RLinkColor",           "RVisitedColor",   "HeightEdit",
            "WidthEdit",        "PictureBorderEdit",    "TableBorderEdit", "ColumnEdit",
            "PopupMenu",        "UsePickList",          "WebNameEdit"};
        control("WebNameEdit")->setFocus();
        for (qsizetype i = 1; i < order.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QWidget *focus = QApplication::focusWidget();
            while (focus && focus->parentWidget() != m_form.get())
                focus = focus->parentWidget(); // a spin editor's own line edit
            QVERIFY(focus);
            QCOMPARE(focus->objectName(), order[i]);
        }
    }

    void soundGroup_data()
    {
        scriptColumns();
        QTest::newRow("caption of the chosen flag does nothing")
            << QStringList{"box:UsePicture", "caption:fff"}
            << QStringList{"UsePicture=on", "UseText=off", "code=4"};
        QTest::newRow("box of the chosen flag stays checked")
            << QStringList{"box:UsePicture", "box:UsePicture"} << QStringList{"UsePicture=on", "code=4"};
        QTest::newRow("turning the chosen text flag off is refused")
            << QStringList{"box:UseText"} << QStringList{"UseText=on", "UsePicture=off", "code=3"};
        QTest::newRow("caption chooses underlined text")
            << QStringList{"caption:hhh"} << QStringList{"UseUnderlineText=on", "UseText=off", "code=3"};
        QTest::newRow("sound kind zeroes and greys the size editors")
            << QStringList{"kind:1",
                           "type:HeightEdit:100",
                           "type:WidthEdit:50",
                           "type:PictureBorderEdit:2",
                           "box:UsePicture",
                           "kind:4",
                           "caption:hhh"}
            << QStringList{"h=0", "w=0", "b=0", "sizes=off", "UseUnderlineText=on"};
        QTest::newRow("picture for sounds enables them again")
            << QStringList{"kind:4", "caption:fff"} << QStringList{"sizes=on", "h=0", "code=4"};
        QTest::newRow("greyed editor takes no keys")
            << QStringList{"kind:5", "up:HeightEdit"} << QStringList{"sizes=off", "h=0"};
    }
    void soundGroup() { runScript(); }

    void backgroundGroup_data()
    {
        scriptColumns();
        QTest::newRow("box of the chosen colour stays")
            << QStringList{"box:UseBackgroundColor"}
            << QStringList{"UseBackgroundColor=on", "UseBackgroundPicture=off"};
        QTest::newRow("picture box turns colour off")
            << QStringList{"box:UseBackgroundPicture"}
            << QStringList{"UseBackgroundColor=off", "UseBackgroundPicture=on"};
        QTest::newRow("captions choose") << QStringList{"caption:eee", "caption:eee", "caption:ddd"}
                                         << QStringList{"UseBackgroundColor=on", "UseBackgroundPicture=off"};
        QTest::newRow("picture box off is refused") << QStringList{"caption:eee", "box:UseBackgroundPicture"}
                                                    << QStringList{"UseBackgroundPicture=on"};
    }
    void backgroundGroup() { runScript(); }

    void flagGroup_data()
    {
        scriptColumns();
        QTest::newRow("boxes toggle")
            << QStringList{"box:PLabelStatus", "box:PLabelSize", "box:Shownamebox", "box:UsePickList"}
            << QStringList{"PLabelStatus=on", "PLabelSize=on", "Shownamebox=off", "UsePickList=on"};
        QTest::newRow("captions toggle")
            << QStringList{"caption:ShowFilename", "caption:ShowFileSize", "caption:Showname",
                           "caption:RxLabel3", "caption:ShowFilename"}
            << QStringList{"PLabelStatus=off", "PLabelSize=on", "Shownamebox=off", "UsePickList=on"};
        QTest::newRow("help switch and its caption")
            << QStringList{"box:HelpSystem", "caption:RxLabel8", "caption:RxLabel8"}
            << QStringList{"HelpSystem=off"};
        QTest::newRow("CreateTH twice ends on entry 4")
            << QStringList{"caption:CreateTH", "caption:CreateTH"}
            << QStringList{"Thumbnailer=on", "pct=4", "div=10", "marks=00001", "h=0", "w=0"};
        QTest::newRow("thumbnails off clears the marks")
            << QStringList{"box:Thumbnailer"}
            << QStringList{"Thumbnailer=off", "pct=-1", "div=0", "marks=00000"};
    }
    void flagGroup() { runScript(); }

    void sizeGroup_data()
    {
        scriptColumns();
        QTest::newRow("percentage entry turns thumbnails on")
            << QStringList{"kind:1", "box:Thumbnailer", "type:HeightEdit:40", "pct:2"}
            << QStringList{"pct=2", "div=4", "marks=00100", "h=0", "w=0", "Thumbnailer=on"};
        QTest::newRow("percentage for sounds as text only moves the mark")
            << QStringList{"kind:5", "box:Thumbnailer", "pct:1"}
            << QStringList{"pct=1", "div=0", "marks=01000", "Thumbnailer=off"};
        QTest::newRow("explicit height clears marks, keeps the index")
            << QStringList{"kind:1", "type:HeightEdit:5"}
            << QStringList{"pct=0", "div=0", "marks=00000", "h=5"};
        QTest::newRow("steps of five and clamped") << QStringList{"up:WidthEdit",
                                                                  "up:WidthEdit",
                                                                  "type:HeightEdit:999",
                                                                  "tab",
                                                                  "type:TableBorderEdit:77",
                                                                  "tab"}
                                                   << QStringList{"w=10", "h=500", "t=20"};
        QTest::newRow("columns lowered by a run")
            << QStringList{"type:ColumnEdit:8", "lower:3"} << QStringList{"cols=3"};
        QTest::newRow("columns never below one")
            << QStringList{"type:ColumnEdit:0", "tab"} << QStringList{"cols=1"};
        QTest::newRow("run preparation") << QStringList{"run:1"} << QStringList{"pct=0", "div=2"};
    }
    void sizeGroup() { runScript(); }

    void textFields()
    {
        typeInto(control("WebNameEdit"), "index.old");
        typeInto(control("TitleEdit"), "Holiday");
        QCOMPARE(m_options->WebNameEdit(), QStringLiteral("index.old"));
        QCOMPARE(m_options->TitleEdit(), QStringLiteral("Holiday"));
        m_options->setNamingFromDialog("3", "page", "Other"); // the name dialog's answer shows here
        QCOMPARE(control<QLineEdit>("WebNameEdit")->text(), QStringLiteral("page"));
        QCOMPARE(control<QLineEdit>("TitleEdit")->text(), QStringLiteral("Other"));
        QCOMPARE(control<QLineEdit>("NameIncrement")->text(), QStringLiteral("3"));
    }

    void counterField()
    {
        auto *counter = control<NumberField>("NameIncrement");
        QSignalSpy refused(counter, &NumberField::keyRefused);
        typeInto(counter, "007");
        QCOMPARE(m_options->NameIncrement(), QStringLiteral("007"));
        QTest::keyClick(counter, Qt::Key_Tab);
        QCOMPARE(counter->text(), QStringLiteral("7"));
        QCOMPARE(m_options->NameIncrement(), QStringLiteral("7"));

        typeInto(counter, "1a2.b3 4");
        QCOMPARE(refused.count(), 4);
        QCOMPARE(counter->text(), QStringLiteral("1234"));
        QTest::keyClick(counter, Qt::Key_Minus); // a sign only at the very start
        QCOMPARE(refused.count(), 5);
        QTest::keyClick(counter, Qt::Key_Tab);
        QCOMPARE(counter->text(), QStringLiteral("1,234"));
        // What the field shows is display only: the run reads the plain counter and steps it.
        QCOMPARE(m_options->NameIncrement(), QStringLiteral("1234"));
        QCOMPARE(m_options->pageFileName("/pics"), QStringLiteral("/pics/MediaPage1234.htm"));
        m_options->stepCounter();
        QCOMPARE(counter->value(), QStringLiteral("1235"));
        counter->setFocus();
        QCOMPARE(counter->text(), QStringLiteral("1,235"));
        QTest::keyClick(counter, Qt::Key_End);
        QTest::keyClick(counter, Qt::Key_Backspace); // a control key passes
        QCOMPARE(m_options->NameIncrement(), QStringLiteral("123"));

        typeInto(counter, "-25");
        QTest::keyClick(counter, Qt::Key_Tab);
        QCOMPARE(counter->text(), QStringLiteral("(25)"));
        QCOMPARE(m_options->NameIncrement(), QStringLiteral("-25"));

        // Leading zeros a run puts there stay until the field is entered.
        m_options->setNameIncrement("007");
        m_options->stepCounter();
        QCOMPARE(counter->text(), QStringLiteral("008"));
        counter->setFocus();
        QCOMPARE(counter->text(), QStringLiteral("8"));
        QCOMPARE(m_options->NameIncrement(), QStringLiteral("8"));
    }

    void colourChoosers_data()
    {
        QTest::addColumn<QString>("chooser");
        QTest::addColumn<QString>("option");
        QTest::newRow("background") << "RBackGroundColor"
                                    << "BackGroundColor";
        QTest::newRow("text") << "RTextColor"
                              << "TextColor";
        QTest::newRow("link") << "RLinkColor"
                              << "LinkColor";
        QTest::newRow("visited") << "RVisitedColor"
                                 << "VisitedColor";
    }

    void colourChoosers()
    {
        QFETCH(QString, chooser);
        QFETCH(QString, option);
        auto text = [&] {
            return option == "BackGroundColor" ? m_options->BackGroundColor()
                   : option == "TextColor"     ? m_options->TextColor()
                   : option == "LinkColor"     ? m_options->LinkColor()
                                               : m_options->VisitedColor();
        };
        const QString before = text();
        m_dialogs.colorAnswer = std::nullopt; // cancelled: nothing changes
        click(control(qPrintable(chooser)));
        QCOMPARE(text(), before);
        m_dialogs.colorAnswer = QColor(0x12, 0x34, 0x56);
        click(control(qPrintable(chooser)));
        QCOMPARE(text(), QStringLiteral("123456"));
        verifyWindowShowsOptions();
    }

    void fileChoosers_data()
    {
        QTest::addColumn<QString>("chooser");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QString>("stored");
        QTest::newRow("background") << "Backgroundfile"
                                    << "Browse for Background"
                                    << "/home/u/bg.gif"
                                    << "/home/u/bg.gif";
        QTest::newRow("blank is quoted") << "SoundPick"
                                         << "Browse for Sound Picture"
                                         << "/home/u/my pics/s.JPG"
                                         << "\"/home/u/my pics/s.JPG\"";
        QTest::newRow("cancelled") << "SoundPick"
                                   << "Browse for Sound Picture"
                                   << ""
                                   << "";
    }

    void fileChoosers()
    {
        QFETCH(QString, chooser);
        QFETCH(QString, title);
        QFETCH(QString, answer);
        QFETCH(QString, stored);
        auto *field = control<FileChooser>(qPrintable(chooser));
        QVERIFY(field->isReadOnly());
        m_dialogs.fileAnswer = answer;
        auto *folderButton = field->findChild<QToolButton *>();
        QVERIFY(folderButton);
        click(folderButton);
        QCOMPARE(m_dialogs.fileTitles, QStringList{title});
        QVERIFY(QRegularExpression(QRegularExpression::wildcardToRegularExpression("*.[gG][iI][fF]"))
                    .match("PIC.GIF")
                    .hasMatch());
        QVERIFY(m_dialogs.fileFilters.constFirst().startsWith("HTML Files ("));
        QCOMPARE(chooser == "SoundPick" ? m_options->SoundPick() : m_options->Backgroundfile(), stored);
        QCOMPARE(field->text(), stored);
    }

    void fileDroppedOnSoundPick()
    {
        auto *sound = control<FileChooser>("SoundPick");
        QVERIFY(sound->acceptDrops());
        QVERIFY(!control<FileChooser>("Backgroundfile")->acceptDrops());
        QMimeData data;
        data.setUrls(
            {QUrl::fromLocalFile("/media/new sounds/note.txt"), QUrl::fromLocalFile("/media/b.jpg")});
        const QPoint at = sound->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(sound, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(sound, &drop);
        QCOMPARE(m_options->SoundPick(),
                 QStringLiteral("\"/media/new sounds/note.txt\"")); // first file, no type check
        QCOMPARE(sound->text(), m_options->SoundPick());
    }

    void hintsFollowTheHelpSwitch()
    {
        HelpHints &hints = HelpHints::instance();
        click(control("RxLabel8")); // hints off
        QVERIFY(!m_options->HelpSystem());
        for (const char *name :
             {"ColumnEdit", "WebNameEdit", "UsePicture", "fff", "PopupMenu", "EmailButton"}) {
            QTest::mouseMove(control(name));
            QVERIFY2(!hints.showsHint(control(name)), name);
        }
        QTest::mouseMove(control("RTextColor"));
        QVERIFY(!hints.showsHint(control("RTextColor")));
        for (const char *name : {"HelpSystem", "RxLabel8"}) {
            QTest::mouseMove(control(name));
            QVERIFY2(hints.showsHint(control(name)), name);
            QTRY_VERIFY(hints.balloon() && hints.balloon()->isVisible());
            QCOMPARE(hints.hintedControl(), control(name));
            hints.hideHint();
        }
        click(control("HelpSystem")); // on again: decided at the next move
        QTest::mouseMove(control("ColumnEdit"), QPoint(3, 3));
        QVERIFY(hints.showsHint(control("ColumnEdit")));
    }

    void helpCaptionFollowsTheStoredSetting()
    {
        QTemporaryDir dir;
        QSettings settings(dir.filePath("settings.ini"), QSettings::IniFormat);
        settings.setValue("HelpSystem", "1");
        m_options->loadHelpSystem(settings);
        QCOMPARE(control<QLabel>("RxLabel8")->text(), QStringLiteral("Help System (Off)"));
        QVERIFY(!control<QCheckBox>("HelpSystem")->isChecked());
        settings.setValue("HelpSystem", "0");
        m_options->loadHelpSystem(settings);
        QCOMPARE(control<QLabel>("RxLabel8")->text(), QStringLiteral("Help System (On)"));
    }

    void captionButtonsLightUp()
    {
        auto *halt = control<ShadowText>("HaltButton");
        QVERIFY(!halt->isHot());
        QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), halt->mapToGlobal(QPointF(2, 2)));
        QApplication::sendEvent(halt, &enter);
        QVERIFY(halt->isHot());
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(halt, &leave);
        QVERIFY(!halt->isHot());
    }

    void hideAndShowKeepValues()
    {
        const QStringList steps = {"box:UsePicture", "caption:eee", "type:ColumnEdit:6", "pct:3",
                                   "box:PLabelSize"};
        for (const QString &s : steps)
            act(s);
        typeInto(control("TitleEdit"), "Kept");
        m_options->setSoundPick("/p/s.gif");
        click(control("HaltButton"));
        QVERIFY(!m_form->isVisible());
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
        verifyWindowShowsOptions();
        QCOMPARE(m_options->TitleEdit(), QStringLiteral("Kept"));
        QCOMPARE(m_options->ColumnEdit(), 6);
        QVERIFY(m_options->isPercentMarked(3));
        QVERIFY(m_options->isUsePicture() && m_options->isUseBackgroundPicture() && m_options->PLabelSize());
        QCOMPARE(control<QLineEdit>("SoundPick")->text(), QStringLiteral("/p/s.gif"));
    }

    void sizeEditorsFollowWhileHidden()
    {
        m_form->hide();
        m_options->mediaKindChanged(mkWav);
        QVERIFY(!control("HeightEdit")->isEnabled());
        m_options->mediaKindChanged(mkJpg);
        QVERIFY(control("HeightEdit")->isEnabled());
    }

    void aboutButtonAsksForTheAboutWindow()
    {
        QSignalSpy about(m_form.get(), &TSettingsForm::aboutRequested);
        click(control("AboutButton"));
        QCOMPARE(about.count(), 1);
    }

    void emailButton()
    {
        QTemporaryDir user;
        m_form->setEmailFolder(user.path());
        QList<QUrl> opened;
        bool enabledWhileOpening = true;
        m_form->setOpener([&](const QUrl &url) {
            opened << url;
            enabledWhileOpening = control("EmailButton")->isEnabled();
            return false; // a desktop that cannot open it: nothing is reported
        });
        click(control("EmailButton"));
        QCOMPARE(opened, QList<QUrl>{QUrl::fromLocalFile(user.filePath("email.htm"))});
        QVERIFY(!enabledWhileOpening);
        QVERIFY(control("EmailButton")->isEnabled());
        QVERIFY(m_dialogs.errors.isEmpty());
        QFile page(user.filePath("email.htm"));
        QVERIFY(page.open(QIODevice::ReadOnly));
        QVERIFY(page.readAll().contains("URL=mailto:"));
    }

    // An installed program's own folder takes no files: the page goes to the user's data folder.
    void emailPageGoesToTheUsersDataFolder()
    {
        QStandardPaths::setTestModeEnabled(true);
        PageOptions options;
        TSettingsForm form(options);
        form.setDialogs(&m_dialogs);
        QList<QUrl> opened;
        form.setOpener([&](const QUrl &url) {
            opened << url;
            return true;
        });
        click(form.findChild<QWidget *>("EmailButton"));
        const QString dataFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        QStandardPaths::setTestModeEnabled(false);
        QCOMPARE(opened.size(), 1);
        const QString written = opened.first().toLocalFile();
        QCOMPARE(QFileInfo(written).absolutePath(), QFileInfo(dataFolder).absoluteFilePath());
        QVERIFY(QFile::exists(written));
        QVERIFY(!QFile::exists(QCoreApplication::applicationDirPath() + "/email.htm"));
        QFile::remove(written);
    }

    void emailPageThatCannotBeWritten()
    {
        QTemporaryDir temp;
        QFile blocker(temp.filePath("file"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        m_form->setEmailFolder(temp.filePath("file/a"));
        int opened = 0;
        m_form->setOpener([&](const QUrl &) { return ++opened > 0; });
        click(control("EmailButton"));
        QCOMPARE(opened, 0);
        QCOMPARE(m_dialogs.errors.size(), 1);
        QVERIFY(m_dialogs.errors.constFirst().contains("email.htm"));
        QVERIFY(control("EmailButton")->isEnabled());
    }
};

QTEST_MAIN(TestSettings)
#include "tst_Settings.moc"
