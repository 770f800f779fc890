// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "media/JpegCodec.h"

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

// The one libjpeg error manager of the program, shared by the codec and the header reader. libjpeg
// reports fatal errors through error_exit, which must not return: ours longjmps back to the function
// that called setjmp on jump. Those functions are kept C-like: no object with a destructor lives in
// their frame, everything they change after setjmp is volatile or lives behind a pointer, and every
// buffer libjpeg works with comes from its own pools, freed by jpeg_destroy. Nothing goes to stderr.
struct JpegGuard {
    jpeg_error_mgr err; // first: libjpeg hands us &err
    jpeg_progress_mgr progress;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX + 64];
    int warnings;
    int endedEarly; // the data ran out before the picture's end marker
    int maxWarnings;
    int maxScans;
    long long deadlineMs;
    unsigned progressCalls; // the clock is read every few calls: reading it is a system call
    long long reserved;     // taken from the budget; given back by the caller of the setjmp function
};

// Clears the guard and arms it with the limits; the CPU time limit starts now. Call before setjmp.
void installJpegGuard(JpegGuard *guard, const JpegLimits &limits);

JpegGuard *jpegGuardOf(j_common_ptr cinfo);

// Ends the libjpeg call under way with text as the failure.
[[noreturn]] void jpegFail(JpegGuard *guard, const char *text);

// The reading setup both readers share, called after setjmp: the decompressor is created under the
// guard, with its progress monitor and the limit on libjpeg's working memory. The caller sets the source.
void createJpegReader(j_decompress_ptr cinfo, JpegGuard *guard, long maxMemory);
