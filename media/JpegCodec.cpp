// SPDX-License-Identifier: GPL-2.0-or-later
#include "media/JpegCodec.h"

#include "media/DecodeBudget.h"
#include "media/JpegErrors.h"
#include "media/SrgbTransform.h"

#include <cstdio>
#include <cstdlib>

namespace
{

long long reserve(DecodeBudget *budget, qint64 bytes) noexcept
{
    return budget ? budget->acquire(bytes) : 0;
}

// Inverted (Adobe) CMYK multiplies straight; plain CMYK is inverted first.
void cmykToRgb(const JSAMPLE *in, uint8_t *out, JDIMENSION width, bool inverted)
{
    for (JDIMENSION x = 0; x < width; ++x, in += 4, out += 3) {
        int c = in[0], m = in[1], y = in[2], k = in[3];
        if (!inverted) {
            c = 255 - c;
            m = 255 - m;
            y = 255 - y;
            k = 255 - k;
        }
        out[0] = uint8_t((c * k + 127) / 255);
        out[1] = uint8_t((m * k + 127) / 255);
        out[2] = uint8_t((y * k + 127) / 255);
    }
}

struct DecodeState {
    jpeg_decompress_struct cinfo;
    JpegGuard guard;
};

// Turns a row of inks to RGB: through the profile, or by the simple multiplication.
// Adobe's inverted inks turned back into plain ones (0 is no ink), in place.
void plainInks(JSAMPLE *inks, JDIMENSION width)
{
    for (JDIMENSION i = 0; i < width * 4; ++i)
        inks[i] = JSAMPLE(255 - inks[i]);
}

void convertCmykRow(JSAMPLE *in, uint8_t *out, JDIMENSION width, bool inverted, const SrgbTransform *profile)
{
    if (!profile) {
        cmykToRgb(in, out, width, inverted);
        return;
    }
    if (inverted)
        plainInks(in, width);
    profile->convertCmykRow(in, out, int(width));
}

// Returns 0 on success; on failure state->guard.message says why.
int decodeInto(DecodeState *s, const uint8_t *data, size_t size, JpegScalePlanner *planner, RgbRowSink *sink,
               const JpegLimits *limits, const SrgbTransform *cmykProfile)
{
    j_decompress_ptr cinfo = &s->cinfo;
    installJpegGuard(&s->guard, *limits);
    cinfo->err = &s->guard.err;
    if (setjmp(s->guard.jump)) {
        jpeg_destroy_decompress(cinfo);
        return 1;
    }
    createJpegReader(cinfo, &s->guard, limits->maxMemory);
    jpeg_mem_src(cinfo, data, static_cast<unsigned long>(size));
    jpeg_read_header(cinfo, TRUE);
    if (cinfo->image_width == 0 || cinfo->image_height == 0)
        jpegFail(&s->guard, "picture without pixels");
    if (qint64(cinfo->image_width) * cinfo->image_height > limits->maxPixels) {
        std::snprintf(s->guard.message, sizeof s->guard.message, "%ux%u exceeds the limit of %lld pixels",
                      cinfo->image_width, cinfo->image_height, static_cast<long long>(limits->maxPixels));
        std::longjmp(s->guard.jump, 1);
    }
    const bool cmyk = cinfo->jpeg_color_space == JCS_CMYK || cinfo->jpeg_color_space == JCS_YCCK;
    if (cmyk && cinfo->num_components != 4)
        jpegFail(&s->guard, "unsupported colour layout");
    if (!cmyk && cinfo->num_components != 1 && cinfo->num_components != 3)
        jpegFail(&s->guard, "unsupported number of colour components");
    s->guard.reserved =
        reserve(limits->budget, jpegDecodeMemory(cinfo->image_width, cinfo->image_height,
                                                 cinfo->num_components, jpeg_has_multiple_scans(cinfo)) +
                                    qint64(size));
    cinfo->out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    cinfo->scale_num = 1;
    cinfo->scale_denom =
        unsigned(planner->scaleDenominator(int(cinfo->image_width), int(cinfo->image_height)));
    jpeg_start_decompress(cinfo);
    const JDIMENSION width = cinfo->output_width;
    JSAMPARRAY decoded = (*cinfo->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_IMAGE,
                                                     width * JDIMENSION(cinfo->output_components), 1);
    // A sink that takes inks gets them plain and turns them into colours itself (after scaling them).
    const bool inks = cmyk && cmykProfile && sink->beginInks(int(width), int(cinfo->output_height));
    JSAMPARRAY converted = cmyk && !inks ? (*cinfo->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(cinfo),
                                                                       JPOOL_IMAGE, width * 3, 1)
                                         : decoded;
    if (!inks && !sink->begin(int(width), int(cinfo->output_height)))
        jpegFail(&s->guard, "not enough memory");
    while (cinfo->output_scanline < cinfo->output_height) {
        jpeg_read_scanlines(cinfo, decoded, 1);
        if (inks && cinfo->saw_Adobe_marker)
            plainInks(decoded[0], width);
        else if (cmyk && !inks)
            convertCmykRow(decoded[0], converted[0], width, cinfo->saw_Adobe_marker, cmykProfile);
        sink->addRow(converted[0]);
    }
    jpeg_finish_decompress(cinfo);
    jpeg_destroy_decompress(cinfo);
    return 0;
}

// Compressed bytes go to a malloc'd block owned by the caller's state, so a longjmp never loses it.
struct MemoryDestination {
    jpeg_destination_mgr pub;
    unsigned char *data;
    size_t capacity;
    size_t size;
};

void destinationInit(j_compress_ptr cinfo)
{
    auto *d = reinterpret_cast<MemoryDestination *>(cinfo->dest);
    d->pub.next_output_byte = d->data;
    d->pub.free_in_buffer = d->capacity;
}

boolean destinationGrow(j_compress_ptr cinfo)
{
    auto *d = reinterpret_cast<MemoryDestination *>(cinfo->dest);
    const size_t grown = d->capacity * 2;
    auto *bigger = static_cast<unsigned char *>(std::realloc(d->data, grown));
    if (!bigger)
        jpegFail(jpegGuardOf(reinterpret_cast<j_common_ptr>(cinfo)), "not enough memory");
    d->data = bigger;
    d->pub.next_output_byte = bigger + d->capacity;
    d->pub.free_in_buffer = grown - d->capacity;
    d->capacity = grown;
    return TRUE;
}

void destinationTerm(j_compress_ptr cinfo)
{
    auto *d = reinterpret_cast<MemoryDestination *>(cinfo->dest);
    d->size = d->capacity - d->pub.free_in_buffer;
}

struct EncodeState {
    jpeg_compress_struct cinfo;
    JpegGuard guard;
    MemoryDestination dest;
};

int encodeInto(EncodeState *s, const RgbImage *image, int quality, const QByteArray *comment)
{
    j_compress_ptr cinfo = &s->cinfo;
    installJpegGuard(&s->guard, JpegLimits{});
    cinfo->err = &s->guard.err;
    if (setjmp(s->guard.jump)) {
        jpeg_destroy_compress(cinfo);
        return 1;
    }
    jpeg_create_compress(cinfo);
    s->dest.pub.init_destination = destinationInit;
    s->dest.pub.empty_output_buffer = destinationGrow;
    s->dest.pub.term_destination = destinationTerm;
    cinfo->dest = &s->dest.pub;
    cinfo->image_width = JDIMENSION(image->width);
    cinfo->image_height = JDIMENSION(image->height);
    cinfo->input_components = 3;
    cinfo->in_color_space = JCS_RGB;
    jpeg_set_defaults(cinfo);
    jpeg_set_quality(cinfo, quality, TRUE);
    jpeg_start_compress(cinfo, TRUE);
    if (!comment->isEmpty())
        jpeg_write_marker(cinfo, JPEG_COM, reinterpret_cast<const JOCTET *>(comment->constData()),
                          unsigned(comment->size()));
    while (cinfo->next_scanline < cinfo->image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(image->row(int(cinfo->next_scanline)));
        jpeg_write_scanlines(cinfo, &row, 1);
    }
    jpeg_finish_compress(cinfo);
    jpeg_destroy_compress(cinfo);
    return 0;
}

} // namespace

