// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/MovieFrameIndex.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QThread>
#include <QUrl>

#include <gst/app/gstappsink.h>
#include <gst/gst.h>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <set>

namespace
{

QString tr(const char *text)
{
    return QCoreApplication::translate("MovieFrameIndex", text);
}

void setError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

// The longest silence of the decoder, waits for a request aside, before the count is given up.
constexpr GstClockTime WaitNs = 10 * GST_SECOND;
constexpr GstClockTime SliceNs = GST_SECOND / 20;
// A decoded frame is the key frame whose time stamp it carries, give or take this.
constexpr qint64 SameTimeNs = GST_MSECOND;

// The time stamps of the key frames on their way into the decoder, filled on a streaming thread.
struct KeyTimes {
    std::mutex lock;
    std::set<qint64> times;
    qint64 last = -1;       // the last time stamp that went in
    bool reordered = false; // one went in before an earlier one: pictures stored out of order

    // True when a key frame went in with this time; forgets it and every older one.
    bool take(qint64 time)
    {
        const std::lock_guard<std::mutex> hold(lock);
        const auto first = times.lower_bound(time - SameTimeNs);
        const bool found = first != times.end() && *first <= time + SameTimeNs;
        times.erase(times.begin(), found ? std::next(first) : first);
        return found;
    }
};

GstPadProbeReturn noteKeyFrame(GstPad *, GstPadProbeInfo *info, gpointer data)
{
    GstBuffer *buffer = GST_PAD_PROBE_INFO_BUFFER(info);
    if (!buffer || !GST_BUFFER_PTS_IS_VALID(buffer))
        return GST_PAD_PROBE_OK;
    const qint64 time = qint64(GST_BUFFER_PTS(buffer));
    auto *keys = static_cast<KeyTimes *>(data);
    const std::lock_guard<std::mutex> hold(keys->lock);
    keys->reordered = keys->reordered || time < keys->last;
    keys->last = time;
    if (!GST_BUFFER_FLAG_IS_SET(buffer, GST_BUFFER_FLAG_DELTA_UNIT))
        keys->times.insert(time);
    return GST_PAD_PROBE_OK;
}

// Every video decoder the decoding bin plugs in gets its incoming key frames watched (a JPEG decoder
// calls itself an image decoder).
void watchDecoder(GstBin *, GstBin *, GstElement *element, gpointer data)
{
    GstElementFactory *factory = gst_element_get_factory(element);
    const char *kind =
        factory ? gst_element_factory_get_metadata(factory, GST_ELEMENT_METADATA_KLASS) : nullptr;
    if (!kind || !strstr(kind, "Decoder") || (!strstr(kind, "Video") && !strstr(kind, "Image")))
        return;
    if (GstPad *pad = gst_element_get_static_pad(element, "sink")) {
        gst_pad_add_probe(pad, GST_PAD_PROBE_TYPE_BUFFER, noteKeyFrame, data, nullptr);
        gst_object_unref(pad);
    }
}

void linkVideo(GstElement *, GstPad *pad, gpointer data)
{
    GstCaps *caps = gst_pad_get_current_caps(pad);
    if (!caps)
        caps = gst_pad_query_caps(pad, nullptr);
    GstPad *target = gst_element_get_static_pad(GST_ELEMENT(data), "sink");
    if (g_str_has_prefix(gst_structure_get_name(gst_caps_get_structure(caps, 0)), "video/x-raw") &&
        !gst_pad_is_linked(target))
        gst_pad_link(pad, target);
    gst_object_unref(target);
    gst_caps_unref(caps);
}

QString busError(GstElement *pipeline)
{
    GstBus *bus = gst_element_get_bus(pipeline);
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

} // namespace

const MovieFrameIndex::KeyFrame *MovieFrameIndex::keyFrameAtOrBefore(qint64 n) const
{
    const auto after =
        std::upper_bound(keyFrames.cbegin(), keyFrames.cend(), n,
                         [](qint64 number, const KeyFrame &key) { return number < key.number; });
    return after == keyFrames.cbegin() ? nullptr : &*std::prev(after);
}

const MovieFrameIndex::KeyFrame *MovieFrameIndex::keyFrameAt(qint64 time, qint64 tolerance) const
{
    const auto at = std::lower_bound(keyFrames.cbegin(), keyFrames.cend(), time - tolerance,
                                     [](const KeyFrame &key, qint64 t) { return key.time < t; });
    return at != keyFrames.cend() && at->time <= time + tolerance ? &*at : nullptr;
}

MovieFrameIndex MovieFrameIndex::build(const QString &path, const std::function<bool()> &stopped,
                                       const std::function<bool()> &paused, QString *error)
{
    if (!gst_is_initialized())
        gst_init(nullptr, nullptr);
    GstElement *pipeline = gst_pipeline_new("counter");
    GstElement *decode = gst_element_factory_make("uridecodebin", nullptr);
    GstElement *sink = gst_element_factory_make("appsink", nullptr);
    if (!pipeline || !decode || !sink) {
        for (GstElement *e : {pipeline, decode, sink})
            if (e)
                gst_object_unref(e);
        setError(error, tr("the video decoder is not installed"));
        return {};
    }
    const QByteArray uri = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()).toEncoded();
    g_object_set(decode, "uri", uri.constData(), nullptr);
    // Frames are only counted: no conversion, any raw format the decoder gives.
    GstCaps *caps = gst_caps_new_empty_simple("video/x-raw");
    g_object_set(sink, "caps", caps, "sync", FALSE, "max-buffers", 4u, "drop", FALSE, "enable-last-sample",
                 FALSE, nullptr);
    gst_caps_unref(caps);
    gst_bin_add_many(GST_BIN(pipeline), decode, sink, nullptr);
    KeyTimes keys;
    g_signal_connect(decode, "pad-added", G_CALLBACK(linkVideo), sink);
    g_signal_connect(pipeline, "deep-element-added", G_CALLBACK(watchDecoder), &keys);

