// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/kit/Skin.h"

#include "platform/DataFiles.h"
#include "ui/kit/ScaledPicture.h"

#include <QBitmap>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>
#include <QWindow>

#include <algorithm>

Skin::Skin(QWidget *window, const QPixmap &pixmap, const QPixmap &sharp, std::optional<QColor> key)
    : QObject(window), m_window(window), m_original(pixmap), m_pixmap(pixmap), m_sharpOriginal(sharp),
      m_sharp(sharp), m_key(key)
{
}

namespace
{

// Colours the window set for itself stay; every other role is ours, not the desktop's. (A window
// that set none has an empty resolve mask, and QPalette::resolve would hand that emptiness on, which
// leaves the whole window to the application's palette.)
QPalette ownColoursOver(QPalette ours, const QPalette &own)
{
    for (int group = 0; group < QPalette::NColorGroups; ++group)
        for (int role = 0; role < QPalette::NColorRoles; ++role) {
            const auto g = QPalette::ColorGroup(group);
            const auto r = QPalette::ColorRole(role);
            if (own.isBrushSet(g, r))
                ours.setBrush(g, r, own.brush(g, r));
        }
    return ours;
}

// The picture made height points tall: its row stretchRow (in points) repeated below itself, the rows
// above and below it kept whole. Works in the picture's own pixels, so a sharp copy grows exactly
// as its normal one: by the same points, with the last pixel row of the stretched row repeated.
QPixmap grown(const QPixmap &picture, int height, int stretchRow)
{
    const int scale = qRound(picture.devicePixelRatio());
    const QImage source = picture.toImage();
    QImage image(source.width(), height * scale, source.format());
    const int keptAbove = (stretchRow + 1) * scale;
    const int keptBelow = source.height() - keptAbove;
    const int repeatedRow = keptAbove - 1;
    const auto bytes = size_t(source.bytesPerLine());
    for (int y = 0; y < image.height(); ++y) {
        const int from = y < keptAbove                     ? y
                         : y >= image.height() - keptBelow ? y - image.height() + source.height()
                                                           : repeatedRow;
        std::copy_n(source.constScanLine(from), bytes, image.scanLine(y));
    }
    QPixmap result = QPixmap::fromImage(image);
    result.setDevicePixelRatio(picture.devicePixelRatio());
    return result;
}

} // namespace

