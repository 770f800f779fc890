#include "MjpegAvi.h"

#include <QtEndian>

namespace
{

void u32(QByteArray &out, quint32 value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

void u16(QByteArray &out, quint16 value)
{
    char bytes[2];
    qToLittleEndian(value, bytes);
    out.append(bytes, 2);
}

void fourcc(QByteArray &out, const char *code)
{
    out.append(code, 4);
}

// A chunk: its code, its size and its data, padded to an even length.
QByteArray chunk(const char *code, const QByteArray &data)
{
    QByteArray out;
    fourcc(out, code);
    u32(out, quint32(data.size()));
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
    u32(avih, quint32(1000000 / framesPerSecond)); // microseconds per frame
    u32(avih, largest * quint32(framesPerSecond));
    u32(avih, 0);
    u32(avih, 0x10); // has an index
    u32(avih, frames);
    u32(avih, 0);
    u32(avih, 1); // streams
    u32(avih, largest);
    u32(avih, quint32(width));
    u32(avih, quint32(height));
    for (int i = 0; i < 4; ++i)
        u32(avih, 0);

    QByteArray strh;
    fourcc(strh, "vids");
    fourcc(strh, "MJPG");
    u32(strh, 0);                        // flags
    u16(strh, 0);                        // priority
    u16(strh, 0);                        // language
    u32(strh, 0);                        // initial frames
    u32(strh, 1);                        // scale
    u32(strh, quint32(framesPerSecond)); // rate: frames per second = rate / scale
    u32(strh, 0);                        // start
    u32(strh, frames);
    u32(strh, largest);
    u32(strh, 0xFFFFFFFF); // quality: the default
    u32(strh, 0);          // sample size: frames vary
    u16(strh, 0);
    u16(strh, 0);
    u16(strh, quint16(width));
    u16(strh, quint16(height));

    QByteArray strf; // BITMAPINFOHEADER
    u32(strf, 40);
    u32(strf, quint32(width));
    u32(strf, quint32(height));
    u16(strf, 1);
    u16(strf, 24);
    fourcc(strf, "MJPG");
    u32(strf, quint32(width * height * 3));
    for (int i = 0; i < 4; ++i)
        u32(strf, 0);

    const QByteArray hdrl =
        list("hdrl", chunk("avih", avih) + list("strl", chunk("strh", strh) + chunk("strf", strf)));

    QByteArray movi;
    QByteArray index;
    for (const QByteArray &frame : jpegFrames) {
        fourcc(index, "00dc");
        u32(index, 0x10);                     // key frame
        u32(index, quint32(4 + movi.size())); // from the "movi" code
        u32(index, quint32(frame.size()));
        movi += chunk("00dc", frame);
    }

    QByteArray riff;
    fourcc(riff, "AVI ");
    riff += hdrl + list("movi", movi) + chunk("idx1", index);
    return chunk("RIFF", riff);
}
