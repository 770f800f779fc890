// SPDX-License-Identifier: GPL-2.0-or-later
#include "media/GifAnimation.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>

namespace
{

// The rows of an interlaced image in the order they are stored: four passes over the rows.
template <typename Visit> bool forEachStoredRow(int height, bool interlaced, Visit visit)
{
    if (!interlaced) {
        for (int y = 0; y < height; ++y) {
            if (!visit(y))
                return false;
        }
        return true;
    }
    constexpr int start[] = {0, 4, 2, 1};
    constexpr int step[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass) {
        for (int y = start[pass]; y < height; y += step[pass]) {
            if (!visit(y))
                return false;
        }
    }
    return true;
}

// The first index i of the ascending map with map[i] >= value.
int firstAtLeast(const std::vector<int> &map, int value)
{
    return int(std::lower_bound(map.begin(), map.end(), value) - map.begin());
}

} // namespace

GifAnimation::GifAnimation() = default;

GifAnimation::~GifAnimation()
{
    if (m_gif)
        DGifCloseFile(m_gif, nullptr);
}

int GifAnimation::holdMs(int hundredths)
{
    return hundredths <= 1 ? 100 : hundredths * 10;
}

bool GifAnimation::open(const QByteArray &data, const QSize &canvasLimit, QString *error)
{
    m_data = data;
    if (!rewind(error))
        return false;
    m_screen = QSize(m_gif->SWidth, m_gif->SHeight);
    if (m_screen.isEmpty()) {
        *error = QStringLiteral("invalid size %1x%2").arg(m_screen.width()).arg(m_screen.height());
        return false;
    }
    QSize canvas = m_screen;
    if (canvasLimit.isValid() &&
        (canvas.width() > canvasLimit.width() || canvas.height() > canvasLimit.height()))
        canvas =
            canvas.scaled(canvasLimit.expandedTo(QSize(1, 1)), Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
    m_canvas = QImage(canvas, QImage::Format_ARGB32_Premultiplied);
    if (m_canvas.isNull()) {
        *error = QStringLiteral("no memory for a %1x%2 canvas").arg(canvas.width()).arg(canvas.height());
        return false;
    }
    clearCanvas();
    // Each canvas pixel shows the screen pixel under its centre.
    m_screenColumnOf.resize(size_t(canvas.width()));
    for (int x = 0; x < canvas.width(); ++x)
        m_screenColumnOf[size_t(x)] =
            int((2 * qint64(x) + 1) * m_screen.width() / (2 * qint64(canvas.width())));
    m_screenRowOf.resize(size_t(canvas.height()));
    m_canvasRowOf.assign(size_t(m_screen.height()), -1);
    for (int y = 0; y < canvas.height(); ++y) {
        const int screenRow = int((2 * qint64(y) + 1) * m_screen.height() / (2 * qint64(canvas.height())));
        m_screenRowOf[size_t(y)] = screenRow;
        m_canvasRowOf[size_t(screenRow)] = y;
    }
    return true;
}

bool GifAnimation::rewind(QString *error)
{
    if (m_gif)
        DGifCloseFile(m_gif, nullptr);
    m_source = GifSource{QByteArrayView(m_data)};
    int code = 0;
    m_gif = openGifSource(&m_source, &code);
    if (!m_gif) {
        *error = gifErrorText(code);
        return false;
    }
    return true;
}

void GifAnimation::clearCanvas()
{
    m_canvas.fill(Qt::transparent);
    m_saved = QImage();
    m_lastRect = QRect();
    m_lastDisposal = 0;
}

qint64 GifAnimation::heldBytes() const
{
    return m_canvas.sizeInBytes() + m_saved.sizeInBytes() + qint64(m_line.capacity()) +
           qint64(m_screenRowOf.capacity() + m_screenColumnOf.capacity() + m_canvasRowOf.capacity()) *
               qint64(sizeof(int)) +
           m_data.size();
}

bool GifAnimation::advance(QString *error, const std::atomic_bool *cancel)
{
    if (!m_gif || m_finished)
        return m_gif != nullptr;
    Control control;
    for (;;) {
        GifRecordType record = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(m_gif, &record) == GIF_ERROR) {
            *error = gifErrorText(m_gif->Error);
            return false;
        }
        if (record == EXTENSION_RECORD_TYPE) {
            if (!readExtension(&control, error))
                return false;
        } else if (record == IMAGE_DESC_RECORD_TYPE) {
            return drawImage(control, error, cancel);
        } else if (record == TERMINATE_RECORD_TYPE) {
            if (m_frame < 0) {
                *error = QStringLiteral("the GIF holds no picture");
                return false;
            }
            m_frameCount = m_frame + 1;
            ++m_passes;
            // Without a loop block the animation plays once; a count repeats it that many times.
            if (m_loops < 0 || (m_loops > 0 && m_passes > m_loops)) {
                m_finished = true;
                return true;
            }
            if (!rewind(error))
                return false;
            m_frame = -1;
            clearCanvas();
            control = Control();
        }
    }
}

