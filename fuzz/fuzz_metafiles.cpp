// SPDX-License-Identifier: GPL-2.0-or-later
// libFuzzer target: bytes through FuzzEntries::metafiles; a broken invariant aborts, so it counts as a crash.
#include "fuzz/FuzzEntries.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString broken =
        FuzzEntries::metafiles(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));
    if (!broken.isEmpty()) {
        std::fprintf(stderr, "invariant broken: %s\n", broken.toLocal8Bit().constData());
        std::abort();
    }
    return 0;
}
