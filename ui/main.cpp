// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/main.h"

#include "core/MediaListing.h"
#include "media/BmpHeader.h"
#include "platform/DataFiles.h"
#include "platform/SoundPlayer.h"
#include "platform/UserSettings.h"
#include "ui/Scanner.h"
#include "ui/ViewerDisplay.h"
#include "ui/kit/FormDialogs.h"
#include "viewing/GifPlayer.h"
#include "viewing/ViewerLoad.h"
#include "viewing/ViewerTexts.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QScreen>
#include <QScrollArea>
#include <QSettings>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>

using namespace ViewerTexts;

namespace
{

const QColor kGrey(192, 192, 192);
constexpr int kBarHeight = 23;

QLabel *statusPanel(const QString &name, const QString &text, QWidget *parent)
{
    auto *panel = new QLabel(text, parent);
    panel->setObjectName(name);
    panel->setFrameShape(QFrame::Box);
    panel->setLineWidth(1);
    panel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    panel->setFixedHeight(kBarHeight);
    panel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    QFont font = panel->font();
    font.setBold(true);
    panel->setFont(font);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    palette.setColor(QPalette::Window, kGrey);
    panel->setPalette(palette);
    panel->setAutoFillBackground(true);
    return panel;
}

const char *const kPageCaptions[] = {"NIL", "GIF", "JPG", "BMP", "WIN", "MCI"};
const QString kFitKey = QStringLiteral("Viewer/FitToWindow");

} // namespace

TMainForm2::TMainForm2(TMainForm &mainForm, MessagePort &messages, SoundPlayer *playwave2, QWidget *parent)
    : QWidget(parent, Qt::Window), m_main(mainForm), m_mainAlive(&mainForm), m_messages(messages),
      m_playwave2(playwave2), m_sound(new SoundPlayer(this)), m_dialogs(&QtFormDialogs::instance())
{
    setObjectName(QStringLiteral("MainForm2"));
    setWindowTitle(tr("Viewer"));
    setWindowIcon(QIcon(DataFiles::path(QStringLiteral("tessaloom.png"))));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, kGrey);
    setPalette(palette);
    setAutoFillBackground(true);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    NameSizePanel = statusPanel(QStringLiteral("NameSizePanel"), QString(), this);
    layout->addWidget(NameSizePanel);
    buildPages();
    layout->addWidget(display, 1);

    MediaWindowPanel = new QWidget(this);
    MediaWindowPanel->setObjectName(QStringLiteral("MediaWindowPanel"));
    MediaWindowPanel->setFixedHeight(kBarHeight);
    auto *bottom = new QHBoxLayout(MediaWindowPanel);
    bottom->setContentsMargins(0, 0, 0, 0);
    bottom->setSpacing(0);
    HeightPanel = statusPanel(QStringLiteral("HeightPanel"), QStringLiteral(" Height - "), MediaWindowPanel);
    WidthPanel = statusPanel(QStringLiteral("WidthPanel"), QStringLiteral(" Width - "), MediaWindowPanel);
    ColorPanel = statusPanel(QStringLiteral("ColorPanel"), QStringLiteral(" Colors - "), MediaWindowPanel);
    // A quarter, a quarter and a half of the width, but never less than a panel's text needs: the
    // layout shares the width by these stretches within each panel's minimum, which follows its text
    // and font, so the window can be made small again and never cuts a number.
    for (QLabel *panel : {HeightPanel, WidthPanel, ColorPanel}) {
        panel->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
        bottom->addWidget(panel, panel == ColorPanel ? 2 : 1);
    }
    layout->addWidget(MediaWindowPanel);

    buildMenu();
    applyCentring();
    m_refit = new QTimer(this);
    m_refit->setSingleShot(true);
    m_refit->setInterval(150); // once the person stops dragging the window's edge
    connect(m_refit, &QTimer::timeout, this, &TMainForm2::refitJpeg);
    connect(m_sound, &SoundPlayer::failed, this, [this] {
        // The playback service could not open the sound after all: the same failure as any other.
        if (m_soundFile.isEmpty())
            return;
        if (currentPage() == MciPage && m_fileName == m_soundFile.toLower())
            clearPage(MciPage);
        showFailureFor(m_soundFile);
    });
    connect(m_sound, &SoundPlayer::finished, this, [this] { m_soundFile.clear(); });

    resize(378, 296);
    move(361, 104);
    FormCreate();
}

