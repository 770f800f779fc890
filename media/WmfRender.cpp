// SPDX-License-Identifier: GPL-2.0-or-later
// Windows metafiles through libwmf: scanned for their bounds, then played by its GD device into a
// true-colour canvas whose pixels are copied out before the library releases its memory.
#include "media/Metafile.h"

#include "media/CpuDeadline.h"

#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>

extern "C" {
#include <libwmf/api.h>
#include <libwmf/gd.h>
#include <libwmf/gd/gd.h>
#include <libwmf/ipa.h>
#include <libwmf/macro.h>
}

namespace
{

constexpr double kDotsPerInch = 96.0;

QImage fail(QString *error, const QString &why)
{
    *error = why;
    return QImage();
}

QString wmfError(wmf_error_t code)
{
    switch (code) {
    case wmf_E_InsMem:
        return QStringLiteral("not enough memory for the metafile");
    case wmf_E_EOF:
        return QStringLiteral("the metafile is cut short");
    case wmf_E_BadFormat:
    case wmf_E_BadFile:
        return QStringLiteral("damaged Windows metafile");
    default:
        return QStringLiteral("the Windows metafile cannot be drawn");
    }
}

constexpr quint32 kPlaceableKey = 0x9AC6CDD7u;
constexpr int kMaxSavedStates = 1024; // libwmf's bookkeeping grows with the square of the saved states
constexpr qsizetype kPlaceableBytes = 22;
constexpr qsizetype kHeaderBytes = 18;

// The point counts of the polygon records must fit the record (libwmf trusts them).
bool pointsFit(quint16 function, const uchar *params, qint64 paramWords)
{
    const auto word = [&](qint64 i) { return qint64(qFromLittleEndian<quint16>(params + 2 * i)); };
    switch (function) {
    case 0x0324: // polygon
    case 0x0325: // polyline
        return paramWords >= 1 && 1 + 2 * word(0) <= paramWords;
    case 0x0538: { // polypolygon
        if (paramWords < 1 || 1 + word(0) > paramWords)
            return false;
        qint64 points = 0;
        for (qint64 i = 0; i < word(0); ++i)
            points += word(1 + i);
        return 1 + word(0) + 2 * points <= paramWords;
    }
    default:
        return true;
    }
}

// libwmf takes any bytes for a metafile: only a file whose headers and records all hold together,
// ending with the end record, is handed to it. Returns why not, or an empty text.
QString checkRecords(const QByteArray &file, int maxRecords)
{
    const auto *bytes = reinterpret_cast<const uchar *>(file.constData());
    qsizetype at = 0;
    if (file.size() >= 4 && qFromLittleEndian<quint32>(bytes) == kPlaceableKey)
        at = kPlaceableBytes;
    if (file.size() - at < kHeaderBytes)
        return QStringLiteral("not a Windows metafile");
    const quint16 type = qFromLittleEndian<quint16>(bytes + at);
    const quint16 headerWords = qFromLittleEndian<quint16>(bytes + at + 2);
    if ((type != 1 && type != 2) || headerWords != 9)
        return QStringLiteral("not a Windows metafile");
    // The reader sets aside room for the largest record the header names: it must lie within the file.
    const quint32 maxRecordWords = qFromLittleEndian<quint32>(bytes + at + 12);
    if (qint64(maxRecordWords) * 2 > file.size() - at - kHeaderBytes)
        return QStringLiteral("damaged Windows metafile");
    at += kHeaderBytes;
    int savedStates = 0;
    for (int count = 0; file.size() - at >= 6; ++count) {
        if (count >= maxRecords)
            return QStringLiteral("the metafile holds more than %1 records").arg(maxRecords);
        const quint32 words = qFromLittleEndian<quint32>(bytes + at);
        const quint16 function = qFromLittleEndian<quint16>(bytes + at + 4);
        if (words < 3 || qint64(words) * 2 > file.size() - at)
            return QStringLiteral("damaged Windows metafile");
        if (function == 0)
            return QString(); // the end record
        if (!pointsFit(function, bytes + at + 6, qint64(words) - 3))
            return QStringLiteral("damaged Windows metafile");
        if (function == 0x001E && ++savedStates > kMaxSavedStates) // SaveDC
            return QStringLiteral("the metafile saves more than %1 drawing states").arg(kMaxSavedStates);
        if (function == 0x0127 && words >= 4) { // RestoreDC: a negative count goes back that many
            const qint16 to = qFromLittleEndian<qint16>(bytes + at + 6);
            savedStates = std::max(0, to < 0 ? savedStates + to : std::min(savedStates, to - 1));
        }
        at += qsizetype(words) * 2;
    }
    return QStringLiteral("the metafile ends without its last record");
}

// The GD device allocates the canvas it returns with plain malloc, outside the library's own memory
// list, and the library does not export GD's destroy call: free it the way GD does.
void releaseCanvas(void *canvas)
{
    auto *image = static_cast<gdImagePtr>(canvas);
    if (!image)
        return;
    std::free(image->_tpixels); // a true-colour canvas: its rows point into this one block
    std::free(image->tpixels);
    std::free(image->polyInts);
    std::free(image->style);
    if (image->clip) {
        std::free(image->clip->list);
        std::free(image->clip);
    }
    std::free(image);
}

QString tooCostly()
{
    return QStringLiteral("the metafile takes too long to draw");
}

// Keeps each drawing call of the GD device within what the canvas can show. GD walks every pixel of
// what it is asked to draw, on the canvas or not, and stamps a wide pen's whole brush at every pixel
// of a line: so pens are kept to kMaxPenPixels, rectangles are cut to the canvas, long polylines are
// drawn piece by piece with the CPU time checked between pieces, and a shape whose drawing would cost
// more than any picture needs ends the drawing. libwmf calls the device through a table of functions;
// ours stand in front of the device's own ones.
class DrawingGuard final
{
public:
    DrawingGuard(wmfAPI *api, const wmfD_Rect &bounds, QSize canvas, const CpuDeadline &deadline)
        : m_deadline(deadline), m_bounds(bounds),
          m_extent(std::max(bounds.BR.x - bounds.TL.x, bounds.BR.y - bounds.TL.y)),
          m_pixelsPerUnit(std::max(canvas.width() / (bounds.BR.x - bounds.TL.x),
                                   canvas.height() / (bounds.BR.y - bounds.TL.y))),
          m_maxPen(float(std::min(double(m_extent), kMaxPenPixels / m_pixelsPerUnit))),
          m_canvasHeight(canvas.height())
    {
        auto *table = static_cast<wmfFunctionReference *>(api->function_reference);
        m_device = *table;
        table->poly_line = polyLine;
        table->draw_polygon = polygon;
        table->draw_polypolygon = polyPolygon;
        table->draw_line = [](wmfAPI *a, wmfDrawLine_t *d) {
            guarded(&wmfFunctionReference::draw_line, a, d,
                    [&](DrawingGuard &g) { return g.segmentCost(d->from, d->to, g.penPixels(d->dc)); });
        };
        table->draw_rectangle = [](wmfAPI *a, wmfDrawRectangle_t *d) {
            guarded(&wmfFunctionReference::draw_rectangle, a, d, [&](DrawingGuard &g) {
                g.cutToCanvas(d->TL, d->BR, penWidth(d->dc));
                return 0.0;
            });
        };
        table->rop_draw = [](wmfAPI *a, wmfROP_Draw_t *d) {
            guarded(&wmfFunctionReference::rop_draw, a, d, [&](DrawingGuard &g) {
                g.cutToCanvas(d->TL, d->BR, 0);
                return 0.0;
            });
        };
        table->region_frame = regions<&wmfFunctionReference::region_frame>;
        table->region_paint = regions<&wmfFunctionReference::region_paint>;
        table->draw_ellipse = arc<&wmfFunctionReference::draw_ellipse>;
        table->draw_arc = arc<&wmfFunctionReference::draw_arc>;
        table->draw_pie = arc<&wmfFunctionReference::draw_pie>;
        table->draw_chord = arc<&wmfFunctionReference::draw_chord>;
        table->bmp_draw = [](wmfAPI *a, wmfBMP_Draw_t *d) {
            guarded(&wmfFunctionReference::bmp_draw, a, d, [&](DrawingGuard &g) {
                return (d->crop.w * d->pixel_width * g.m_pixelsPerUnit + 1) *
                       (d->crop.h * d->pixel_height * g.m_pixelsPerUnit + 1);
            });
        };
        table->draw_text = [](wmfAPI *a, wmfDrawText_t *d) {
            guarded(&wmfFunctionReference::draw_text, a, d, [&](DrawingGuard &g) {
                d->font_height = std::min(d->font_height, double(g.m_extent));
                return 0.0;
            });
        };
        s_active = this;
        wmf_status_function(api, this, [](void *self, float) {
            return static_cast<DrawingGuard *>(self)->overBudget() ? 1 : 0;
        });
    }
    ~DrawingGuard() { s_active = nullptr; }
    Q_DISABLE_COPY_MOVE(DrawingGuard)

