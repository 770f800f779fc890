// SPDX-License-Identifier: GPL-2.0-or-later
#include "media/JpegHeaderReader.h"

#include "media/ExifOrientation.h"
#include "media/JpegErrors.h"

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

#include <jerror.h>

namespace
{

constexpr std::size_t kChunk = 64 * 1024;
constexpr long kMaxMemory = 64L * 1024 * 1024; // a header never needs more; a bomb fails cleanly

struct Source {
    jpeg_source_mgr pub;
    int fd;
    const JOCTET *data;
    std::size_t size;
    bool dataGiven;
    std::size_t bytesRead;
    std::size_t maxBytes;
    JOCTET buffer[kChunk];
};

// What the APP1 handler found; the first Exif segment wins.
struct Reader {
    jpeg_decompress_struct cinfo;
    JpegGuard guard;
    Source src;
    int orientation;
    bool exifSeen;
    JOCTET segment[65536];
};

void initSource(j_decompress_ptr) {}
void termSource(j_decompress_ptr) {}

boolean fillInput(j_decompress_ptr cinfo)
{
    auto *src = reinterpret_cast<Source *>(cinfo->src);
    if (!src->dataGiven && src->size > 0) {
        src->dataGiven = true;
        src->bytesRead = src->size;
        src->pub.next_input_byte = src->data;
        src->pub.bytes_in_buffer = src->size;
        return TRUE;
    }
    src->dataGiven = true;
    if (src->fd < 0)
        ERREXIT(cinfo, JERR_INPUT_EOF);
    if (src->bytesRead >= src->maxBytes) {
        char text[64];
        std::snprintf(text, sizeof text, "header longer than %zu bytes", src->maxBytes);
        jpegFail(jpegGuardOf(reinterpret_cast<j_common_ptr>(cinfo)), text);
    }
    const std::size_t want =
        src->maxBytes - src->bytesRead < kChunk ? src->maxBytes - src->bytesRead : kChunk;
    ssize_t got;
    do {
        got = ::read(src->fd, src->buffer, want);
    } while (got < 0 && errno == EINTR);
    if (got <= 0)
        ERREXIT(cinfo, JERR_INPUT_EOF);
    src->bytesRead += std::size_t(got);
    src->pub.next_input_byte = src->buffer;
    src->pub.bytes_in_buffer = std::size_t(got);
    return TRUE;
}

void skipInput(j_decompress_ptr cinfo, long count)
{
    while (count > 0) {
        if (cinfo->src->bytes_in_buffer == 0)
            (*cinfo->src->fill_input_buffer)(cinfo);
        const std::size_t step = std::size_t(count) < cinfo->src->bytes_in_buffer
                                     ? std::size_t(count)
                                     : cinfo->src->bytes_in_buffer;
        cinfo->src->next_input_byte += step;
        cinfo->src->bytes_in_buffer -= step;
        count -= long(step);
    }
}

unsigned readByte(j_decompress_ptr cinfo)
{
    if (cinfo->src->bytes_in_buffer == 0)
        (*cinfo->src->fill_input_buffer)(cinfo);
    --cinfo->src->bytes_in_buffer;
    return *cinfo->src->next_input_byte++;
}

// APP1: keeps the first Exif segment's orientation, skips everything else without storing it.
boolean readApp1(j_decompress_ptr cinfo)
{
    auto *reader = reinterpret_cast<Reader *>(cinfo);
    unsigned length = readByte(cinfo) << 8;
    length |= readByte(cinfo);
    if (length < 2)
        ERREXIT(cinfo, JERR_BAD_LENGTH);
    length -= 2;
    if (reader->exifSeen) {
        skipInput(cinfo, long(length));
        return TRUE;
    }
    for (unsigned i = 0; i < length; ++i)
        reader->segment[i] = JOCTET(readByte(cinfo));
    if (length >= 6 && std::memcmp(reader->segment, "Exif\0\0", 6) == 0) {
        reader->exifSeen = true;
        reader->orientation = exifOrientation(reader->segment, length);
    }
    return TRUE;
}

} // namespace

bool readJpegHeader(int fd, const std::uint8_t *data, std::size_t size, std::size_t maxBytes,
                    JpegHeaderInfo &info)
{
    // The reader is large (two 64 KiB buffers), so it lives on the heap, allocated before setjmp and
    // freed after. Only its small parts are cleared: the buffers are written before they are read.
    Reader *const reader = static_cast<Reader *>(std::malloc(sizeof(Reader)));
    if (!reader) {
        std::snprintf(info.error, sizeof info.error, "out of memory");
        return false;
    }
    std::memset(&reader->cinfo, 0, sizeof reader->cinfo);
    std::memset(&reader->src, 0, offsetof(Source, buffer));
    reader->orientation = 0;
    reader->exifSeen = false;
    jpeg_decompress_struct *const cinfo = &reader->cinfo;
    installJpegGuard(&reader->guard, JpegLimits{});
    cinfo->err = &reader->guard.err;

    volatile bool ok = false;
    if (setjmp(reader->guard.jump) == 0) {
        createJpegReader(cinfo, &reader->guard, kMaxMemory);
        Source &src = reader->src;
        src.pub.init_source = initSource;
        src.pub.fill_input_buffer = fillInput;
        src.pub.skip_input_data = skipInput;
        src.pub.resync_to_restart = jpeg_resync_to_restart;
        src.pub.term_source = termSource;
        src.fd = fd;
        src.data = data;
        src.size = size;
        src.maxBytes = maxBytes;
        cinfo->src = &src.pub;
        jpeg_set_marker_processor(cinfo, JPEG_APP0 + 1, readApp1);
        jpeg_read_header(cinfo, TRUE);
        info.width = cinfo->image_width;
        info.height = cinfo->image_height;
        info.orientation = reader->orientation;
        ok = true;
    } else {
        // Cut to the size of the caller's field.
        const std::size_t length = std::min(std::strlen(reader->guard.message), sizeof info.error - 1);
        std::memcpy(info.error, reader->guard.message, length);
        info.error[length] = '\0';
    }
    jpeg_destroy_decompress(cinfo); // does nothing when creating it failed: the struct was cleared
    std::free(reader);
    return ok;
}