TMainForm2::~TMainForm2()
{
    Shutdown();
}

void TMainForm2::buildPages()
{
    display = new QStackedWidget(this);
    display->setObjectName(QStringLiteral("display"));
    auto *nil = new QWidget(display);
    nil->setObjectName(QString::fromLatin1(kPageCaptions[NilPage]));
    display->addWidget(nil);

    GIF1 = new ViewerDisplay(QStringLiteral("GIF1"), ViewerDisplay::Clearing::Alpha);
    JPG = new ViewerDisplay(QStringLiteral("JPG"), ViewerDisplay::Clearing::BottomLeftColour);
    BMP = new ViewerDisplay(QStringLiteral("BMP"), ViewerDisplay::Clearing::Alpha);
    WIN = new ViewerDisplay(QStringLiteral("WIN"), ViewerDisplay::Clearing::Alpha);
    GIF1->setTransparent(true);
    BMP->setTransparent(true);
    WIN->setTransparent(true);
    const std::pair<ViewerDisplay *, int> pictures[] = {
        {GIF1, GifPage}, {JPG, JpgPage}, {BMP, BmpPage}, {WIN, WinPage}};
    for (const auto &[picture, page] : pictures)
        display->addWidget(scrolled(picture, page));

    MCIPanel = new QWidget(display);
    MCIPanel->setObjectName(QStringLiteral("MCIPanel"));
    auto *mci = new QVBoxLayout(MCIPanel);
    mci->setContentsMargins(0, 0, 0, 0);
    SoundPic = new QLabel(MCIPanel);
    SoundPic->setObjectName(QStringLiteral("SoundPic"));
    SoundPic->setScaledContents(true); // stretched over the whole panel
    SoundPic->setAlignment(Qt::AlignCenter);
    SoundPic->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    mci->addWidget(SoundPic);
    display->addWidget(MCIPanel);
    display->setCurrentIndex(MciPage);
}

QScrollArea *TMainForm2::scrolled(QWidget *content, int page)
{
    auto *area = new QScrollArea(display);
    area->setObjectName(QString::fromLatin1(kPageCaptions[page]));
    area->setFrameShape(QFrame::NoFrame);
    area->viewport()->setBackgroundRole(QPalette::Window);
    area->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    area->setWidget(content);
    area->setWidgetResizable(false);
    m_areas[page - 1] = area;
    return area;
}

void TMainForm2::buildMenu()
{
    MWindowPopupMenu = new QMenu(this);
    MWindowPopupMenu->setObjectName(QStringLiteral("MWindowPopupMenu"));
    Transparent1 = MWindowPopupMenu->addAction(tr("Transparent"), this, &TMainForm2::Transparent1Click);
    Transparent1->setObjectName(QStringLiteral("Transparent1"));
    Transparent1->setCheckable(true);
    Transparent1->setChecked(true);
    Color1 = MWindowPopupMenu->addAction(tr("&Change Background Color"), this, &TMainForm2::Color1Click);
    Color1->setObjectName(QStringLiteral("Color1"));
    ToggleFrontBack1 = MWindowPopupMenu->addAction(tr("&Toggle Window Front/Back"), this,
                                                   &TMainForm2::ToggleFrontBack1Click);
    ToggleFrontBack1->setObjectName(QStringLiteral("ToggleFrontBack1"));
    N1 = MWindowPopupMenu->addSeparator();
    N1->setObjectName(QStringLiteral("N1"));
    CenterPicture = MWindowPopupMenu->addAction(tr("Center &Picture"), this, &TMainForm2::CenterPictureClick);
    CenterPicture->setObjectName(QStringLiteral("CenterPicture"));
    CenterPicture->setCheckable(true);
    FitToWindow = MWindowPopupMenu->addAction(tr("Fit to Window"), this, &TMainForm2::FitToWindowClick);
    FitToWindow->setObjectName(QStringLiteral("FitToWindow"));
    FitToWindow->setCheckable(true);
    FitToWindow->setChecked(UserSettings::open()->value(kFitKey, true).toBool());
    connect(MWindowPopupMenu, &QMenu::aboutToShow, this,
            [this] { ToggleFrontBack1->setEnabled(!isMaximized()); });
}

