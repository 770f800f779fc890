// SPDX-License-Identifier: GPL-2.0-or-later
// Enhanced metafiles: every record is checked by libUEMF's safe parser before it is read, then its
// drawing is done with QPainter. Records outside the drawing subset below are passed over.
#include "media/Metafile.h"

#include "media/CpuDeadline.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QStack>

#include <algorithm>
#include <cmath>
#include <cstring>

extern "C" {
#include <uemf.h>
#include <uemf_safe.h>
}

namespace
{

template <typename T> T recordAs(const char *record)
{
    T value;
    std::memcpy(&value, record, sizeof value);
    return value;
}

constexpr double kPieceCost = 4'000'000;   // pixels drawn between two looks at the clock
constexpr double kShapeCost = 400'000'000; // beyond it a shape costs seconds to draw

QColor colourOf(const U_COLORREF &c)
{
    return QColor(c.Red, c.Green, c.Blue);
}

struct DeviceContext {
    QPen pen{Qt::black};
    QBrush brush{Qt::white};
    QPointF position;
    QPoint windowOrigin;
    QSize windowExtent;
    QPoint viewportOrigin;
    QSize viewportExtent;
};

// Plays the records into a painter whose picture is the declared bounds scaled by canvasScale. Pens
// are no wider than the picture, long lines are drawn in pieces with the CPU time checked between
// them, and a shape that would cost more than any picture needs makes the drawing stop: overBudget().
class EmfPlayer
{
public:
    EmfPlayer(QPainter &painter, QPoint deviceOrigin, QSizeF canvasScale, int maxSide,
              const CpuDeadline &deadline)
        : m_painter(painter), m_deviceOrigin(deviceOrigin), m_canvasScale(canvasScale), m_maxPen(maxSide),
          m_deadline(deadline)
    {
        applyMapping();
    }

    void play(const char *record, uint32_t type, uint32_t size);

    bool overBudget()
    {
        m_over = m_over || m_deadline.passed();
        return m_over;
    }

private:
    void applyMapping();
    QPen strokePen() const;
    double penPixels(const QPen &pen) const;
    bool affordable(const QPolygonF &polygon);
    void drawPolyline(const QPolygonF &polygon);
    void select(uint32_t handle);
    template <typename Point> QPolygonF points(const char *first, uint32_t count) const;
    void drawPoly(const char *record, uint32_t size, bool closed, bool sixteen);
    void drawPolyPoly(const char *record, uint32_t size, bool closed, bool sixteen);