bool GifAnimation::readExtension(Control *control, QString *error)
{
    int code = 0;
    GifByteType *block = nullptr;
    if (DGifGetExtension(m_gif, &code, &block) == GIF_ERROR) {
        *error = gifErrorText(m_gif->Error);
        return false;
    }
    if (code == GRAPHICS_EXT_FUNC_CODE && block && block[0] >= 4) {
        control->disposal = (block[1] >> 2) & 7;
        control->delay = block[2] | (block[3] << 8);
        control->transparent = (block[1] & 1) ? block[4] : -1;
    }
    const bool looping =
        code == APPLICATION_EXT_FUNC_CODE && block && block[0] == 11 &&
        (std::memcmp(block + 1, "NETSCAPE2.0", 11) == 0 || std::memcmp(block + 1, "ANIMEXTS1.0", 11) == 0);
    while (block) {
        if (DGifGetExtensionNext(m_gif, &block) == GIF_ERROR) {
            *error = gifErrorText(m_gif->Error);
            return false;
        }
        if (looping && block && block[0] >= 3 && block[1] == 1 && m_passes == 0)
            m_loops = block[2] | (block[3] << 8);
    }
    return true;
}

QRect GifAnimation::canvasRectOf(const QRect &screenRect) const
{
    const int left = firstAtLeast(m_screenColumnOf, screenRect.left());
    const int right = firstAtLeast(m_screenColumnOf, screenRect.left() + screenRect.width());
    const int top = firstAtLeast(m_screenRowOf, screenRect.top());
    const int bottom = firstAtLeast(m_screenRowOf, screenRect.top() + screenRect.height());
    return QRect(left, top, right - left, bottom - top);
}

void GifAnimation::disposePrevious()
{
    if (m_lastRect.isEmpty())
        return;
    if (m_lastDisposal == 2) {
        for (int y = m_lastRect.top(); y <= m_lastRect.bottom(); ++y)
            std::fill_n(reinterpret_cast<QRgb *>(m_canvas.scanLine(y)) + m_lastRect.left(),
                        m_lastRect.width(), QRgb(0));
    } else if (m_lastDisposal == 3 && !m_saved.isNull()) {
        for (int y = 0; y < m_saved.height(); ++y)
            std::memcpy(reinterpret_cast<QRgb *>(m_canvas.scanLine(m_lastRect.top() + y)) + m_lastRect.left(),
                        m_saved.constScanLine(y), size_t(m_saved.width()) * sizeof(QRgb));
    }
    m_saved = QImage();
}

bool GifAnimation::drawImage(const Control &control, QString *error, const std::atomic_bool *cancel)
{
    if (DGifGetImageDesc(m_gif) == GIF_ERROR) {
        *error = gifErrorText(m_gif->Error);
        return false;
    }
    const GifImageDesc &desc = m_gif->Image;
    if (desc.Width <= 0 || desc.Height <= 0) {
        *error = QStringLiteral("frame %1 has no pixels").arg(m_frame + 2);
        return false;
    }
    disposePrevious();
    const QRect frame(desc.Left, desc.Top, desc.Width, desc.Height);
    const QRect place = canvasRectOf(frame.intersected(QRect(QPoint(0, 0), m_screen)));
    if (control.disposal == 3 && !place.isEmpty())
        m_saved = m_canvas.copy(place);

    QRgb colours[256];
    const ColorMapObject *map = desc.ColorMap ? desc.ColorMap : m_gif->SColorMap;
    const int count = map ? std::min(map->ColorCount, 256) : 256;
    for (int i = 0; i < 256; ++i) {
        if (i >= count)
            colours[i] = qRgb(0, 0, 0);
        else if (map)
            colours[i] = qRgb(map->Colors[i].Red, map->Colors[i].Green, map->Colors[i].Blue);
        else
            colours[i] = qRgb(i, i, i); // no colour table at all: shades of grey
    }

    m_line.resize(size_t(desc.Width));
    const bool ok = forEachStoredRow(desc.Height, desc.Interlace, [&](int row) {
        if (cancel && (row & 63) == 0 && cancel->load(std::memory_order_relaxed)) {
            *error = QStringLiteral("cancelled");
            return false;
        }
        if (DGifGetLine(m_gif, m_line.data(), desc.Width) == GIF_ERROR) {
            *error = gifErrorText(m_gif->Error);
            return false;
        }
        const int screenRow = desc.Top + row;
        if (place.isEmpty() || screenRow >= m_screen.height() || m_canvasRowOf[size_t(screenRow)] < 0)
            return true;
        auto *out = reinterpret_cast<QRgb *>(m_canvas.scanLine(m_canvasRowOf[size_t(screenRow)]));
        for (int x = place.left(); x <= place.right(); ++x) {
            const int index = m_line[size_t(m_screenColumnOf[size_t(x)] - desc.Left)];
            if (index != control.transparent)
                out[x] = colours[index];
        }
        return true;
    });
    if (!ok)
        return false;
    ++m_frame;
    m_delayMs = holdMs(control.delay);
    m_lastRect = place;
    m_lastDisposal = control.disposal;
    return true;
}