int TMainForm2::currentPage() const
{
    return display->currentIndex();
}

void TMainForm2::FormCreate()
{
    if (m_main.listing().FileListBox().isEmpty())
        return;
    m_main.listing().takeSelectedFile();
    FormShow(); // loads nothing yet: the main window sets ViewerOpen only after making the viewer
}

void TMainForm2::showFile(const QString &)
{
    FormShow();
}

void TMainForm2::FormShow()
{
    MainState &state = m_main.state();
    const QString clicked = m_main.listing().ClickedFile();
    if (clicked.isEmpty() || !state.ViewerOpen || m_loading)
        return;
    state.MWindowCheckBox = true;
    if (m_main.listing().FileListBox().isEmpty())
        return;
    const bool hadCursor = m_main.testAttribute(Qt::WA_SetCursor);
    const QCursor cursor = m_main.cursor();
    m_main.setEnabled(false);
    m_main.setCursor(Qt::WaitCursor);
    m_loading = true;
    Q_EMIT loadStarted();
    const QFileInfo file(QDir(m_main.CurrentFolder()), clicked);
    NameSizePanel->setText(nameSizeText(clicked, file.exists() ? file.size() : 0));
    if (FileListClick()) {
        UpdateStatus();
    } else {
        clearPage(currentPage());
        showFailureFor(clicked);
    }
    m_loading = false;
    m_main.setEnabled(true);
    if (hadCursor)
        m_main.setCursor(cursor);
    else
        m_main.unsetCursor();
}

bool TMainForm2::FileListClick()
{
    const QString clicked = m_main.listing().ClickedFile();
    m_fileName = clicked.toLower();
    m_extension = extensionOf(m_fileName);
    const int page = pageFor(m_extension);
    // An animation runs only while its GIF is the file shown: any other lets it go with its frames.
    if (page != GifPage)
        releaseGif();
    display->setCurrentIndex(page);
    // Opened by the name as listed: letter case counts in file names here.
    const QString path = QDir(m_main.CurrentFolder()).filePath(clicked);
    ViewerPicture picture;
    switch (page) {
    case GifPage:
        picture = loadViewerGif(path);
        break;
    case JpgPage:
        picture = loadViewerJpeg(path, fitBox());
        break;
    case BmpPage:
        picture = loadViewerBmp(path);
        break;
    case WinPage:
        WIN->setImage(QImage());
        picture = loadViewerWin(path);
        break;
    case MciPage:
        return loadSound(path);
    default:
        return true;
    }
    if (!picture.ok || (page == GifPage && !startGif(picture)))
        return false;
    if (page == JpgPage)
        JPG->setImage(picture.image);
    else if (page == BmpPage)
        BMP->setImage(picture.image);
    else if (page == WinPage)
        WIN->setImage(picture.image);
    if (page != GifPage) {
        const QSize own = picture.fullSize.isValid() ? picture.fullSize : picture.image.size();
        m_shownWidth = own.width();
        m_shownHeight = own.height();
        m_bitsPerPixel = picture.bitsPerPixel;
    }
    applyCentring();
    return true;
}

