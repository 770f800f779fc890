// SPDX-License-Identifier: GPL-2.0-or-later
#include "MjpegAvi.h"

#include "LittleEndian.h"

namespace
{

void fourcc(QByteArray &out, const char *code)
{
    out.append(code, 4);
}

// A chunk: its code, its size and its data, padded to an even length.
QByteArray chunk(const char *code, const QByteArray &data)
{
    QByteArray out;
    fourcc(out, code);
    appendLE32(out, quint32(data.size()));
    out += data;
    if (data.size() % 2)
        out += '\0';
    return out;
}

QByteArray list(const char *type, const QByteArray &content)
{
    QByteArray data;
    fourcc(data, type);
    return chunk("LIST", data + content);
}

} // namespace

QByteArray MjpegAvi::write(const QList<QByteArray> &jpegFrames, int width, int height, int framesPerSecond)
{
    const quint32 frames = quint32(jpegFrames.size());
    quint32 largest = 0;
    for (const QByteArray &frame : jpegFrames)
        largest = qMax(largest, quint32(frame.size()));

    QByteArray avih;
    appendLE32(avih, quint32(1000000 / framesPerSecond)); // microseconds per frame
    appendLE32(avih, largest * quint32(framesPerSecond));
    appendLE32(avih, 0);
    appendLE32(avih, 0x10); // has an index
    appendLE32(avih, frames);
    appendLE32(avih, 0);
    appendLE32(avih, 1); // streams
    appendLE32(avih, largest);
    appendLE32(avih, quint32(width));
    appendLE32(avih, quint32(height));
    for (int i = 0; i < 4; ++i)
        appendLE32(avih, 0);

    QByteArray strh;
    fourcc(strh, "vids");
    fourcc(strh, "MJPG");
    appendLE32(strh, 0);                        // flags
    appendLE16(strh, 0);                        // priority
    appendLE16(strh, 0);                        // language
    appendLE32(strh, 0);                        // initial frames
    appendLE32(strh, 1);                        // scale
    appendLE32(strh, quint32(framesPerSecond)); // rate: frames per second = rate / scale
    appendLE32(strh, 0);                        // start
    appendLE32(strh, frames);
    appendLE32(strh, largest);
    appendLE32(strh, 0xFFFFFFFF); // quality: the default
    appendLE32(strh, 0);          // sample size: frames vary
    appendLE16(strh, 0);
    appendLE16(strh, 0);
    appendLE16(strh, quint16(width));
    appendLE16(strh, quint16(height));

    QByteArray strf; // BITMAPINFOHEADER
    appendLE32(strf, 40);
    appendLE32(strf, quint32(width));
    appendLE32(strf, quint32(height));
    appendLE16(strf, 1);
    appendLE16(strf, 24);
    fourcc(strf, "MJPG");
    appendLE32(strf, quint32(width * height * 3));
    for (int i = 0; i < 4; ++i)
        appendLE32(strf, 0);

    const QByteArray hdrl =
        list("hdrl", chunk("avih", avih) + list("strl", chunk("strh", strh) + chunk("strf", strf)));

    QByteArray movi;
    QByteArray index;
    for (const QByteArray &frame : jpegFrames) {
        fourcc(index, "00dc");
        appendLE32(index, 0x10);                     // key frame
        appendLE32(index, quint32(4 + movi.size())); // from the "movi" code
        appendLE32(index, quint32(frame.size()));
        movi += chunk("00dc", frame);
    }

    QByteArray riff;
    fourcc(riff, "AVI ");
    riff += hdrl + list("movi", movi) + chunk("idx1", index);
    return chunk("RIFF", riff);
}