    QPainter &m_painter;
    QPoint m_deviceOrigin;
    QSizeF m_canvasScale;
    double m_maxPen;
    const CpuDeadline &m_deadline;
    bool m_over = false;
    DeviceContext m_dc;
    QStack<DeviceContext> m_saved;
    QHash<uint32_t, QPen> m_pens;
    QHash<uint32_t, QBrush> m_brushes;
};

void EmfPlayer::applyMapping()
{
    QTransform t;
    t.scale(m_canvasScale.width(), m_canvasScale.height());
    t.translate(-m_deviceOrigin.x(), -m_deviceOrigin.y());
    t.translate(m_dc.viewportOrigin.x(), m_dc.viewportOrigin.y());
    if (!m_dc.windowExtent.isEmpty() && !m_dc.viewportExtent.isEmpty())
        t.scale(double(m_dc.viewportExtent.width()) / m_dc.windowExtent.width(),
                double(m_dc.viewportExtent.height()) / m_dc.windowExtent.height());
    t.translate(-m_dc.windowOrigin.x(), -m_dc.windowOrigin.y());
    m_painter.setTransform(t);
}

// The pen as drawn: at most as wide as the picture, whatever the mapping makes of its width.
QPen EmfPlayer::strokePen() const
{
    QPen pen = m_dc.pen;
    const double scale = std::sqrt(std::abs(m_painter.transform().determinant()));
    if (pen.style() != Qt::NoPen && pen.widthF() * scale > m_maxPen && scale > 0)
        pen.setWidthF(m_maxPen / scale);
    return pen;
}

double EmfPlayer::penPixels(const QPen &pen) const
{
    return (pen.style() == Qt::NoPen ? 0.0 : pen.widthF()) *
               std::sqrt(std::abs(m_painter.transform().determinant())) +
           1;
}

// A shape's stroke costs about its length times the pen's width in pixels, its fill a pass over its
// edges for every row; beyond what any picture needs, the drawing is given up.
bool EmfPlayer::affordable(const QPolygonF &polygon)
{
    const QPolygonF onCanvas = m_painter.transform().map(polygon);
    const double pen = penPixels(strokePen());
    double cost = double(polygon.size()) * m_painter.device()->height();
    for (qsizetype i = 1; i < onCanvas.size(); ++i)
        cost += (QLineF(onCanvas[i - 1], onCanvas[i]).length() + 1) * pen;
    m_over = m_over || cost > kShapeCost;
    return !overBudget();
}

// Long lines go in pieces that share their end points, the clock read between them.
void EmfPlayer::drawPolyline(const QPolygonF &polygon)
{
    const QPen pen = strokePen();
    m_painter.setPen(pen);
    const QPolygonF onCanvas = m_painter.transform().map(polygon);
    const double width = penPixels(pen);
    qsizetype from = 0;
    while (from + 1 < polygon.size() && !overBudget()) {
        qsizetype to = from;
        double cost = 0;
        do {
            cost += (QLineF(onCanvas[to], onCanvas[to + 1]).length() + 1) * width;
            ++to;
        } while (to + 1 < polygon.size() && cost < kPieceCost);
        m_painter.drawPolyline(polygon.constData() + from, int(to - from + 1));
        from = to;
    }
}

void EmfPlayer::select(uint32_t handle)
{
    if (handle & U_STOCK_OBJECT) {
        switch (handle) {
        case U_WHITE_BRUSH:
            m_dc.brush = QBrush(Qt::white);
            break;
        case U_LTGRAY_BRUSH:
            m_dc.brush = QBrush(QColor(192, 192, 192));
            break;
        case U_GRAY_BRUSH:
            m_dc.brush = QBrush(QColor(128, 128, 128));
            break;
        case U_DKGRAY_BRUSH:
            m_dc.brush = QBrush(QColor(64, 64, 64));
            break;
        case U_BLACK_BRUSH:
            m_dc.brush = QBrush(Qt::black);
            break;
        case U_NULL_BRUSH:
            m_dc.brush = Qt::NoBrush;
            break;
        case U_WHITE_PEN:
            m_dc.pen = QPen(Qt::white);
            break;
        case U_BLACK_PEN:
            m_dc.pen = QPen(Qt::black);
            break;
        case U_NULL_PEN:
            m_dc.pen = Qt::NoPen;
            break;
        default:
            break;
        }
        return;
    }
    if (m_pens.contains(handle))
        m_dc.pen = m_pens.value(handle);
    else if (m_brushes.contains(handle))
        m_dc.brush = m_brushes.value(handle);
}

template <typename Point> QPolygonF EmfPlayer::points(const char *first, uint32_t count) const
{
    QPolygonF polygon;
    polygon.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        const Point p = recordAs<Point>(first + i * sizeof(Point));
        polygon << QPointF(p.x, p.y);
    }
    return polygon;
}

void EmfPlayer::drawPoly(const char *record, uint32_t size, bool closed, bool sixteen)
{
    const auto head = recordAs<U_EMRPOLYLINE>(record);
    const size_t pointSize = sixteen ? sizeof(U_POINT16) : sizeof(U_POINTL);
    if (size < U_SIZE_EMRPOLYLINE || (size - U_SIZE_EMRPOLYLINE) / pointSize < head.cptl)
        return; // the points would lie outside the record
    const char *first = record + U_SIZE_EMRPOLYLINE;
    const QPolygonF polygon =
        sixteen ? points<U_POINT16>(first, head.cptl) : points<U_POINTL>(first, head.cptl);
    if (!closed) {
        drawPolyline(polygon);
    } else if (affordable(polygon)) {
        m_painter.setPen(strokePen());
        m_painter.setBrush(m_dc.brush);
        m_painter.drawPolygon(polygon);
    }
}