bool TMainForm2::startGif(const ViewerPicture &picture)
{
    stopGif();
    m_gif = new GifPlayer(this);
    QString error;
    if (!m_gif->start(picture.gifData, gifCanvasLimit(), picture.gif.frames > 1, &error)) {
        stopGif();
        return false;
    }
    GIF1->setOpaqueColour(QColor::fromRgb(picture.gif.backgroundRgb));
    GIF1->setImage(m_gif->currentFrame());
    connect(m_gif, &GifPlayer::frameChanged, GIF1, &ViewerDisplay::setImage);
    m_gifColours = picture.gif.globalColours;
    m_gifFrames = picture.gif.frames;
    m_shownWidth = picture.gif.width;
    m_shownHeight = picture.gif.height;
    return true;
}

// A GIF's frames are composed no larger than the desktop the viewer stands on: a window shows no
// more than that, and a file declaring a huge screen then costs what a screenful does.
QSize TMainForm2::gifCanvasLimit() const
{
    const QScreen *desktop = screen();
    return desktop ? desktop->availableSize() : QSize(1920, 1080);
}

void TMainForm2::releaseGif()
{
    stopGif();
    GIF1->setImage(QImage());
}

void TMainForm2::stopGif()
{
    delete m_gif;
    m_gif = nullptr;
}

bool TMainForm2::loadSound(const QString &path)
{
    const QString pictureName = soundPictureFor(m_extension);
    if (pictureName.isEmpty())
        return false; // a kind of this page without a picture
    const ViewerPicture picture = loadViewerJpeg(DataFiles::path(pictureName));
    if (!picture.ok)
        return false;
    const QFileInfo sound(path);
    if (!sound.isFile() || !sound.isReadable())
        return false;
    SoundPic->setPixmap(QPixmap::fromImage(picture.image));
    HeightPanel->setText(QStringLiteral("Height -"));
    WidthPanel->setText(QStringLiteral("Width -"));
    ColorPanel->setText(QStringLiteral("Colors -"));
    MCIPanel->update();
    m_soundFile = m_main.listing().ClickedFile();
    m_sound->playFile(sound.absoluteFilePath());
    return true;
}

void TMainForm2::UpdateStatus()
{
    switch (currentPage()) {
    case NilPage:
        WidthPanel->clear();
        HeightPanel->clear();
        ColorPanel->clear();
        break;
    case GifPage:
        WidthPanel->setText(widthText(m_shownWidth));
        HeightPanel->setText(heightText(m_shownHeight));
        ColorPanel->setText(gifColoursText(m_gifColours, m_gifFrames));
        break;
    case JpgPage:
    case BmpPage:
        WidthPanel->setText(widthText(m_shownWidth));
        HeightPanel->setText(heightText(m_shownHeight));
        ColorPanel->setText(bitmapColoursText(bmpColourCount(m_bitsPerPixel)));
        break;
    default:
        break; // metafiles, icons and sounds are not measured here
    }
}

// A file that cannot be shown leaves no picture of another file under its name: its page is emptied
// and the bottom bar goes back to its empty captions.
void TMainForm2::clearPage(int page)
{
    switch (page) {
    case GifPage:
        stopGif();
        GIF1->setImage(QImage());
        break;
    case JpgPage:
        JPG->setImage(QImage());
        break;
    case BmpPage:
        BMP->setImage(QImage());
        break;
    case WinPage:
        WIN->setImage(QImage());
        break;
    case MciPage:
        SoundPic->clear();
        break;
    default:
        break;
    }
    HeightPanel->setText(QStringLiteral(" Height - "));
    WidthPanel->setText(QStringLiteral(" Width - "));
    ColorPanel->setText(QStringLiteral(" Colors - "));
}

void TMainForm2::showFailureFor(const QString &name)
{
    if (m_playwave2)
        m_playwave2->play(QStringLiteral("error.wav"));
    m_messages.showMessage(tr("Error loading file (%1)").arg(name.toLower()));
}

