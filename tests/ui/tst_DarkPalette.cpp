// SPDX-License-Identifier: GPL-2.0-or-later
// A dark desktop palette forced on the program changes none of the skinned windows: each looks
// exactly as under the light palette, and every field's text keeps 4.5:1 contrast against its ground.
#include "core/PageOptions.h"
#include "ui/AVIGrabber.h"
#include "ui/FileListView.h"
#include "ui/NameOverWrite.h"
#include "ui/NameOverWrite2.h"
#include "ui/NameWebPage.h"
#include "ui/OndrelSplash.h"
#include "ui/Picklist.h"
#include "ui/Scanner.h"
#include "ui/ScannerControls.h"
#include "ui/Settings.h"
#include "ui/guager.h"
#include "ui/prompt2.h"
#include "ui/splash.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QLineEdit>
#include <QScopeGuard>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cmath>
#include <functional>
#include <memory>

namespace
{

// A dark palette as the desktops' dark themes give it: light text on dark grounds.
QPalette darkPalette()
{
    QPalette dark(QColor(53, 53, 53));
    dark.setColor(QPalette::Window, QColor(53, 53, 53));
    dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
    dark.setColor(QPalette::Base, QColor(35, 35, 35));
    dark.setColor(QPalette::AlternateBase, QColor(66, 66, 66));
    dark.setColor(QPalette::Text, QColor(240, 240, 240));
    dark.setColor(QPalette::Button, QColor(53, 53, 53));
    dark.setColor(QPalette::ButtonText, QColor(240, 240, 240));
    dark.setColor(QPalette::Highlight, QColor(42, 130, 218));
    dark.setColor(QPalette::HighlightedText, QColor(35, 35, 35));
    dark.setColor(QPalette::Disabled, QPalette::Text, QColor(127, 127, 127));
    dark.setColor(QPalette::Disabled, QPalette::WindowText, QColor(127, 127, 127));
    return dark;
}

double luminance(QRgb rgb)
{
    const auto channel = [](int value) {
        const double c = value / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(qRed(rgb)) + 0.7152 * channel(qGreen(rgb)) + 0.0722 * channel(qBlue(rgb));
}

double contrast(QRgb a, QRgb b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The field's ground is its most common colour; its text, the colour standing out most from it
// (the solid core of the glyphs). Returns 0 when the box shows one colour only.
double textContrast(const QImage &grab, const QRect &box)
{
    QHash<QRgb, int> counts;
    for (int y = box.top() + 2; y <= box.bottom() - 2; ++y)
        for (int x = box.left() + 2; x <= box.right() - 2; ++x)
            ++counts[grab.pixel(x, y)];
    QRgb ground = 0;
    int most = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > most) {
            most = it.value();
            ground = it.key();
        }
    double best = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        best = std::max(best, contrast(ground, it.key()));
    return best;
}

// The fields of a window that show text the person reads or types.
QList<QWidget *> textFields(QWidget *window)
{
    QList<QWidget *> fields;
    for (QWidget *w : window->findChildren<QWidget *>()) {
        // Greyed fields say they take no input; contrast rules leave them out.
        if (!w->isVisibleTo(window) || !w->isEnabled())
            continue;
        auto *edit = qobject_cast<QLineEdit *>(w);
        if (edit && !edit->text().isEmpty() && !qobject_cast<QAbstractSpinBox *>(w->parent()) &&
            !qobject_cast<QComboBox *>(w->parent()))
            fields << w;
        else if (qobject_cast<QAbstractSpinBox *>(w) || qobject_cast<QComboBox *>(w))
            fields << w;
        else if (auto *view = qobject_cast<QAbstractItemView *>(w);
                 view && view->model() && view->model()->rowCount(view->rootIndex()) > 0)
            fields << view->viewport();
    }
    return fields;
}

} // namespace

class TestDarkPalette : public QObject
{
    Q_OBJECT

    QTemporaryDir m_folder;
    PageOptions m_options;

    QWidget m_mainWindow; // the progress window's anchor

    struct Window {
        const char *name;
        std::function<QWidget *()> make; // made, filled and shown
        bool hasFields = false;          // holds texts the person reads or types in fields
    };

    template <typename Form> static std::function<QWidget *()> shown()
    {
        return [] {
            auto *form = new Form(nullptr);
            form->show();
            return form;
        };
    }