    bool overBudget()
    {
        m_over = m_over || m_deadline.passed();
        return m_over;
    }

private:
    using Table = wmfFunctionReference;

    // Runs the device's own function unless the drawing is over its budget or cost() says this one
    // call would cost more than any picture needs. cost() may also fit the call to the canvas.
    template <typename Draw, typename Data, typename Cost>
    static void guarded(Draw member, wmfAPI *api, Data *data, Cost cost)
    {
        DrawingGuard &self = *s_active;
        if (self.overBudget())
            return;
        self.clampPen(data->dc);
        self.m_over = cost(self) > kShapeCost;
        if (!self.m_over)
            (self.m_device.*member)(api, data);
    }

    template <void (*Table::*Member)(wmfAPI *, wmfDrawArc_t *)> static void arc(wmfAPI *api, wmfDrawArc_t *d)
    {
        guarded(Member, api, d, [&](DrawingGuard &g) {
            const double pen = g.penPixels(d->dc);
            const double w = std::abs(d->BR.x - d->TL.x) * g.m_pixelsPerUnit + pen;
            const double h = std::abs(d->BR.y - d->TL.y) * g.m_pixelsPerUnit + pen;
            return w * h + 2 * (w + h) * pen * pen;
        });
    }

    template <void (*Table::*Member)(wmfAPI *, wmfPolyRectangle_t *)>
    static void regions(wmfAPI *api, wmfPolyRectangle_t *d)
    {
        guarded(Member, api, d, [&](DrawingGuard &g) {
            d->width = std::min(d->width, g.m_extent);
            d->height = std::min(d->height, g.m_extent);
            for (unsigned int i = 0; i < d->count; ++i)
                g.cutToCanvas(d->TL[i], d->BR[i], d->width);
            return 0.0;
        });
    }