void EmfPlayer::drawPolyPoly(const char *record, uint32_t size, bool closed, bool sixteen)
{
    const auto head = recordAs<U_EMRPOLYPOLYLINE>(record);
    const size_t pointSize = sixteen ? sizeof(U_POINT16) : sizeof(U_POINTL);
    const char *counts = record + U_SIZE_EMRPOLYPOLYLINE;
    if (size < U_SIZE_EMRPOLYPOLYLINE || (size - U_SIZE_EMRPOLYPOLYLINE) / sizeof(uint32_t) < head.nPolys)
        return;
    quint64 total = 0;
    for (uint32_t i = 0; i < head.nPolys; ++i)
        total += recordAs<uint32_t>(counts + i * sizeof(uint32_t));
    const quint64 room = size - U_SIZE_EMRPOLYPOLYLINE - quint64(head.nPolys) * sizeof(uint32_t);
    if (total > room / pointSize)
        return; // the points would lie outside the record
    const char *next = counts + size_t(head.nPolys) * sizeof(uint32_t);
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    for (uint32_t i = 0; i < head.nPolys; ++i) {
        const uint32_t n = recordAs<uint32_t>(counts + i * sizeof(uint32_t));
        const QPolygonF polygon = sixteen ? points<U_POINT16>(next, n) : points<U_POINTL>(next, n);
        next += size_t(n) * pointSize;
        if (!affordable(polygon))
            return;
        path.addPolygon(polygon);
        if (closed)
            path.closeSubpath();
    }
    m_painter.setPen(strokePen());
    m_painter.setBrush(closed ? m_dc.brush : Qt::NoBrush);
    m_painter.drawPath(path);
}

void EmfPlayer::play(const char *record, uint32_t type, uint32_t size)
{
    switch (type) {
    case U_EMR_SETWINDOWEXTEX: {
        const auto r = recordAs<U_EMRSETWINDOWEXTEX>(record);
        m_dc.windowExtent = QSize(r.szlExtent.cx, r.szlExtent.cy);
        applyMapping();
        break;
    }
    case U_EMR_SETWINDOWORGEX: {
        const auto r = recordAs<U_EMRSETWINDOWORGEX>(record);
        m_dc.windowOrigin = QPoint(r.ptlOrigin.x, r.ptlOrigin.y);
        applyMapping();
        break;
    }
    case U_EMR_SETVIEWPORTEXTEX: {
        const auto r = recordAs<U_EMRSETVIEWPORTEXTEX>(record);
        m_dc.viewportExtent = QSize(r.szlExtent.cx, r.szlExtent.cy);
        applyMapping();
        break;
    }
    case U_EMR_SETVIEWPORTORGEX: {
        const auto r = recordAs<U_EMRSETVIEWPORTORGEX>(record);
        m_dc.viewportOrigin = QPoint(r.ptlOrigin.x, r.ptlOrigin.y);
        applyMapping();
        break;
    }
    case U_EMR_SAVEDC:
        if (m_saved.size() < 1000)
            m_saved.push(m_dc);
        break;
    case U_EMR_RESTOREDC:
        if (!m_saved.isEmpty()) {
            m_dc = m_saved.pop();
            applyMapping();
        }
        break;
    case U_EMR_CREATEPEN: {
        const auto r = recordAs<U_EMRCREATEPEN>(record);
        QPen pen(colourOf(r.lopn.lopnColor), std::max(0, r.lopn.lopnWidth.x));
        if ((r.lopn.lopnStyle & 0xF) == U_PS_NULL)
            pen = Qt::NoPen;
        m_brushes.remove(r.ihPen);
        m_pens.insert(r.ihPen, pen);
        break;
    }
    case U_EMR_CREATEBRUSHINDIRECT: {
        const auto r = recordAs<U_EMRCREATEBRUSHINDIRECT>(record);
        const QBrush brush = r.lb.lbStyle == U_BS_NULL ? QBrush(Qt::NoBrush) : QBrush(colourOf(r.lb.lbColor));
        m_pens.remove(r.ihBrush);
        m_brushes.insert(r.ihBrush, brush);
        break;
    }
    case U_EMR_SELECTOBJECT:
        select(recordAs<U_EMRSELECTOBJECT>(record).ihObject);
        break;
    case U_EMR_DELETEOBJECT: {
        const uint32_t handle = recordAs<U_EMRDELETEOBJECT>(record).ihObject;
        m_pens.remove(handle);
        m_brushes.remove(handle);
        break;
    }
    case U_EMR_MOVETOEX: {
        const auto r = recordAs<U_EMRMOVETOEX>(record);
        m_dc.position = QPointF(r.ptl.x, r.ptl.y);
        break;
    }
    case U_EMR_LINETO: {
        const auto r = recordAs<U_EMRLINETO>(record);
        const QPointF to(r.ptl.x, r.ptl.y);
        m_painter.setPen(strokePen());
        m_painter.drawLine(m_dc.position, to);
        m_dc.position = to;
        break;
    }
    case U_EMR_RECTANGLE:
    case U_EMR_ELLIPSE: {
        const auto r = recordAs<U_EMRRECTANGLE>(record);
        const QRectF box(QPointF(r.rclBox.left, r.rclBox.top), QPointF(r.rclBox.right, r.rclBox.bottom));
        m_painter.setPen(strokePen());
        m_painter.setBrush(m_dc.brush);
        if (type == U_EMR_RECTANGLE)
            m_painter.drawRect(box);
        else
            m_painter.drawEllipse(box);
        break;
    }
    case U_EMR_POLYGON:
    case U_EMR_POLYLINE:
        drawPoly(record, size, type == U_EMR_POLYGON, false);
        break;
    case U_EMR_POLYGON16:
    case U_EMR_POLYLINE16:
        drawPoly(record, size, type == U_EMR_POLYGON16, true);
        break;
    case U_EMR_POLYPOLYGON:
    case U_EMR_POLYPOLYLINE:
        drawPolyPoly(record, size, type == U_EMR_POLYPOLYGON, false);
        break;
    case U_EMR_POLYPOLYGON16:
    case U_EMR_POLYPOLYLINE16:
        drawPolyPoly(record, size, type == U_EMR_POLYPOLYGON16, true);
        break;
    default:
        break;
    }
}