    template <typename Splash> static std::function<QWidget *()> shownSplash()
    {
        return [] {
            auto *splash = new Splash(nullptr);
            splash->setAttribute(Qt::WA_DeleteOnClose, false);
            splash->show();
            splash->Timer1()->stop(); // stays up while it is grabbed
            return splash;
        };
    }

    QList<Window> windows()
    {
        return {
            {"main window",
             [this] {
                 auto *main = new TMainForm(m_options);
                 main->selectFolder(m_folder.path());
                 main->show();
                 if (!QTest::qWaitFor([main] { return main->controls().FileListBoxSH->rowCount() > 0; },
                                      5000))
                     qWarning("the file list stayed empty");
                 return main;
             },
             true},
            {"options",
             [this] {
                 auto *form = new TSettingsForm(m_options);
                 form->show();
                 return form;
             },
             true},
            {"name dialog",
             [] {
                 auto *form = new TNameitForm;
                 for (QLineEdit *edit : form->findChildren<QLineEdit *>())
                     edit->setText(QStringLiteral("MediaPage"));
                 form->show();
                 return form;
             },
             true},
            {"pick list",
             [] {
                 auto *form = new TPickListForm;
                 form->show();
                 for (const char *file : {"beach.jpg", "harbour.jpg"})
                     form->appendFile(QLatin1String(file));
                 return form;
             },
             true},
            {"grabber", shown<TAVIForm>()},
            {"overwrite dialog", shown<TNameOver>()},
            {"list overwrite dialog", shown<TNameOver2>()},
            {"progress",
             [this] {
                 auto *gauge = new TGuageForm(&m_mainWindow);
                 gauge->setAttribute(Qt::WA_DeleteOnClose, false);
                 gauge->setMaximum(12);
                 gauge->setProgress(5);
                 gauge->show();
                 return gauge;
             }},
            {"message",
             [] {
                 auto *prompt = new TPrompt2Form;
                 prompt->setText(QStringLiteral("There are no files of this kind in the folder."));
                 prompt->show();
                 return prompt;
             }},
            {"start splash", shownSplash<TOndrelSplashForm>()},
            {"about", shownSplash<TSplashForm>()},
        };
    }

    QImage grab(QWidget *window)
    {
        QTest::qWait(300); // the main window chooses its first kind a moment after showing
        return window->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_folder.isValid());
        QDir(m_folder.path()).mkdir(QStringLiteral("Sea"));
        for (const char *name : {"beach.jpg", "dunes.jpg"}) {
            QImage picture(40, 30, QImage::Format_RGB32);
            picture.fill(Qt::darkCyan);
            QVERIFY(picture.save(m_folder.filePath(QLatin1String(name))));
        }
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    }

    void darkThemeChangesNoSkinnedWindow_data()
    {
        QTest::addColumn<int>("index");
        const QList<Window> all = windows();
        for (int i = 0; i < all.size(); ++i)
            QTest::newRow(all[i].name) << i;
    }

    void darkThemeChangesNoSkinnedWindow()
    {
        QFETCH(int, index);
        const Window window = windows().at(index);
        const QPalette light = QApplication::palette();
        const auto restore = qScopeGuard([light] { QApplication::setPalette(light); });
        std::unique_ptr<QWidget> plain(window.make());
        const QImage lightGrab = grab(plain.get());
        plain.reset();

        QApplication::setPalette(darkPalette());
        std::unique_ptr<QWidget> dark(window.make());
        const QImage darkGrab = grab(dark.get());
        if (darkGrab != lightGrab && qEnvironmentVariableIsSet("TESSALOOM_SHOT_DIR")) {
            lightGrab.save(qEnvironmentVariable("TESSALOOM_SHOT_DIR") + "/light.png");
            darkGrab.save(qEnvironmentVariable("TESSALOOM_SHOT_DIR") + "/dark.png");
        }
        QVERIFY(darkGrab == lightGrab);

        const QList<QWidget *> fields = textFields(dark.get());
        QCOMPARE(!fields.isEmpty(), window.hasFields);
        for (QWidget *field : fields) {
            const QRect box(field->mapTo(dark.get(), QPoint(0, 0)), field->size());
            const double ratio = textContrast(darkGrab, box);
            QVERIFY2(ratio >= 4.5,
                     qPrintable(QStringLiteral("%1 %2: contrast %3:1")
                                    .arg(QLatin1String(field->metaObject()->className()), field->objectName())
                                    .arg(ratio, 0, 'f', 2)));
        }
    }
};

QTEST_MAIN(TestDarkPalette)
#include "tst_DarkPalette.moc"