    void clampPen(wmfDC *dc) const
    {
        if (wmfPen *pen = dc ? WMF_DC_PEN(dc) : nullptr) {
            pen->width = std::min(pen->width, double(m_maxPen));
            pen->height = std::min(pen->height, double(m_maxPen));
        }
    }

    // Moves the corners of a box that reach beyond the canvas to just beyond it, outside the pen's
    // reach, so its visible part is drawn as before.
    void cutToCanvas(wmfD_Coord &tl, wmfD_Coord &br, double pen) const
    {
        const float margin = float(pen + 2 / m_pixelsPerUnit);
        for (wmfD_Coord *corner : {&tl, &br}) {
            corner->x = std::clamp(corner->x, m_bounds.TL.x - margin, m_bounds.BR.x + margin);
            corner->y = std::clamp(corner->y, m_bounds.TL.y - margin, m_bounds.BR.y + margin);
        }
    }

    static double penWidth(wmfDC *dc) { return dc && WMF_DC_PEN(dc) ? WMF_PEN_WIDTH(WMF_DC_PEN(dc)) : 1.0; }

    // What GD's lines cost: a wide pen is a brush of its size stamped at every pixel along the line.
    double penPixels(wmfDC *dc) const { return std::max(1.0, penWidth(dc) * m_pixelsPerUnit); }
    double segmentCost(const wmfD_Coord &a, const wmfD_Coord &b, double pen) const
    {
        return (std::max(std::abs(b.x - a.x), std::abs(b.y - a.y)) * m_pixelsPerUnit + 1) * pen * pen;
    }

    // A filled shape costs a pass over each of its edges for every row of the canvas, and its outline.
    double shapeCost(const wmfD_Coord *const *shapes, const U16 *counts, int n, wmfDC *dc) const
    {
        const double pen = penPixels(dc);
        double cost = 0;
        for (int i = 0; i < n; ++i) {
            cost += double(counts[i]) * m_canvasHeight;
            for (int k = 1; k < counts[i]; ++k)
                cost += segmentCost(shapes[i][k - 1], shapes[i][k], pen);
        }
        return cost;
    }

    static void polyLine(wmfAPI *api, wmfPolyLine_t *line)
    {
        DrawingGuard &self = *s_active;
        self.clampPen(line->dc);
        // Pieces share their end points, so the line is drawn whole.
        const double pen = self.penPixels(line->dc);
        int from = 0;
        while (from + 1 < line->count && !self.overBudget()) {
            int to = from;
            double cost = 0;
            do {
                cost += self.segmentCost(line->pt[to], line->pt[to + 1], pen);
                ++to;
            } while (to + 1 < line->count && cost < kPieceCost);
            self.m_over = cost > kShapeCost;
            if (self.m_over)
                return;
            wmfPolyLine_t piece = *line;
            piece.pt = line->pt + from;
            piece.count = static_cast<U16>(to - from + 1);
            self.m_device.poly_line(api, &piece);
            from = to;
        }
    }