bool Skin::cutsOutByTransparency()
{
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

void Skin::fitWindow()
{
    // The guest's place is kept while it is closed, so the window never changes its size: the
    // compositor places it once, whole on the screen, and never sees it grow past the screen's edge.
    const bool holding = m_guest && m_guestShown;
    const QRect guestArea = m_guest ? m_guest->geometry() : QRect();
    m_window->setFixedSize((QRect(QPoint(), m_pixmap.size()) | guestArea).size());
    m_shown = m_pixmap;
    m_shownSharp = m_sharp;
    if (m_key) {
        // The outline comes from the normal picture at every scale: the sharp copy's key pixels are
        // the very same, each pixel of the normal one a block of it.
        const QBitmap outline = m_pixmap.createMaskFromColor(*m_key, Qt::MaskInColor);
        if (m_translucent) {
            m_shown.setMask(outline);
            if (!m_shownSharp.isNull())
                m_shownSharp.setMask(QBitmap::fromPixmap(
                    outline.scaled(m_sharp.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation)));
        }
        if (holding) {
            const QRegion guestShape = m_guest->mask().isEmpty() ? QRegion(m_guest->rect()) : m_guest->mask();
            m_window->setMask(QRegion(outline) | guestShape.translated(guestArea.topLeft()));
        } else {
            m_window->setMask(outline); // what takes the clicks, and on X11 the window's shape
        }
    }
    m_window->update();
}

Skin *Skin::of(QWidget *window)
{
    return window ? window->findChild<Skin *>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

void Skin::holdBeside(QWidget *guest)
{
    constexpr int kGap = 4;
    m_guest = guest;
    guest->setParent(m_window, Qt::Widget);
    guest->move(m_pixmap.width() + kGap, 0);
    guest->hide();
    m_guestShown = false;
    guest->installEventFilter(this);
    fitWindow();
}

void Skin::setHeight(int height, int stretchRow)
{
    const int original = m_original.height();
    stretchRow = std::clamp(stretchRow, 0, original - 1);
    if (height <= original) {
        m_pixmap = m_original;
        m_sharp = m_sharpOriginal;
    } else {
        m_pixmap = grown(m_original, height, stretchRow);
        if (!m_sharpOriginal.isNull())
            m_sharp = grown(m_sharpOriginal, height, stretchRow);
    }
    fitWindow();
}

QPalette Skin::palette()
{
    // The light palette the skins were drawn against; disabled texts greyed, as the style greys them.
    QPalette palette;
    const auto set = [&palette](QPalette::ColorRole role, QRgb normal, QRgb disabled) {
        for (auto group : {QPalette::Active, QPalette::Inactive})
            palette.setColor(group, role, QColor::fromRgba(normal));
        palette.setColor(QPalette::Disabled, role, QColor::fromRgba(disabled));
    };
    set(QPalette::WindowText, 0xff000000, 0xffbebebe);
    set(QPalette::Button, 0xffefefef, 0xffefefef);
    set(QPalette::Light, 0xffffffff, 0xffffffff);
    set(QPalette::Midlight, 0xffcacaca, 0xffcacaca);
    set(QPalette::Dark, 0xff9f9f9f, 0xffbebebe);
    set(QPalette::Mid, 0xffb8b8b8, 0xffb8b8b8);
    set(QPalette::Text, 0xff000000, 0xffbebebe);
    set(QPalette::BrightText, 0xffffffff, 0xffffffff);
    set(QPalette::ButtonText, 0xff000000, 0xffbebebe);
    set(QPalette::Base, 0xffffffff, 0xffefefef);
    set(QPalette::Window, 0xffefefef, 0xffefefef);
    set(QPalette::Shadow, 0xff767676, 0xffb1b1b1);
    set(QPalette::Highlight, 0xff308cc6, 0xff919191);
    set(QPalette::HighlightedText, 0xffffffff, 0xffffffff);
    set(QPalette::Link, 0xff0000ff, 0xff0000ff);
    set(QPalette::LinkVisited, 0xffff00ff, 0xffff00ff);
    set(QPalette::AlternateBase, 0xfff7f7f7, 0xfff7f7f7);
    set(QPalette::NoRole, 0xff000000, 0xff000000);
    set(QPalette::ToolTipBase, 0xffffffdc, 0xffffffdc);
    set(QPalette::ToolTipText, 0xff000000, 0xff000000);
    set(QPalette::PlaceholderText, 0x80000000, 0x80000000);
    return palette;
}

Skin *Skin::apply(QWidget *window, const QString &skinFile, std::optional<QColor> key)
{
    const ScaledPicture picture = ScaledPicture::load(skinFile);
    QPixmap pixmap = picture.normal;
    QPixmap sharp = picture.sharp;
    if (pixmap.isNull()) {
        qWarning("Skin %s is missing from %s", qPrintable(skinFile), qPrintable(DataFiles::folder()));
        pixmap = QPixmap(window->size().isEmpty() ? QSize(200, 100) : window->size());
        pixmap.fill(QColor(192, 192, 192));
        key.reset();
    }
    auto *skin = new Skin(window, pixmap, sharp, key);
    window->setWindowFlags(window->windowFlags() | Qt::FramelessWindowHint);
    if (key && cutsOutByTransparency()) {
        skin->m_translucent = true;
        window->setAttribute(Qt::WA_TranslucentBackground);
    }
    window->setPalette(ownColoursOver(palette(), window->palette()));
    skin->fitWindow();
    window->installEventFilter(skin);
    return skin;
}

void Skin::drag(const QPoint &globalPosition)
{
    // The window system moves the window where it can (Wayland ignores a top-level's own moves);
    // asked once the pointer moves, so a plain click on the body stays a click.
    if (!m_systemMoveTried) {
        m_systemMoveTried = true;
        QWindow *handle = m_window->window()->windowHandle();
        if (handle && handle->startSystemMove()) {
            m_dragging = false;
            Q_EMIT systemMoveStarted();
            return;
        }
    }
    m_window->window()->move(globalPosition - m_dragOffset); // a held guest drags its host
}

bool Skin::eventFilter(QObject *watched, QEvent *event)
{
    if (m_guest && watched == m_guest) {
        if (event->type() == QEvent::Show || event->type() == QEvent::Hide) {
            m_guestShown = event->type() == QEvent::Show;
            fitWindow();
        }
        return false;
    }
    if (watched != m_window)
        return false;
    switch (event->type()) {
    case QEvent::Paint: {
        QPainter painter(m_window);
        // On a HiDPI screen the sharp copy, pixel for pixel; it covers the same points.
        const bool sharp = m_window->devicePixelRatioF() > 1 && !m_shownSharp.isNull();
        painter.drawPixmap(0, 0, sharp ? m_shownSharp : m_shown);
        return false;
    }
    case QEvent::MouseButtonPress: {
        auto *press = static_cast<QMouseEvent *>(event);
        // A press on a held guest reaches here too, when the guest leaves it: its own skin drags.
        const bool onGuest = m_guestShown && m_guest->geometry().contains(press->position().toPoint());
        if (press->button() == Qt::LeftButton && !onGuest) {
            m_dragging = true;
            m_systemMoveTried = false;
            m_dragOffset = press->globalPosition().toPoint() - m_window->window()->frameGeometry().topLeft();
        }
        return false;
    }
    case QEvent::MouseMove: {
        auto *move = static_cast<QMouseEvent *>(event);
        if (m_dragging && (move->buttons() & Qt::LeftButton))
            drag(move->globalPosition().toPoint());
        return false;
    }
    case QEvent::MouseButtonRelease:
        m_dragging = false;
        return false;
    default:
        return false;
    }
}