    MovieFrameIndex index;
    QString reason;
    bool ended = false;
    bool disordered = false;
    qint64 lastPts = -1;
    if (gst_element_set_state(pipeline, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE) {
        reason = busError(pipeline);
    } else {
        GstClockTime silent = 0;
        while (!stopped() && reason.isEmpty()) {
            if (paused()) { // a request for a frame goes first; the full queue holds the decoder
                QThread::msleep(5);
                continue;
            }
            GstSample *sample = gst_app_sink_try_pull_sample(GST_APP_SINK(sink), SliceNs);
            if (!sample) {
                if (gst_app_sink_is_eos(GST_APP_SINK(sink))) {
                    ended = true;
                    break;
                }
                reason = busError(pipeline);
                if (reason.isEmpty() && (silent += SliceNs) >= WaitNs)
                    reason =
                        tr("the movie's decoder gave no frame within %1 seconds").arg(WaitNs / GST_SECOND);
                continue;
            }
            silent = 0;
            const GstBuffer *buffer = gst_sample_get_buffer(sample);
            const qint64 pts =
                buffer && GST_BUFFER_PTS_IS_VALID(buffer) ? qint64(GST_BUFFER_PTS(buffer)) : -1;
            // Stamps that do not rise frame by frame were made up by the decoder (see below).
            disordered = disordered || (pts >= 0 && pts <= lastPts);
            lastPts = qMax(lastPts, pts);
            if (pts >= 0 && keys.take(pts))
                index.keyFrames.append({index.frameCount, pts});
            ++index.frameCount;
            gst_sample_unref(sample);
        }
    }
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(pipeline);
    // A key frame is found again after a seek by its time stamp. In a stream whose pictures are
    // stored out of order (B pictures), the decoder makes up times that do not follow the frames
    // around each group, and a frame after a seek may carry a key frame's time: no key frame is
    // indexed then (nor where the decoded frames' stamps do not rise), and a jump decodes from the
    // start, which is slow but exact.
    if (keys.reordered || disordered)
        index.keyFrames.clear();
    if (ended && index.frameCount > 0)
        return index;
    if (!stopped())
        setError(error, reason.isEmpty() ? tr("no frame could be decoded") : reason);
    return {};
}
