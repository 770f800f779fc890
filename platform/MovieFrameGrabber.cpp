#include "platform/MovieFrameGrabber.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QUrl>

#include <gst/app/gstappsink.h>
#include <gst/gst.h>
#include <gst/video/video-info.h>

#include <cmath>

namespace
{

QString tr(const char *text)
{
    return QCoreApplication::translate("MovieFrameGrabber", text);
}

constexpr GstClockTime WaitNs = 10 * GST_SECOND;

// Frames this far into a movie are found by counting decoded frames from its start, which is exact;
// frames beyond by time stamp after a seek to a key frame.
constexpr qint64 CountedSeconds = 60;
// Frames kept from the last count, for the steps back an arrow key makes.
constexpr qint64 RecentFrames = 8;

void setError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

// The frame of a sample as an image of its own (the sample's buffer is released by the caller).
QImage imageOf(GstSample *sample)
{
    GstVideoInfo info;
    if (!gst_video_info_from_caps(&info, gst_sample_get_caps(sample)))
        return {};
    GstBuffer *buffer = gst_sample_get_buffer(sample);
    GstMapInfo map;
    if (!buffer || !gst_buffer_map(buffer, &map, GST_MAP_READ))
        return {};
    const int width = GST_VIDEO_INFO_WIDTH(&info);
    const int height = GST_VIDEO_INFO_HEIGHT(&info);
    const int stride = GST_VIDEO_INFO_PLANE_STRIDE(&info, 0);
    QImage image;
    if (size_t(stride) * size_t(height) <= map.size)
        image = QImage(map.data, width, height, stride, QImage::Format_RGB32).copy();
    gst_buffer_unmap(buffer, &map);
    return image;
}

qint64 ptsOf(GstSample *sample)
{
    GstBuffer *buffer = gst_sample_get_buffer(sample);
    return buffer && GST_BUFFER_PTS_IS_VALID(buffer) ? qint64(GST_BUFFER_PTS(buffer)) : -1;
}

// The time of a decoded frame, given the time of the frame before it (-1 for the first). Frames come
// in display order, one frame duration apart. In a program stream many frames carry no time stamp
// of their own, and the decoder sometimes hands one frame the time of the frame before it (more
// often on a busy machine); every later frame then lags one frame behind. Holding each frame at
// least a frame after the one before keeps the times, and so the frames' numbers, exact.
qint64 frameTime(qint64 pts, qint64 previous, qint64 frameDuration)
{
    if (previous < 0)
        return pts;
    return qMax(pts, previous + frameDuration);
}

} // namespace

MovieFrameGrabber::MovieFrameGrabber()
{
    if (!gst_is_initialized())
        gst_init(nullptr, nullptr);
}

MovieFrameGrabber::~MovieFrameGrabber()
{
    close();
}

void MovieFrameGrabber::close()
{
    if (m_sink)
        gst_object_unref(m_sink);
    if (m_pipeline) {
        gst_element_set_state(m_pipeline, GST_STATE_NULL);
        gst_object_unref(m_pipeline);
    }
    m_sink = nullptr;
    m_pipeline = nullptr;
    m_fps = 0;
    m_frameDuration = 0;
    m_firstPts = 0;
    m_size = {};
    m_frameCount = 0;
    m_nextFrame = -1;
    m_recent.clear();
}

QString MovieFrameGrabber::busError() const
{
    GstBus *bus = gst_element_get_bus(m_pipeline);
    QString text;
    while (GstMessage *message = gst_bus_pop_filtered(bus, GST_MESSAGE_ERROR)) {
        GError *err = nullptr;
        gst_message_parse_error(message, &err, nullptr);
        if (err && text.isEmpty())
            text = QString::fromUtf8(err->message);
        g_clear_error(&err);
        gst_message_unref(message);
    }
    gst_object_unref(bus);
    return text;
}

bool MovieFrameGrabber::waitForState(int state, QString *error)
{
    if (gst_element_set_state(m_pipeline, GstState(state)) == GST_STATE_CHANGE_FAILURE ||
        gst_element_get_state(m_pipeline, nullptr, nullptr, WaitNs) != GST_STATE_CHANGE_SUCCESS) {
        const QString reason = busError();
        setError(error, reason.isEmpty() ? tr("the movie cannot be decoded") : reason);
        return false;
    }
    return true;
}