void TMainForm2::Transparent1Click()
{
    // The action has already inverted its check.
    GIF1->setTransparent(Transparent1->isChecked());
    JPG->setTransparent(Transparent1->isChecked());
}

void TMainForm2::Color1Click()
{
    if (const std::optional<QColor> colour = m_dialogs->askColor(this, kGrey)) {
        QPalette palette = this->palette();
        palette.setColor(QPalette::Window, *colour);
        setPalette(palette);
    }
}

void TMainForm2::ToggleFrontBack1Click()
{
    const bool visible = isVisible();
    m_togglingFlags = true;
    setWindowFlag(Qt::WindowStaysOnTopHint, !(windowFlags() & Qt::WindowStaysOnTopHint));
    if (visible)
        show(); // changing the flags hides the window
    m_togglingFlags = false;
}

void TMainForm2::CenterPictureClick()
{
    applyCentring();
}

void TMainForm2::applyCentring()
{
    const bool centred = CenterPicture->isChecked();
    const bool fitted = FitToWindow->isChecked();
    for (ViewerDisplay *picture : {GIF1, JPG, BMP, WIN}) {
        const bool centres = centred && picture != WIN;
        // The area first: while it sizes its widget itself, it would undo the picture's own size.
        for (QScrollArea *area : m_areas) {
            if (area->widget() == picture)
                area->setWidgetResizable(centres || fitted);
        }
        picture->setFitted(fitted);
        picture->setCentred(centres);
    }
}

void TMainForm2::FitToWindowClick()
{
    UserSettings::open()->setValue(kFitKey, FitToWindow->isChecked());
    applyCentring();
    if (currentPage() == JpgPage && !m_main.listing().ClickedFile().isEmpty())
        FormShow(); // decoded again, whole or at the scale the window needs
}

QSize TMainForm2::fitBox() const
{
    return FitToWindow->isChecked() ? display->contentsRect().size() : QSize();
}

void TMainForm2::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (currentPage() == JpgPage && FitToWindow->isChecked() && !JPG->image().isNull())
        m_refit->start();
}

// A fitted JPEG was decoded at the scale the window needed then; grown, it would show blurred.
void TMainForm2::refitJpeg()
{
    const QSize own(m_shownWidth, m_shownHeight);
    const QSize decoded = JPG->image().size();
    if (currentPage() != JpgPage || decoded.isEmpty() || decoded == own || m_loading)
        return;
    const QSize needed = own.scaled(fitBox(), Qt::KeepAspectRatio);
    if (needed.width() <= decoded.width() && needed.height() <= decoded.height())
        return;
    const ViewerPicture picture =
        loadViewerJpeg(QDir(m_main.CurrentFolder()).filePath(m_main.listing().ClickedFile()), fitBox());
    if (picture.ok && picture.fullSize == own)
        JPG->setImage(picture.image);
}

void TMainForm2::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_togglingFlags && !event->spontaneous())
        FormShow();
    else if (m_gif)
        m_gif->setPaused(false);
}

void TMainForm2::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    if (!m_gif)
        return;
    // A hidden viewer animates nothing. Minimised, or hidden a moment to take new window flags, it
    // pauses; hidden for good it lets the animation go, as showing it again loads the file anew.
    if (event->spontaneous() || m_togglingFlags)
        m_gif->setPaused(true);
    else
        releaseGif();
}

void TMainForm2::closeEvent(QCloseEvent *event)
{
    Shutdown();
    QWidget::closeEvent(event);
}

void TMainForm2::contextMenuEvent(QContextMenuEvent *event)
{
    MWindowPopupMenu->popup(event->globalPos());
}

void TMainForm2::Shutdown()
{
    if (m_shutDown)
        return;
    m_shutDown = true;
    m_soundFile.clear();
    m_sound->stop();
    if (!m_mainAlive)
        return;
    MainState &state = m_main.state();
    state.MWindowCheckBox = false;
    state.ViewerOpen = false;
}
