// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/MovieFrameGrabber.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QUrl>

#include <gst/app/gstappsink.h>
#include <gst/gst.h>
#include <gst/video/video-info.h>

#include <cmath>
#include <cstring>

namespace
{

QString tr(const char *text)
{
    return QCoreApplication::translate("MovieFrameGrabber", text);
}

// The longest wait for a state change or a frame; a pipeline that stays silent longer is given up.
constexpr GstClockTime WaitNs = 10 * GST_SECOND;
// A wait for a frame is cut into slices, so that a newer request ends it soon.
constexpr GstClockTime SliceNs = GST_SECOND / 20;

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

// A decoded frame of an 8K movie is 50 MB, so the number the decoder keeps alive decides the
// pipeline's memory. libav's video decoders thread by frames by default, holding one more decoded
// frame per thread: they split each frame into slices between threads instead. Rendering straight
// into GStreamer's buffers saves no frame here: a frame the decoder still refers to is copied whole
// when it is handed on, and a new 50 MB buffer allocated for every frame.
void decodeLean(GstBin *, GstBin *, GstElement *element, gpointer)
{
    GstElementFactory *factory = gst_element_get_factory(element);
    const gchar *klass =
        factory ? gst_element_factory_get_metadata(factory, GST_ELEMENT_METADATA_KLASS) : nullptr;
    if (!klass || !strstr(klass, "Decoder") || !strstr(klass, "Video"))
        return;
    GObjectClass *type = G_OBJECT_GET_CLASS(element);
    if (g_object_class_find_property(type, "thread-type"))
        gst_util_set_object_arg(G_OBJECT(element), "thread-type", "slice");
    if (g_object_class_find_property(type, "direct-rendering"))
        g_object_set(element, "direct-rendering", FALSE, nullptr);
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
    m_link = {};
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
    const GstStateChangeReturn change = gst_element_set_state(m_pipeline, GstState(state));
    const GstStateChangeReturn done = change == GST_STATE_CHANGE_FAILURE
                                          ? change
                                          : gst_element_get_state(m_pipeline, nullptr, nullptr, WaitNs);
    if (done == GST_STATE_CHANGE_SUCCESS || done == GST_STATE_CHANGE_NO_PREROLL)
        return true;
    const QString reason = busError();
    if (!reason.isEmpty())
        setError(error, reason);
    else if (done == GST_STATE_CHANGE_ASYNC)
        setError(error, tr("the movie's decoder did not answer within %1 seconds").arg(WaitNs / GST_SECOND));
    else
        setError(error, tr("the movie cannot be decoded"));
    return false;
}

GstSample *MovieFrameGrabber::pull(QString *error)
{
    for (GstClockTime waited = 0; waited < WaitNs; waited += SliceNs) {
        if (superseded()) {
            setError(error, tr("a newer request came first"));
            return nullptr;
        }
        if (GstSample *sample = gst_app_sink_try_pull_sample(GST_APP_SINK(m_sink), SliceNs))
            return sample;
        if (gst_app_sink_is_eos(GST_APP_SINK(m_sink)))
            return nullptr; // the end of the movie: no error
        if (const QString reason = busError(); !reason.isEmpty()) {
            setError(error, reason);
            return nullptr;
        }
    }
    setError(error, tr("the movie's decoder gave no frame within %1 seconds").arg(WaitNs / GST_SECOND));
    return nullptr;
}

bool MovieFrameGrabber::open(const QString &path, QString *error)
{
    close();
    const QByteArray uri = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toEncoded();
    GstElement *pipeline = gst_pipeline_new("grabber");
    GstElement *decode = gst_element_factory_make("uridecodebin", nullptr);
    GstElement *crop = gst_element_factory_make("videocrop", nullptr);
    GstElement *convert = gst_element_factory_make("videoconvert", nullptr);
    GstElement *sink = gst_element_factory_make("appsink", nullptr);
    if (!pipeline || !decode || !crop || !convert || !sink) {
        for (GstElement *e : {pipeline, decode, crop, convert, sink})
            if (e)
                gst_object_unref(e);
        setError(error, tr("the video decoder is not installed"));
        return false;
    }
    g_object_set(decode, "uri", uri.constData(), nullptr);
    GstCaps *caps = gst_caps_new_simple("video/x-raw", "format", G_TYPE_STRING, "BGRx", nullptr);
    g_object_set(sink, "caps", caps, "sync", FALSE, "max-buffers", 2u, "drop", FALSE, nullptr);
    gst_caps_unref(caps);
    g_signal_connect(pipeline, "deep-element-added", G_CALLBACK(decodeLean), nullptr);
    gst_bin_add_many(GST_BIN(pipeline), decode, crop, convert, sink, nullptr);
    gst_element_link_many(crop, convert, sink, nullptr);
    // Only the video stream is decoded and linked; other streams stay unlinked. The crop is set
    // from the decoded size before the first frame reaches it, and before anything is converted.
    m_link = {crop, {}};
    g_signal_connect(decode, "pad-added", G_CALLBACK(+[](GstElement *, GstPad *pad, gpointer data) {
                         auto *link = static_cast<Link *>(data);
                         GstCaps *padCaps = gst_pad_get_current_caps(pad);
                         if (!padCaps)
                             padCaps = gst_pad_query_caps(pad, nullptr);
                         const GstStructure *format = gst_caps_get_structure(padCaps, 0);
                         GstPad *target = gst_element_get_static_pad(link->crop, "sink");
                         int width = 0;
                         int height = 0;
                         if (g_str_has_prefix(gst_structure_get_name(format), "video/x-raw") &&
                             !gst_pad_is_linked(target)) {
                             if (gst_structure_get_int(format, "width", &width) &&
                                 gst_structure_get_int(format, "height", &height)) {
                                 link->decoded = QSize(width, height);
                                 g_object_set(link->crop, "right", qMax(0, width - KeptWidth), "bottom",
                                              qMax(0, height - KeptHeight), nullptr);
                             }
                             gst_pad_link(pad, target);
                         }
                         gst_object_unref(target);
                         gst_caps_unref(padCaps);
                     }),
                     &m_link);
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
    // From here on the pipeline stays playing; a full sink queue holds the decoder back.
    if (!waitForState(GST_STATE_PLAYING, error)) {
        gst_sample_unref(preroll);
        close();
        return false;
    }
    m_size = m_link.decoded.isEmpty() ? QSize(GST_VIDEO_INFO_WIDTH(&info), GST_VIDEO_INFO_HEIGHT(&info))
                                      : m_link.decoded;
    m_fps = GST_VIDEO_INFO_FPS_N(&info) > 0 && GST_VIDEO_INFO_FPS_D(&info) > 0
                ? double(GST_VIDEO_INFO_FPS_N(&info)) / GST_VIDEO_INFO_FPS_D(&info)
                : 25.0; // a stream that states no rate: the common PAL rate
    m_frameDuration = qint64(std::llround(double(GST_SECOND) / m_fps));
    m_firstPts = qMax<qint64>(0, ptsOf(preroll));
    gst_sample_unref(preroll);
    m_frameCount = countFrames(error);
    if (m_frameCount <= 0) {
        close();
        return false;
    }
    return true;
}

bool MovieFrameGrabber::playFrom(qint64 time, QString *error)
{
    m_nextFrame = -1;
    // A flushing seek frees a streaming thread that waits on the full sink, and the pipeline plays
    // on from the key frame; no state change is needed.
    if (gst_element_seek_simple(
            m_pipeline, GST_FORMAT_TIME,
            GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_KEY_UNIT | GST_SEEK_FLAG_SNAP_BEFORE), time))
        return true;
    const QString reason = busError();
    setError(error, reason.isEmpty() ? tr("the movie cannot be searched") : reason);
    return false;
}

