// SPDX-License-Identifier: GPL-2.0-or-later
#include "media/JpegErrors.h"

#include "media/CpuDeadline.h"

#include <cstring>

#include <jerror.h>

namespace
{

[[noreturn]] void onError(j_common_ptr cinfo)
{
    JpegGuard *g = jpegGuardOf(cinfo);
    (*cinfo->err->format_message)(cinfo, g->message);
    std::longjmp(g->jump, 1);
}

void onMessage(j_common_ptr cinfo, int level)
{
    if (level >= 0)
        return; // trace messages
    JpegGuard *g = jpegGuardOf(cinfo);
    if (cinfo->err->msg_code == JWRN_JPEG_EOF)
        g->endedEarly = 1;
    if (++g->warnings > g->maxWarnings)
        jpegFail(g, "too many corrupt-data warnings");
}

void onOutput(j_common_ptr) {}

void onProgress(j_common_ptr cinfo)
{
    JpegGuard *g = jpegGuardOf(cinfo);
    if (cinfo->is_decompressor && reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > g->maxScans)
        jpegFail(g, "too many progressive scans");
    // Libjpeg reports each row: a few rows more past the limit cost far less than a clock read per row.
    constexpr unsigned kCallsPerClockRead = 8;
    if (++g->progressCalls % kCallsPerClockRead == 0 && CpuDeadline::threadMilliseconds() > g->deadlineMs)
        jpegFail(g, "decoding took more than its CPU time limit");
}

} // namespace

void installJpegGuard(JpegGuard *g, const JpegLimits &limits)
{
    std::memset(g, 0, sizeof *g);
    jpeg_std_error(&g->err);
    g->err.error_exit = onError;
    g->err.emit_message = onMessage;
    g->err.output_message = onOutput;
    g->progress.progress_monitor = onProgress;
    g->maxWarnings = limits.maxWarnings;
    g->maxScans = limits.maxScans;
    g->deadlineMs = CpuDeadline::threadMilliseconds() + limits.maxCpuMilliseconds;
}

JpegGuard *jpegGuardOf(j_common_ptr cinfo)
{
    return reinterpret_cast<JpegGuard *>(cinfo->err);
}

void jpegFail(JpegGuard *g, const char *text)
{
    std::snprintf(g->message, sizeof g->message, "%s", text);
    std::longjmp(g->jump, 1);
}

void createJpegReader(j_decompress_ptr cinfo, JpegGuard *g, long maxMemory)
{
    cinfo->err = &g->err;
    jpeg_create_decompress(cinfo);
    cinfo->progress = &g->progress;
    cinfo->mem->max_memory_to_use = maxMemory;
}