bool MovieFrameGrabber::open(const QString &path, QString *error)
{
    close();
    const QByteArray uri = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toEncoded();
    GstElement *pipeline = gst_pipeline_new("grabber");
    GstElement *decode = gst_element_factory_make("uridecodebin", nullptr);
    GstElement *convert = gst_element_factory_make("videoconvert", nullptr);
    GstElement *sink = gst_element_factory_make("appsink", nullptr);
    if (!pipeline || !decode || !convert || !sink) {
        for (GstElement *e : {pipeline, decode, convert, sink})
            if (e)
                gst_object_unref(e);
        setError(error, tr("the video decoder is not installed"));
        return false;
    }
    g_object_set(decode, "uri", uri.constData(), nullptr);
    GstCaps *caps = gst_caps_new_simple("video/x-raw", "format", G_TYPE_STRING, "BGRx", nullptr);
    g_object_set(sink, "caps", caps, "sync", FALSE, "max-buffers", 2u, "drop", FALSE, nullptr);
    gst_caps_unref(caps);
    gst_bin_add_many(GST_BIN(pipeline), decode, convert, sink, nullptr);
    gst_element_link(convert, sink);
    // Only the video stream is decoded and linked; other streams stay unlinked.
    g_signal_connect(decode, "pad-added", G_CALLBACK(+[](GstElement *, GstPad *pad, gpointer data) {
                         GstCaps *padCaps = gst_pad_get_current_caps(pad);
                         if (!padCaps)
                             padCaps = gst_pad_query_caps(pad, nullptr);
                         const gchar *name = gst_structure_get_name(gst_caps_get_structure(padCaps, 0));
                         if (g_str_has_prefix(name, "video/x-raw")) {
                             GstPad *target = gst_element_get_static_pad(GST_ELEMENT(data), "sink");
                             if (!gst_pad_is_linked(target))
                                 gst_pad_link(pad, target);
                             gst_object_unref(target);
                         }
                         gst_caps_unref(padCaps);
                     }),
                     convert);
    m_pipeline = pipeline;
    m_sink = GST_ELEMENT(gst_object_ref(sink));

    if (!waitForState(GST_STATE_PAUSED, error)) {
        close();
        return false;
    }
    GstSample *preroll = gst_app_sink_try_pull_preroll(GST_APP_SINK(m_sink), WaitNs);
    GstVideoInfo info;
    if (!preroll || !gst_video_info_from_caps(&info, gst_sample_get_caps(preroll))) {
        if (preroll)
            gst_sample_unref(preroll);
        close();
        setError(error, tr("the movie has no video stream"));
        return false;
    }
    m_size = QSize(GST_VIDEO_INFO_WIDTH(&info), GST_VIDEO_INFO_HEIGHT(&info));
    m_fps = GST_VIDEO_INFO_FPS_N(&info) > 0 && GST_VIDEO_INFO_FPS_D(&info) > 0
                ? double(GST_VIDEO_INFO_FPS_N(&info)) / GST_VIDEO_INFO_FPS_D(&info)
                : 25.0; // a stream that states no rate: the common PAL rate
    m_frameDuration = qint64(std::llround(double(GST_SECOND) / m_fps));
    m_firstPts = qMax<qint64>(0, ptsOf(preroll));
    gst_sample_unref(preroll);
    m_frameCount = countFrames();
    return true;
}

bool MovieFrameGrabber::playFrom(qint64 time, QString *error)
{
    m_nextFrame = -1;
    return gst_element_seek_simple(
               m_pipeline, GST_FORMAT_TIME,
               GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_KEY_UNIT | GST_SEEK_FLAG_SNAP_BEFORE),
               time) &&
           gst_element_get_state(m_pipeline, nullptr, nullptr, WaitNs) != GST_STATE_CHANGE_FAILURE &&
           waitForState(GST_STATE_PLAYING, error);
}

void MovieFrameGrabber::holdStill()
{
    gst_element_set_state(m_pipeline, GST_STATE_PAUSED);
    gst_element_get_state(m_pipeline, nullptr, nullptr, WaitNs);
}