qint64 MovieFrameGrabber::countFrames(QString *error)
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
    QString reason;
    if (!playFrom(from, &reason)) {
        setError(error, reason);
        return 0;
    }
    while (GstSample *sample = pull(&reason)) {
        ++frames;
        lastPts = frameTime(ptsOf(sample), lastPts, m_frameDuration);
        gst_sample_unref(sample);
    }
    if (!reason.isEmpty()) { // not the end of the movie: superseded, silent or broken
        setError(error, reason);
        return 0;
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
    if (!goOn && !playFrom(0, error))
        return nullptr;
    qint64 next = goOn ? m_nextFrame : 0;
    m_nextFrame = -1; // unknown until the count below ends where it should
    GstSample *best = nullptr;
    m_recent.removeIf([n](const auto &frame) { return frame.key() <= n - RecentFrames || frame.key() > n; });
    QString reason;
    while (GstSample *sample = pull(&reason)) {
        if (best)
            gst_sample_unref(best);
        best = sample;
        // Going back a frame would mean decoding from the start again: keep the last few.
        if (m_keepRecent && next > n - RecentFrames)
            m_recent.insert(next, imageOf(sample));
        if (next++ == n)
            break;
    }
    if (!reason.isEmpty()) { // superseded or silent: the frame in hand may not be n
        if (best)
            gst_sample_unref(best);
        setError(error, reason);
        return nullptr;
    }
    m_nextFrame = best && next == n + 1 ? next : -1;
    if (!best)
        setError(error, tr("no frame could be decoded"));
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
        QString reason;
        while (GstSample *sample = pull(&reason)) {
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
        if (landedAfter)
            continue;
        if (!reason.isEmpty()) {
            if (best)
                gst_sample_unref(best);
            setError(error, reason);
            return nullptr;
        }
        if (!best)
            setError(error, tr("no frame could be decoded"));
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