QImage fail(QString *error, const QString &why)
{
    *error = why;
    return QImage();
}

} // namespace

QImage renderEmf(const QByteArray &file, QString *error, const MetafileLimits &limits)
{
    const char *data = file.constData();
    const qsizetype size = file.size();
    if (size < qsizetype(U_SIZE_EMRHEADER_MIN))
        return fail(error, QStringLiteral("not an enhanced metafile"));
    const auto first = recordAs<U_EMR>(data);
    if (first.iType != U_EMR_HEADER || first.nSize < U_SIZE_EMRHEADER_MIN || first.nSize > size)
        return fail(error, QStringLiteral("not an enhanced metafile"));
    U_EMRHEADER header{};
    std::memcpy(&header, data, qMin<size_t>(sizeof header, first.nSize));
    if (header.dSignature != U_ENHMETA_SIGNATURE)
        return fail(error, QStringLiteral("not an enhanced metafile"));
    const qint64 width = qint64(header.rclBounds.right) - header.rclBounds.left + 1;
    const qint64 height = qint64(header.rclBounds.bottom) - header.rclBounds.top + 1;
    if (width <= 0 || height <= 0)
        return fail(error, QStringLiteral("the metafile declares no drawing area"));

    const QSize canvas = metafileCanvasSize(width, height, limits.maxSide);
    QImage image(canvas, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return fail(error, QStringLiteral("not enough memory for the picture"));
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    const CpuDeadline deadline(limits.maxCpuMilliseconds);
    EmfPlayer player(painter, QPoint(header.rclBounds.left, header.rclBounds.top),
                     QSizeF(double(canvas.width()) / width, double(canvas.height()) / height), limits.maxSide,
                     deadline);
    qsizetype at = 0;
    bool ended = false;
    for (int count = 0; !ended; ++count) {
        if (count >= limits.maxRecords)
            return fail(error,
                        QStringLiteral("the metafile holds more than %1 records").arg(limits.maxRecords));
        if (player.overBudget())
            return fail(error, QStringLiteral("the metafile takes too long to draw"));
        if (size - at < qsizetype(sizeof(U_EMR)))
            break;
        const auto emr = recordAs<U_EMR>(data + at);
        if (emr.nSize < sizeof(U_EMR) || emr.nSize % 4 != 0 || emr.nSize > uint64_t(size - at))
            return fail(error, QStringLiteral("damaged record %1 in the metafile").arg(count + 1));
        // The safe parser may read a record's whole declared size: it lies within the file (checked above).
        if (!U_emf_record_safe(data + at))
            return fail(error, QStringLiteral("damaged record %1 in the metafile").arg(count + 1));
        if (emr.iType == U_EMR_EOF)
            ended = true;
        else if (count > 0)
            player.play(data + at, emr.iType, emr.nSize);
        at += emr.nSize;
    }
    painter.end();
    if (player.overBudget())
        return fail(error, QStringLiteral("the metafile takes too long to draw"));
    if (!ended)
        return fail(error, QStringLiteral("the metafile ends without its last record"));
    return image;
}
