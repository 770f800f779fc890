#include "generator/JpegHeaderReader.h"

#include "generator/ExifOrientation.h"

#include <cerrno>
#include <csetjmp>
#include <cstddef>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <unistd.h>

#include <jpeglib.h>
#include <jerror.h>

namespace {

constexpr std::size_t kChunk = 64 * 1024;
constexpr int kMaxWarnings = 1000;
constexpr long kMaxMemory = 64L * 1024 * 1024; // a header never needs more; a bomb fails cleanly

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    int warnings;
    char message[JMSG_LENGTH_MAX];
};

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
    ErrorManager err;
    Source src;
    int orientation;
    bool exifSeen;
    JOCTET segment[65536];
};

[[noreturn]] void errorExit(j_common_ptr cinfo)
{
    auto *err = reinterpret_cast<ErrorManager *>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

void emitMessage(j_common_ptr cinfo, int level)
{
    auto *err = reinterpret_cast<ErrorManager *>(cinfo->err);
    if (level >= 0)
        return; // trace messages
    if (++err->warnings > kMaxWarnings) {
        std::snprintf(err->message, sizeof err->message, "damaged: more than %d warnings", kMaxWarnings);
        std::longjmp(err->jump, 1);
    }
}

void outputMessage(j_common_ptr) {} // nothing goes to stderr

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
        auto *err = reinterpret_cast<ErrorManager *>(cinfo->err);
        std::snprintf(err->message, sizeof err->message, "header longer than %zu bytes", src->maxBytes);
        std::longjmp(err->jump, 1);
    }
    const std::size_t want = src->maxBytes - src->bytesRead < kChunk ? src->maxBytes - src->bytesRead : kChunk;
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
        const std::size_t step =
            std::size_t(count) < cinfo->src->bytes_in_buffer ? std::size_t(count) : cinfo->src->bytes_in_buffer;
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
    std::memset(&reader->err, 0, sizeof reader->err);
    std::memset(&reader->src, 0, offsetof(Source, buffer));
    reader->orientation = 0;
    reader->exifSeen = false;
    jpeg_decompress_struct *const cinfo = &reader->cinfo;
    cinfo->err = jpeg_std_error(&reader->err.pub);
    reader->err.pub.error_exit = errorExit;
    reader->err.pub.emit_message = emitMessage;
    reader->err.pub.output_message = outputMessage;

    volatile bool created = false;
    volatile bool ok = false;
    if (setjmp(reader->err.jump) == 0) {
        jpeg_create_decompress(cinfo);
        created = true;
        cinfo->mem->max_memory_to_use = kMaxMemory;
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
        std::snprintf(info.error, sizeof info.error, "%s", reader->err.message);
    }
    if (created)
        jpeg_destroy_decompress(cinfo);
    std::free(reader);
    return ok;
}