    static void polygon(wmfAPI *api, wmfPolyLine_t *shape)
    {
        guarded(&Table::draw_polygon, api, shape, [&](DrawingGuard &g) {
            const wmfD_Coord *points = shape->pt;
            return g.shapeCost(&points, &shape->count, 1, shape->dc);
        });
    }

    static void polyPolygon(wmfAPI *api, wmfPolyPoly_t *shapes)
    {
        guarded(&Table::draw_polypolygon, api, shapes, [&](DrawingGuard &g) {
            return g.shapeCost(shapes->pt, shapes->count, shapes->npoly, shapes->dc);
        });
    }

    static constexpr double kMaxPenPixels = 64;       // a pen is a brush stamped at every pixel
    static constexpr double kPieceCost = 4'000'000;   // pixels drawn between two looks at the clock
    static constexpr double kShapeCost = 400'000'000; // beyond it one call costs seconds
    static inline thread_local DrawingGuard *s_active = nullptr;

    const CpuDeadline &m_deadline;
    wmfFunctionReference m_device;
    wmfD_Rect m_bounds;
    float m_extent; // the drawing's larger side
    double m_pixelsPerUnit;
    float m_maxPen;
    int m_canvasHeight;
    bool m_over = false;
};

struct Session {
    wmfAPI *api = nullptr;
    ~Session()
    {
        if (api)
            wmf_api_destroy(api); // frees every block the library took, the canvas too
    }
};

} // namespace

QImage renderWmf(const QByteArray &file, QString *error, const MetafileLimits &limits)
{
    if (const QString why = checkRecords(file, limits.maxRecords); !why.isEmpty())
        return fail(error, why);
    wmfAPI_Options options{};
    options.function = wmf_gd_function;
    const unsigned long flags =
        WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
    Session session;
    if (wmf_api_create(&session.api, flags, &options) != wmf_E_None || !session.api)
        return fail(error, QStringLiteral("the metafile reader could not start"));
    wmfAPI *api = session.api;
    // libwmf reads from the buffer without writing to it.
    auto *bytes = reinterpret_cast<unsigned char *>(const_cast<char *>(file.constData()));
    if (wmf_mem_open(api, bytes, long(file.size())) != wmf_E_None)
        return fail(error, wmfError(api->err));
    // The scan plays every record too: it runs on the same clock as the drawing.
    CpuDeadline deadline(limits.maxCpuMilliseconds);
    wmf_status_function(api, &deadline, [](void *clock, float) {
        return static_cast<CpuDeadline *>(clock)->passed() ? 1 : 0;
    });
    wmfD_Rect bounds{};
    if (wmf_scan(api, 0, &bounds) != wmf_E_None)
        return fail(error, api->err == wmf_E_UserExit ? tooCostly() : wmfError(api->err));
    unsigned int width = 0;
    unsigned int height = 0;
    if (wmf_display_size(api, &width, &height, kDotsPerInch, kDotsPerInch) != wmf_E_None || width == 0 ||
        height == 0 || !(bounds.BR.x > bounds.TL.x) || !(bounds.BR.y > bounds.TL.y))
        return fail(error, QStringLiteral("the metafile declares no drawing area"));
    const QSize canvas = metafileCanvasSize(width, height, limits.maxSide);
    wmf_gd_t *device = WMF_GD_GetData(api);
    device->type = wmf_gd_image;
    device->bbox = bounds;
    device->width = unsigned(canvas.width());
    device->height = unsigned(canvas.height());
    DrawingGuard guard(api, bounds, canvas, deadline);
    const wmf_error_t played = wmf_play(api, 0, &bounds);
    const std::unique_ptr<void, void (*)(void *)> canvasPixels(device->gd_image, releaseCanvas);
    if (guard.overBudget())
        return fail(error, tooCostly());
    if (played != wmf_E_None || !canvasPixels)
        return fail(error, wmfError(api->err));
    const int *pixels = wmf_gd_image_pixels(device->gd_image);
    if (!pixels)
        return fail(error, QStringLiteral("the Windows metafile cannot be drawn"));
    QImage image(canvas, QImage::Format_RGB32);
    if (image.isNull())
        return fail(error, QStringLiteral("not enough memory for the picture"));
    for (int y = 0; y < canvas.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < canvas.width(); ++x)
            line[x] = 0xFF000000u | (quint32(pixels[size_t(y) * canvas.width() + x]) & 0xFFFFFFu);
    }
    return image;
}
