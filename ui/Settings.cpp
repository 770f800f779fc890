// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/Settings.h"

#include "core/EmailPage.h"
#include "core/PageOptions.h"
#include "ui/kit/ClampedSpinBox.h"
#include "ui/ColorChooser.h"
#include "ui/kit/FieldLook.h"
#include "ui/FileChooser.h"
#include "ui/kit/FormDialogs.h"
#include "ui/kit/HelpHints.h"
#include "ui/kit/NumberField.h"
#include "ui/kit/ShadowText.h"
#include "ui/kit/Skin.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFrame>
#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>
#include <QStandardPaths>
#include <QStyledItemDelegate>
#include <QUrl>

namespace
{

// Columns of the layout: left (background, sounds, sizes) and right (colours, flags, ratio).
constexpr int kLeft = 14;
constexpr int kLeftWidth = 252;
constexpr int kRight = 274;
constexpr int kRightWidth = 232;
constexpr int kRowHeight = 22;

// The percentage marks come from the options only: a click anywhere on an entry, its box
// included, chooses the entry, and the view never toggles a mark by itself.
class MarksFromOptionsDelegate final : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    bool editorEvent(QEvent *, QAbstractItemModel *, const QStyleOptionViewItem &,
                     const QModelIndex &) override
    {
        return false;
    }
};

} // namespace

