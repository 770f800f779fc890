// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/ScannerControls.h"

#include "core/MediaKinds.h"
#include "ui/FileListView.h"
#include "ui/FolderTreeView.h"
#include "ui/kit/HelpHints.h"
#include "ui/kit/PictureButton.h"
#include "ui/kit/ShadowText.h"

#include <QMenu>

namespace
{

// The window's own face first, then look-alikes a Linux desktop is likely to have.
QFont boldFont(const QStringList &families, int pixelSize)
{
    QFont font;
    font.setFamilies(families);
    font.setBold(true);
    font.setPixelSize(pixelSize);
    return font;
}

template <typename Control>
Control *place(Control *control, const char *name, const QRect &place, const QString &hint = {})
{
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(place);
    if (!hint.isEmpty())
        HelpHints::setHint(control, hint);
    return control;
}

// The "x" and "-" on the skin's white tabs: white ink would vanish there, so the pointer over one
// turns its ink blue (the skin's count colour); pressed it turns dark blue and moves down like the
// pictures.
ShadowText *textButton(QWidget *form, const QString &caption)
{
    auto *button = new ShadowText(caption, form);
    button->setAlignment(Qt::AlignCenter);
    button->setClickable(true);
    button->setHotLook({QColor(0, 0, 255), QColor(Qt::white)});
    button->setPressedLook({QColor(0, 0, 128), QColor(Qt::white), 1});
    return button;
}

PictureButton *pictureButton(QWidget *form, const char *name, const QRect &where, const QString &hint)
{
    return PictureButton::place(form, QString::fromLatin1(name),
                                QStringLiteral("scanner_%1.png").arg(QLatin1String(name)), {}, where, hint);
}

// Kind buttons by code: where each lies on the skin.
constexpr std::array<QRect, 8> kKindPlaces{{
    {297, 330, 78, 22}, // gjButton
    {389, 330, 48, 22}, // GIFButton
    {439, 330, 48, 22}, // JPGButton
    {365, 355, 56, 22}, // WAVButton
    {314, 355, 49, 22}, // MIDButton
    {423, 355, 48, 22}, // MP3Button
    {384, 378, 48, 22}, // AVIButton
    {331, 378, 51, 22}, // MPGButton
}};

void dressSilver(QWidget *view)
{
    view->setFont(boldFont({QStringLiteral("DejaVu Sans")}, 11));
    QPalette palette = view->palette();
    palette.setColor(QPalette::Base, QColor(192, 192, 192));
    palette.setColor(QPalette::AlternateBase, QColor(200, 200, 200));
    palette.setColor(QPalette::Window, QColor(192, 192, 192));
    // Disabled (the tree while the pick list is open) it reads greyed but whole: dark grey on a
    // slightly darker silver, not the style's pale grey on grey.
    palette.setColor(QPalette::Disabled, QPalette::Base, QColor(184, 184, 184));
    palette.setColor(QPalette::Disabled, QPalette::Window, QColor(184, 184, 184));
    for (const QPalette::ColorRole role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, QColor(64, 64, 64));
    view->setPalette(palette);
    view->setAutoFillBackground(true);
}

} // namespace

ScannerControls::ScannerControls(QWidget *form)
{
    DirectoryListBox =
        place(new FolderTreeView(form), "DirectoryListBox", {100, 89, 187, 182},
              QObject::tr("Choose a folder that contains pictures or sounds to use for your web page. "
                          "The files will be listed in the window on the right."));
    dressSilver(DirectoryListBox);
    HelpHints::setHint(DirectoryListBox->viewport(),
                       HelpHints::hintOf(DirectoryListBox)); // the pointer moves there
    FileListBoxSH =
        place(new FileListView(form), "FileListBoxSH", {286, 89, 265, 214},
              QObject::tr("This window shows the files that will be used to build your web page.  "
                          "Right-Click for more options."));
    dressSilver(FileListBoxSH);
    HelpHints::setHint(FileListBoxSH->viewport(), HelpHints::hintOf(FileListBoxSH));

    ListLabel = place(new ShadowText({}, form), "ListLabel", {304, 300, 233, 29},
                      QObject::tr("This shows the type of files and the number of files that will be used in "
                                  "creating your web page."));
    ListLabel->setFont(boldFont(
        {QStringLiteral("Comic Sans MS"), QStringLiteral("Comic Neue"), QStringLiteral("DejaVu Sans")}, 19));
    ListLabel->setLook({QColor(0, 0, 255), QColor(Qt::white)});
    ListLabel->setAlignment(Qt::AlignCenter);
    ListLabel->setText(QStringLiteral("Picture List"));
    ListLabel->hide();

    HaltButton =
        place(textButton(form, QStringLiteral("x")), "HaltButton", {564, 85, 11, 19}, QObject::tr("Quit"));
    HaltButton->setFont(boldFont(
        {QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")}, 16));
    // Up and right of where the list's frame turns its corner, so the whole mark shows in its box.
    Shrinkit =
        place(textButton(form, QStringLiteral("-")), "Shrinkit", {556, 64, 8, 22}, QObject::tr("Minimize"));
    Shrinkit->setFont(boldFont(
        {QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")}, 19));

    WebButton = pictureButton(form, "WebButton", {77, 297, 76, 28},
                              QObject::tr("Click here to create your web page."));
    PreviewButton =
        pictureButton(form, "PreviewButton", {157, 298, 90, 28},
                      QObject::tr("Click here to launch your web browser and see your web page."));
    GrabberButton =
        pictureButton(form, "GrabberButton", {87, 327, 94, 29},
                      QObject::tr("Click here to open the Grabber window. This lets you grab a frame from an "
                                  "AVI movie and use it to build a movie web page."));
    ViewButton = pictureButton(
        form, "ViewButton", {184, 325, 78, 29},
        QObject::tr("Click here to open the Viewer window. This lets you view your pictures and "
                    "listen to your audio files (including MP3)."));
    OptionsButton =
        pictureButton(form, "OptionsButton", {142, 355, 93, 28},
                      QObject::tr("Click here to open the Options window. This lets you fine tune your web "
                                  "page."));
    PickListButton =
        pictureButton(form, "PickListButton", {556, 290, 16, 14},
                      QObject::tr("Click this button to bring up a pick list. You can then select and "
                                  "arrange your files, as well as save and load your lists."));
    RzBmpButton1 = place(new PictureButton(QString(), form), "RzBmpButton1", {568, 389, 36, 22});

    for (int code = mkGifJpg; code <= mkMpg; ++code) {
        const MediaKindInfo *kind = MediaKinds::info(code);
        kindButtons[code - 1] =
            pictureButton(form, kind->button, kKindPlaces[code - 1], QString::fromLatin1(kind->hint));
    }

    FileListPopupMenu = new QMenu(form);
    FileListPopupMenu->setObjectName(QStringLiteral("FileListPopupMenu"));
    Deleteallthumbnails1 = FileListPopupMenu->addAction(QObject::tr("Delete all thumbnails"));
    Deleteallthumbnails1->setObjectName(QStringLiteral("Deleteallthumbnails1"));
    Removespacesfromfilenames1 = FileListPopupMenu->addAction(QObject::tr("Remove spaces from filenames"));
    Removespacesfromfilenames1->setObjectName(QStringLiteral("Removespacesfromfilenames1"));
    FileListBoxSH->setContextMenuPolicy(Qt::CustomContextMenu);
}