qint64 jpegDecodeMemory(qint64 width, qint64 height, int components, bool wholeImageBuffered)
{
    const qint64 blocks = ((width + 7) / 8) * ((height + 7) / 8);
    // Whole-picture coefficients: 64 of 2 bytes per block and component (subsampled ones need less).
    const qint64 coefficients = wholeImageBuffered ? blocks * 128 * components : 0;
    // Row buffers of a few block rows, plus libjpeg's tables.
    const qint64 rows = width * components * 16 * 4 + (1 << 20);
    return coefficients + rows;
}

JpegDecodeResult decodeJpeg(const uint8_t *data, size_t size, JpegScalePlanner &planner, RgbRowSink &sink,
                            const JpegLimits &limits, const SrgbTransform *cmykProfile)
{
    auto *state = static_cast<DecodeState *>(std::calloc(1, sizeof(DecodeState)));
    if (!state)
        return {false, 0, QStringLiteral("not enough memory")};
    JpegDecodeResult result;
    result.ok = decodeInto(state, data, size, &planner, &sink, &limits, cmykProfile) == 0;
    result.warnings = state->guard.warnings;
    result.endedEarly = state->guard.endedEarly != 0;
    result.reservedBytes = state->guard.reserved;
    if (limits.budget)
        limits.budget->release(state->guard.reserved);
    if (!result.ok)
        result.error = QString::fromUtf8(state->guard.message);
    std::free(state);
    return result;
}

QByteArray encodeJpeg(const RgbImage &image, int quality, QString *error, const QByteArray &comment)
{
    auto *state = static_cast<EncodeState *>(std::calloc(1, sizeof(EncodeState)));
    if (!state) {
        if (error)
            *error = QStringLiteral("not enough memory");
        return {};
    }
    state->dest.capacity = 16384 + size_t(image.width) * size_t(image.height) / 2;
    state->dest.data = static_cast<unsigned char *>(std::malloc(state->dest.capacity));
    QByteArray out;
    if (!state->dest.data) {
        if (error)
            *error = QStringLiteral("not enough memory");
    } else if (encodeInto(state, &image, quality, &comment) == 0) {
        out = QByteArray(reinterpret_cast<const char *>(state->dest.data), qsizetype(state->dest.size));
    } else if (error) {
        *error = QString::fromUtf8(state->guard.message);
    }
    std::free(state->dest.data);
    std::free(state);
    return out;
}