TSettingsForm::TSettingsForm(PageOptions &options, QWidget *parent)
    : QWidget(parent, Qt::Window), m_options(options), m_dialogs(&QtFormDialogs::instance()),
      m_opener([](const QUrl &url) { return QDesktopServices::openUrl(url); }),
      m_emailFolder(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
{
    setObjectName(QStringLiteral("TSettingsForm"));
    setWindowTitle(tr("Options"));
    Skin::apply(this, QStringLiteral("settings_skin.png"), QColor(Qt::black));
    move(213, 56);
    buildNaming();
    buildBackground();
    buildSounds();
    buildColours();
    buildFlags();
    buildSizes();
    buildRatio();
    buildCaptionButtons();
    setFocusOrder();
    connect(&m_options, &PageOptions::changed, this, &TSettingsForm::showOptions);
    showOptions();
}

void TSettingsForm::setDialogs(FormDialogs *dialogs)
{
    m_dialogs = dialogs;
    for (ColorChooser *chooser : {m_backgroundColor, m_textColor, m_linkColor, m_visitedColor})
        chooser->setDialogs(dialogs);
    m_backgroundFile->setDialogs(dialogs);
    m_soundPick->setDialogs(dialogs);
}

void TSettingsForm::panel(const QRect &area)
{
    auto *frame = new QFrame(this);
    frame->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    frame->setStyleSheet(QStringLiteral("QFrame { border: 1px solid #787e8c; border-radius: 6px;"
                                        " background: rgba(255, 255, 255, 40); }"));
    frame->setGeometry(area);
    frame->lower();
}

void TSettingsForm::buildNaming()
{
    (ShadowText::caption(QStringLiteral("FileNameLabel"), tr("File Name"), ShadowText::Plain, this))
        ->move(kLeft + 2, 38);
    m_webName = new QLineEdit(this);
    m_webName->setObjectName(QStringLiteral("WebNameEdit"));
    m_webName->setGeometry(kLeft, 56, 176, kRowHeight);
    paintSilver(m_webName);
    HelpHints::setHint(m_webName, tr("Enter the name of your web page."));
    connect(m_webName, &QLineEdit::textEdited, &m_options, &PageOptions::setWebNameEdit);

    m_counter = new NumberField(QStringLiteral("NameIncrement"), this);
    m_counter->setGeometry(kLeft + 182, 56, 70, kRowHeight);
    m_counter->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    HelpHints::setHint(m_counter,
                       tr("This number is appended to the filename and automatically incremented every "
                          "time a page is created. The program will not use this if the value is zero."));
    connect(m_counter, &NumberField::valueEdited, &m_options, &PageOptions::setNameIncrement);

    (ShadowText::caption(QStringLiteral("PageTitleLabel"), tr("Page Title"), ShadowText::Plain, this))
        ->move(kRight + 2, 38);
    m_title = new QLineEdit(this);
    m_title->setObjectName(QStringLiteral("TitleEdit"));
    m_title->setGeometry(kRight, 56, kRightWidth, kRowHeight);
    paintSilver(m_title);
    HelpHints::setHint(m_title, tr("Enter the title for your web page"));
    connect(m_title, &QLineEdit::textEdited, &m_options, &PageOptions::setTitleEdit);
}

QCheckBox *TSettingsForm::addCheck(const QString &boxName, const QString &captionName, const QString &caption,
                                   const QString &hint, int x, int y, const std::function<bool()> &isOn,
                                   const std::function<void(bool)> &turn, bool captionToggles)
{
    auto *box = new QCheckBox(this);
    box->setObjectName(boxName);
    box->setGeometry(x, y, 18, kRowHeight);
    auto *label = ShadowText::caption(captionName, caption, ShadowText::Clickable, this);
    label->move(x + 20, y + 3);
    label->adjustSize();
    const HelpHints::Mode mode =
        boxName == QLatin1String("HelpSystem") ? HelpHints::Always : HelpHints::FollowsHelpSystem;
    HelpHints::setHint(box, hint, mode);
    HelpHints::setHint(label, hint, mode);
    connect(box, &QCheckBox::clicked, this, [turn](bool on) { turn(on); });
    // A caption either toggles its flag or, for a choice of several, chooses it.
    connect(label, &ShadowText::clicked, this,
            [isOn, turn, captionToggles] { turn(captionToggles ? !isOn() : true); });
    m_checkViews.push_back([box, isOn] { box->setChecked(isOn()); });
    return box;
}

void TSettingsForm::buildBackground()
{
    panel(QRect(kLeft - 4, 86, kLeftWidth + 8, 116));
    m_backgroundColor = new ColorChooser(QStringLiteral("RBackGroundColor"), Qt::black, this);
    m_backgroundColor->setGeometry(kLeft + 4, 92, 100, kRowHeight);
    HelpHints::setHint(m_backgroundColor, tr("Choose a color to use for the background of your web page"));
    connect(m_backgroundColor, &ColorChooser::colorChosen, &m_options, &PageOptions::setBackGroundColorValue);

    PageOptions &o = m_options;
    addCheck(
        QStringLiteral("UseBackgroundColor"), QStringLiteral("ddd"), tr("Use Color for Backgound"),
        tr("Check this box to use color instead of a picture on the background of your web page."), kLeft + 4,
        118, [&o] { return o.isUseBackgroundColor(); },
        [&o](bool on) { o.setBackgroundChoice(PageOptions::UseBackgroundColor, on); }, false);

    m_backgroundFile = new FileChooser(QStringLiteral("Backgroundfile"), tr("Browse for Background"), this);
    m_backgroundFile->setGeometry(kLeft + 4, 146, kLeftWidth - 8, kRowHeight);
    paintSilver(m_backgroundFile);
    HelpHints::setHint(
        m_backgroundFile,
        tr("Choose a picture to use for the background of your web page (Click on the folder icon)"));
    connect(m_backgroundFile, &FileChooser::pathChosen, &m_options, &PageOptions::setBackgroundfile);

    addCheck(
        QStringLiteral("UseBackgroundPicture"), QStringLiteral("eee"), tr("Use Picture for Backgound"),
        tr("Check this box to use a picture instead of a color on the background of your web page."),
        kLeft + 4, 172, [&o] { return o.isUseBackgroundPicture(); },
        [&o](bool on) { o.setBackgroundChoice(PageOptions::UseBackgroundPicture, on); }, false);
}

void TSettingsForm::buildSounds()
{
    panel(QRect(kLeft - 4, 208, kLeftWidth + 8, 118));
    m_soundPick = new FileChooser(QStringLiteral("SoundPick"), tr("Browse for Sound Picture"), this);
    m_soundPick->setGeometry(kLeft + 4, 214, kLeftWidth - 8, kRowHeight);
    paintSilver(m_soundPick);
    m_soundPick->setAcceptsFileDrops(true);
    HelpHints::setHint(m_soundPick,
                       tr("Choose a picture to use for your sound files (Click on the folder icon)"));
    connect(m_soundPick, &FileChooser::pathChosen, &m_options, &PageOptions::setSoundPick);

    struct Row {
        const char *box, *caption, *text, *hint;
        PageOptions::SoundChoice choice;
    };
    const Row rows[] = {
        {"UsePicture", "fff", QT_TR_NOOP("Use Picture for Sounds"),
         QT_TR_NOOP("Check this box to use a picture instead of text to represent the sound file."),
         PageOptions::UsePicture},
        {"UseText", "ggg", QT_TR_NOOP("Use No Underline Text for Sounds"),
         QT_TR_NOOP("Check this box to use text (actual file name) instead of a picture to represent the "
                    "sound file. "
                    "This option also hides the underline normally associated with linked text."),
         PageOptions::UseText},
        {"UseUnderlineText", "hhh", QT_TR_NOOP("Use Underlined Text for Sounds"),
         QT_TR_NOOP("Check this box to use text (actual file name) instead of a picture to represent the "
                    "sound file."),
         PageOptions::UseUnderlineText},
    };
    int y = 240;
    PageOptions &o = m_options;
    for (const Row &row : rows) {
        const PageOptions::SoundChoice choice = row.choice;
        addCheck(
            QString::fromLatin1(row.box), QString::fromLatin1(row.caption), tr(row.text), tr(row.hint),
            kLeft + 4, y, [&o, choice] { return o.soundChoice() == choice; },
            [&o, choice](bool on) { o.setSoundChoice(choice, on); }, false);
        y += 26;
    }
}

void TSettingsForm::buildColours()
{
    panel(QRect(kRight - 4, 86, kRightWidth + 8, 90));
    struct Row {
        const char *name, *label, *hint;
        Qt::GlobalColor start;
        void (PageOptions::*set)(quint32);
        ColorChooser *TSettingsForm::*field;
    };
    const Row rows[] = {
        {"RTextColor", QT_TR_NOOP("Text Color"), QT_TR_NOOP("Choose a color for your text"), Qt::white,
         &PageOptions::setTextColorValue, &TSettingsForm::m_textColor},
        {"RLinkColor", QT_TR_NOOP("Link Color"), QT_TR_NOOP("Choose a color for text that is linked"),
         Qt::red, &PageOptions::setLinkColorValue, &TSettingsForm::m_linkColor},
        {"RVisitedColor", QT_TR_NOOP("Visited Color"),
         QT_TR_NOOP("Choose a color for text representing visited links"), Qt::blue,
         &PageOptions::setVisitedColorValue, &TSettingsForm::m_visitedColor},
    };
    int y = 92;
    for (const Row &row : rows) {
        auto *label = ShadowText::caption(QString::fromLatin1(row.name) + QStringLiteral("Label"),
                                          tr(row.label), ShadowText::Plain, this);
        label->move(kRight + 4, y + 3);
        auto *chooser = new ColorChooser(QString::fromLatin1(row.name), row.start, this);
        chooser->setGeometry(kRight + 118, y, 104, kRowHeight);
        HelpHints::setHint(chooser, tr(row.hint));
        connect(chooser, &ColorChooser::colorChosen, &m_options, row.set);
        this->*row.field = chooser;
        y += 28;
    }
}

void TSettingsForm::buildFlags()
{
    panel(QRect(kRight - 4, 182, kRightWidth + 8, 144));
    PageOptions &o = m_options;
    struct Row {
        const char *box, *caption, *text, *hint;
        bool (PageOptions::*get)() const;
        void (PageOptions::*set)(bool);
    };
    const Row rows[] = {
        {"PLabelStatus", "ShowFilename", QT_TR_NOOP("Show Filename under picture"),
         QT_TR_NOOP(
             "When this option is checked, the name of the file will be centered beneath the picture on the "
             "web page."),
         &PageOptions::PLabelStatus, &PageOptions::setPLabelStatus},
        {"PLabelSize", "ShowFileSize", QT_TR_NOOP("Show File Size  under picture"),
         QT_TR_NOOP(
             "When this option is checked, the size of the picture/sound file will be centered beneath the "
             "sound/picture on the web page."),
         &PageOptions::PLabelSize, &PageOptions::setPLabelSize},
        {"Thumbnailer", "CreateTH", QT_TR_NOOP("Create Thumbnail Images"),
         QT_TR_NOOP(
             "When this option is checked, smaller images are created and used in the web page to represent "
             "the actual picture. When the web page is viewed and the picture is clicked on, the original "
             "picture is shown."),
         &PageOptions::Thumbnailer, &PageOptions::setThumbnailer},
        {"Shownamebox", "Showname", QT_TR_NOOP("Show Filename/Page Title prompt"),
         QT_TR_NOOP("When this option is checked, the Filename/Page Title is shown after clicking the CREATE "
                    "button. "
                    "If unchecked, the page name and title is used from the options above."),
         &PageOptions::Shownamebox, &PageOptions::setShownamebox},
        {"UsePickList", "RxLabel3", QT_TR_NOOP("Use Pick List"),
         QT_TR_NOOP("When this option is checked, the Pick List will be used instead of the main list ."),
         &PageOptions::UsePickList, &PageOptions::setUsePickList},
        {"HelpSystem", "RxLabel8", QT_TR_NOOP("Help System (On)"),
         QT_TR_NOOP(
             "When the Help System is on, a box like this one will pop up when you position your mouse over "
             "any option."),
         &PageOptions::HelpSystem, &PageOptions::setHelpSystem},
    };
    int y = 188;
    for (const Row &row : rows) {
        const auto get = row.get;
        const auto set = row.set;
        addCheck(
            QString::fromLatin1(row.box), QString::fromLatin1(row.caption), tr(row.text), tr(row.hint),
            kRight + 4, y, [&o, get] { return (o.*get)(); }, [&o, set](bool on) { (o.*set)(on); }, true);
        y += 22;
    }
    m_helpCaption = findChild<ShadowText *>(QStringLiteral("RxLabel8"));
    m_helpCaption->setText(tr("Help System (Off)")); // the wider caption sets the label's size
    m_helpCaption->adjustSize();
}

QSpinBox *TSettingsForm::addSpin(const QString &name, const QString &label, int y, int maximum, int step,
                                 const QString &hint)
{
    (ShadowText::caption(name + QStringLiteral("Label"), label, ShadowText::Plain, this))
        ->move(kLeft + 4, y + 3);
    auto *spin = new ClampedSpinBox(name, name == QLatin1String("ColumnEdit") ? 1 : 0, maximum, step, this);
    spin->setGeometry(kLeft + 140, y - 1, 100, kRowHeight + 2);
    paintSilver(spin);
    HelpHints::setHint(spin, hint);
    return spin;
}

void TSettingsForm::buildSizes()
{
    panel(QRect(kLeft - 4, 332, kLeftWidth + 8, 152));
    m_height = addSpin(QStringLiteral("HeightEdit"), tr("Picture Height"), 340, 500, 5,
                       tr("Leave this 0 for Original Height"));
    m_width = addSpin(QStringLiteral("WidthEdit"), tr("Picture Width"), 368, 500, 5,
                      tr("Leave this 0 for Original Width"));
    m_pictureBorder = addSpin(QStringLiteral("PictureBorderEdit"), tr("Picture Border"), 396, 20, 1,
                              tr("Leave this 0 for No Border"));
    m_tableBorder = addSpin(QStringLiteral("TableBorderEdit"), tr("Table Border"), 424, 20, 1,
                            tr("Leave this 0 for No Table Border"));
    m_columns = addSpin(QStringLiteral("ColumnEdit"), tr("# of Columns"), 452, 20, 1,
                        tr("Set the number of columns (pictures) in each row."));
    connect(m_height, &QSpinBox::valueChanged, &m_options, &PageOptions::setHeightEdit);
    connect(m_width, &QSpinBox::valueChanged, &m_options, &PageOptions::setWidthEdit);
    connect(m_pictureBorder, &QSpinBox::valueChanged, &m_options, &PageOptions::setPictureBorderEdit);
    connect(m_tableBorder, &QSpinBox::valueChanged, &m_options, &PageOptions::setTableBorderEdit);
    connect(m_columns, &QSpinBox::valueChanged, &m_options, &PageOptions::setColumnEdit);
}

void TSettingsForm::buildRatio()
{
    panel(QRect(kRight - 4, 332, kRightWidth + 8, 152));
    (ShadowText::caption(QStringLiteral("PictureRatioLabel"), tr("Picture Ratio"), ShadowText::Plain, this))
        ->move(kRight + 4, 338);
    m_percent = new QListWidget(this);
    m_percent->setObjectName(QStringLiteral("PopupMenu"));
    m_percent->setGeometry(kRight + 4, 358, kRightWidth - 8, 118);
    m_percent->setSelectionMode(QAbstractItemView::NoSelection);
    m_percent->setItemDelegate(new MarksFromOptionsDelegate(m_percent));
    for (int i = 0; i < PageOptions::PercentCount; ++i) {
        auto *item = new QListWidgetItem(PageOptions::percentCaption(i), m_percent);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    HelpHints::setHint(m_percent,
                       tr("Check a percentage and your pictures will be shown at that size. If Create "
                          "Thumbnail Images is selected, a smaller image will be created using this "
                          "percentage."));
    HelpHints::setHint(m_percent->viewport(), HelpHints::hintOf(m_percent));
    auto choose = [this](QListWidgetItem *item) { m_options.choosePercent(m_percent->row(item)); };
    connect(m_percent, &QListWidget::itemClicked, this, choose);
    connect(m_percent, &QListWidget::itemActivated, this, choose);
}

void TSettingsForm::buildCaptionButtons()
{
    struct Button {
        const char *name, *text, *hint;
        void (TSettingsForm::*click)();
    };
    const Button buttons[] = {
        {"HaltButton", "x", QT_TR_NOOP("Close window."), &TSettingsForm::HaltButtonClick},
        {"AboutButton", "?", QT_TR_NOOP("Click here to view program information."),
         &TSettingsForm::AboutButtonClick},
        {"EmailButton", "@",
         QT_TR_NOOP("Click here to send us email about bugs, comments, suggestions, etc..."),
         &TSettingsForm::EmailButtonClick},
    };
    int y = 88;
    for (const Button &b : buttons) {
        auto *label = ShadowText::caption(QString::fromLatin1(b.name), QString::fromLatin1(b.text),
                                          ShadowText::CaptionButton, this);
        label->setGeometry(width() - 36, y, 24, 24);
        HelpHints::setHint(label, tr(b.hint));
        connect(label, &ShadowText::clicked, this, b.click);
        if (QLatin1String(b.name) == QLatin1String("EmailButton"))
            m_emailButton = label;
        y += 30;
    }
}

void TSettingsForm::setFocusOrder()
{
    static const char *const order[] = {
        "WebNameEdit",      "NameIncrement",        "TitleEdit",       "UseBackgroundColor",
        "Backgroundfile",   "UseBackgroundPicture", "SoundPick",       "UsePicture",
        "UseText",          "UseUnderlineText",     "PLabelStatus",    "PLabelSize",
        "Thumbnailer",      "Shownamebox",          "HelpSystem",      "RTextColor",
        "RBackGroundColor", "RLinkColor",           "RVisitedColor",   "HeightEdit",
        "WidthEdit",        "PictureBorderEdit",    "TableBorderEdit", "ColumnEdit",
        "PopupMenu",        "UsePickList"};
    QWidget *previous = nullptr;
    for (const char *name : order) {
        auto *control = findChild<QWidget *>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly);
        Q_ASSERT(control);
        if (previous)
            setTabOrder(previous, control);
        previous = control;
    }
}

void TSettingsForm::showOptions()
{
    const PageOptions &o = m_options;
    if (m_webName->text() != o.WebNameEdit())
        m_webName->setText(o.WebNameEdit());
    if (m_title->text() != o.TitleEdit())
        m_title->setText(o.TitleEdit());
    m_counter->setValue(o.NameIncrement());
    m_backgroundFile->setText(o.Backgroundfile());
    m_soundPick->setText(o.SoundPick());
    m_backgroundColor->setColorText(o.BackGroundColor());
    m_textColor->setColorText(o.TextColor());
    m_linkColor->setColorText(o.LinkColor());
    m_visitedColor->setColorText(o.VisitedColor());
    for (const auto &show : m_checkViews)
        show();
    m_helpCaption->setText(o.HelpSystem() ? tr("Help System (On)") : tr("Help System (Off)"));

    const struct {
        QSpinBox *spin;
        int value;
    } spins[] = {{m_height, o.HeightEdit()},
                 {m_width, o.WidthEdit()},
                 {m_pictureBorder, o.PictureBorderEdit()},
                 {m_tableBorder, o.TableBorderEdit()},
                 {m_columns, o.ColumnEdit()}};
    for (const auto &s : spins) {
        const QSignalBlocker quiet(s.spin);
        s.spin->setValue(s.value);
    }
    for (QSpinBox *spin : {m_height, m_width, m_pictureBorder})
        spin->setEnabled(o.sizeEditorsEnabled());
    for (int i = 0; i < PageOptions::PercentCount; ++i)
        m_percent->item(i)->setCheckState(o.isPercentMarked(i) ? Qt::Checked : Qt::Unchecked);
}

void TSettingsForm::HaltButtonClick()
{
    hide();
}

void TSettingsForm::AboutButtonClick()
{
    Q_EMIT aboutRequested();
}

void TSettingsForm::EmailButtonClick()
{
    m_emailButton->setEnabled(false);
    QString error;
    const QString path = EmailPage::write(m_emailFolder, &error);
    if (path.isEmpty())
        m_dialogs->showError(this, error);
    else
        m_opener(QUrl::fromLocalFile(path)); // a desktop that cannot open it reports nothing
    m_emailButton->setEnabled(true);
}