qint64 MovieFrameGrabber::countFrames()
{
    gint64 duration = 0;
    if (!gst_element_query_duration(m_pipeline, GST_FORMAT_TIME, &duration) || duration < 0)
        duration = 0;
    // A program stream's stated duration is only an estimate. A short movie is decoded whole and
    // its frames counted; a long one from a few seconds before its end, counting to the last
    // frame's time stamp.
    const bool whole = duration < CountedSeconds * qint64(GST_SECOND);
    const qint64 from = whole ? 0 : duration - 3 * qint64(GST_SECOND);
    qint64 frames = 0;
    qint64 lastPts = -1;
    if (playFrom(from, nullptr)) {
        while (GstSample *sample = gst_app_sink_try_pull_sample(GST_APP_SINK(m_sink), WaitNs)) {
            ++frames;
            lastPts = frameTime(ptsOf(sample), lastPts, m_frameDuration);
            gst_sample_unref(sample);
        }
        holdStill();
    }
    if (whole && frames > 0)
        return frames;
    if (lastPts >= m_firstPts)
        return (lastPts - m_firstPts + m_frameDuration / 2) / m_frameDuration + 1;
    return qMax<qint64>(1, std::llround(double(duration) * m_fps / double(GST_SECOND)));
}

QImage MovieFrameGrabber::frameAt(qint64 n, QString *error)
{
    if (!m_pipeline) {
        setError(error, tr("no movie is open"));
        return {};
    }
    n = qBound<qint64>(0, n, m_frameCount - 1);
    if (const QImage recent = m_recent.value(n); !recent.isNull())
        return recent;
    GstSample *sample = n < qint64(CountedSeconds * m_fps) ? countedSample(n, error) : timedSample(n, error);
    if (!sample)
        return {};
    QImage image = imageOf(sample);
    gst_sample_unref(sample);
    if (image.isNull())
        setError(error, tr("the frame cannot be read"));
    return image;
}

GstSample *MovieFrameGrabber::countedSample(qint64 n, QString *error)
{
    // The decoder's time stamps of a program stream are not exact (see frameTime), its order is:
    // frame n is the n-th frame decoded from the start. A step forward goes on from where the
    // last frame was taken.
    const bool goOn = m_nextFrame >= 0 && m_nextFrame <= n;
    if (goOn ? !waitForState(GST_STATE_PLAYING, error) : !playFrom(0, error))
        return nullptr;
    qint64 next = goOn ? m_nextFrame : 0;
    GstSample *best = nullptr;
    m_recent.removeIf([n](const auto &frame) { return frame.key() <= n - RecentFrames || frame.key() > n; });
    while (GstSample *sample = gst_app_sink_try_pull_sample(GST_APP_SINK(m_sink), WaitNs)) {
        if (best)
            gst_sample_unref(best);
        best = sample;
        // Going back a frame would mean decoding from the start again: keep the last few.
        if (next > n - RecentFrames)
            m_recent.insert(next, imageOf(sample));
        if (next++ == n)
            break;
    }
    holdStill();
    m_nextFrame = best && next == n + 1 ? next : -1;
    if (!best) {
        const QString reason = busError();
        setError(error, reason.isEmpty() ? tr("no frame could be decoded") : reason);
    }
    return best;
}

GstSample *MovieFrameGrabber::timedSample(qint64 n, QString *error)
{
    const qint64 want = m_firstPts + n * m_frameDuration;
    const qint64 tolerance = m_frameDuration / 2;
    // Land on a key frame at least a second before the wanted frame; if the demuxer still lands
    // after it, start again from the beginning.
    for (qint64 seekTo : {qMax<qint64>(0, want - m_firstPts - qint64(GST_SECOND)), qint64(0)}) {
        if (!playFrom(seekTo, error))
            return nullptr;
        GstSample *best = nullptr;
        bool landedAfter = false;
        qint64 previous = -1;
        while (GstSample *sample = gst_app_sink_try_pull_sample(GST_APP_SINK(m_sink), WaitNs)) {
            const qint64 pts = frameTime(ptsOf(sample), previous, m_frameDuration);
            previous = pts;
            if (!best && pts > want + tolerance && seekTo > 0) {
                landedAfter = true;
                gst_sample_unref(sample);
                break;
            }
            if (best)
                gst_sample_unref(best);
            best = sample;
            if (pts >= 0 && pts + tolerance >= want)
                break;
        }
        holdStill();
        if (landedAfter)
            continue;
        if (!best) {
            const QString reason = busError();
            setError(error, reason.isEmpty() ? tr("no frame could be decoded") : reason);
        }
        return best;
    }
    setError(error, tr("no frame could be decoded"));
    return nullptr;
}

QImage MovieFrameGrabber::frameAtTenth(const QString &path, QString *error)
{
    MovieFrameGrabber grabber;
    if (!grabber.open(path, error))
        return QImage();
    return grabber.frameAt(grabber.frameCount() / 10, error);
}
