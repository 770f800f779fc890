// SPDX-License-Identifier: GPL-2.0-or-later
#include "ViewerFixtures.h"

#include "WndToneWav.h"

#include <QBuffer>
#include <QImageWriter>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>

#include <gif_lib.h>

namespace ViewerFixtures
{

namespace
{

int appendBytes(GifFileType *gif, const GifByteType *data, int size)
{
    static_cast<QByteArray *>(gif->UserData)->append(reinterpret_cast<const char *>(data), size);
    return size;
}

void put16(QByteArray &out, quint16 v)
{
    out.append(char(v & 0xFF)).append(char(v >> 8));
}

void put32(QByteArray &out, quint32 v)
{
    put16(out, quint16(v & 0xFFFF));
    put16(out, quint16(v >> 16));
}

int bitsFor(int colours)
{
    int bits = 1;
    while ((1 << bits) < colours)
        ++bits;
    return bits;
}

} // namespace

QByteArray gif(int width, int height, int colours, int frames, bool transparentCorner)
{
    QByteArray out;
    int error = 0;
    GifFileType *file = EGifOpen(&out, appendBytes, &error);
    if (!file)
        return {};
    ColorMapObject *map = GifMakeMapObject(colours, nullptr);
    for (int i = 0; i < colours; ++i)
        map->Colors[i] =
            GifColorType{GifByteType(i * 255 / (colours - 1)), GifByteType(255 - i * 255 / (colours - 1)),
                         GifByteType((i * 97) % 256)};
    EGifSetGifVersion(file, true);
    EGifPutScreenDesc(file, width, height, bitsFor(colours), 0, map);
    if (frames > 1) {
        const GifByteType loop[] = {'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0'};
        const GifByteType loops[] = {1, 0, 0};
        EGifPutExtensionLeader(file, APPLICATION_EXT_FUNC_CODE);
        EGifPutExtensionBlock(file, sizeof loop, loop);
        EGifPutExtensionBlock(file, sizeof loops, loops);
        EGifPutExtensionTrailer(file);
    }
    std::vector<GifPixelType> line(size_t(width), 0);
    for (int f = 0; f < frames; ++f) {
        const bool transparent = transparentCorner && f == 0;
        const GifByteType control[] = {GifByteType(transparent ? 0x01 : 0x00), 5, 0, 0}; // 50 ms
        EGifPutExtension(file, GRAPHICS_EXT_FUNC_CODE, 4, control);
        EGifPutImageDesc(file, 0, 0, width, height, false, nullptr);
        for (int y = 0; y < height; ++y) {
            std::fill(line.begin(), line.end(), GifPixelType(1 + f % (colours - 1)));
            if (transparent && y == 0)
                line[0] = 0;
            EGifPutLine(file, line.data(), width);
        }
    }
    EGifCloseFile(file, &error);
    GifFreeMapObject(map);
    return out;
}

QByteArray gifOf(const QSize &screen, const QList<QRgb> &colours, const QList<GifFrame> &frames, int loops)
{
    QByteArray out;
    int error = 0;
    GifFileType *file = EGifOpen(&out, appendBytes, &error);
    if (!file)
        return {};
    const int bits = bitsFor(int(colours.size()));
    ColorMapObject *map = GifMakeMapObject(1 << bits, nullptr);
    for (int i = 0; i < (1 << bits); ++i) {
        const QRgb c = i < colours.size() ? colours[i] : qRgb(0, 0, 0);
        map->Colors[i] = GifColorType{GifByteType(qRed(c)), GifByteType(qGreen(c)), GifByteType(qBlue(c))};
    }
    EGifSetGifVersion(file, true);
    EGifPutScreenDesc(file, screen.width(), screen.height(), bits, 0, map);
    if (loops >= 0) {
        const GifByteType loop[] = {'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0'};
        const GifByteType count[] = {1, GifByteType(loops & 0xFF), GifByteType(loops >> 8)};
        EGifPutExtensionLeader(file, APPLICATION_EXT_FUNC_CODE);
        EGifPutExtensionBlock(file, sizeof loop, loop);
        EGifPutExtensionBlock(file, sizeof count, count);
        EGifPutExtensionTrailer(file);
    }
    for (const GifFrame &frame : frames) {
        const GifByteType control[] = {GifByteType((frame.disposal << 2) | (frame.transparent >= 0 ? 1 : 0)),
                                       GifByteType(frame.delay & 0xFF), GifByteType(frame.delay >> 8),
                                       GifByteType(frame.transparent >= 0 ? frame.transparent : 0)};
        EGifPutExtension(file, GRAPHICS_EXT_FUNC_CODE, 4, control);
        const QRect r = frame.rect;
        EGifPutImageDesc(file, r.x(), r.y(), r.width(), r.height(), frame.interlaced, nullptr);
        // giflib stores the rows as given: an interlaced image is given in its four passes.
        QList<int> rows;
        if (frame.interlaced) {
            for (const auto &[start, step] : {std::pair{0, 8}, {4, 8}, {2, 4}, {1, 2}})
                for (int y = start; y < r.height(); y += step)
                    rows << y;
        } else {
            for (int y = 0; y < r.height(); ++y)
                rows << y;
        }
        std::vector<GifPixelType> line(size_t(r.width()));
        for (int y : rows) {
            for (int x = 0; x < r.width(); ++x)
                line[size_t(x)] = GifPixelType(frame.indices.size() == 1 ? frame.indices[0]
                                                                         : frame.indices[y * r.width() + x]);
            EGifPutLine(file, line.data(), r.width());
        }
    }
    EGifCloseFile(file, &error);
    GifFreeMapObject(map);
    return out;
}

QByteArray gifScreenOnly(int width, int height)
{
    QByteArray out("GIF89a");
    put16(out, quint16(width));
    put16(out, quint16(height));
    out.append(char(0x00)).append(char(0)).append(char(0));
    return out;
}

QByteArray bmp(int width, int height, int depth)
{
    const int storedBits = depth == 15 ? 16 : depth;
    const int paletteEntries = storedBits <= 8 ? (1 << storedBits) : 0;
    const bool bitFields = depth == 16;
    const int rowBytes = ((width * storedBits + 31) / 32) * 4;
    const int headerBytes = 14 + 40 + (bitFields ? 12 : 0) + paletteEntries * 4;
    QByteArray out("BM");
    put32(out, quint32(headerBytes + rowBytes * height));
    put32(out, 0);
    put32(out, quint32(headerBytes));
    put32(out, 40);
    put32(out, quint32(width));
    put32(out, quint32(height));
    put16(out, 1);
    put16(out, quint16(storedBits));
    put32(out, bitFields ? 3 : 0);
    put32(out, quint32(rowBytes * height));
    put32(out, 2835);
    put32(out, 2835);
    put32(out, quint32(paletteEntries));
    put32(out, 0);
    if (bitFields) {
        put32(out, 0xF800);
        put32(out, 0x07E0);
        put32(out, 0x001F);
    }
    for (int i = 0; i < paletteEntries; ++i) {
        const int level = paletteEntries > 1 ? i * 255 / (paletteEntries - 1) : 0;
        out.append(char(255 - level)).append(char(level)).append(char(level / 2)).append(char(0));
    }
    for (int y = 0; y < height; ++y) {
        QByteArray row(rowBytes, '\0');
        for (int x = 0; x < width; ++x) {
            const int level = width > 1 ? x * 255 / (width - 1) : 0;
            switch (storedBits) {
            case 1:
            case 4:
            case 8: {
                const int index = x * paletteEntries / width;
                const int bit = x * storedBits;
                row[bit / 8] = char(row[bit / 8] | (index << (8 - storedBits - bit % 8)));
                break;
            }
            case 16: {
                const quint16 v = depth == 15 ? quint16(((level >> 3) << 10) | ((y & 31) << 5))
                                              : quint16(((level >> 3) << 11) | ((y & 63) << 5));
                qToLittleEndian(v, row.data() + x * 2);
                break;
            }
            default: {
                const int bytes = storedBits / 8;
                row[x * bytes] = char(level);
                row[x * bytes + 1] = char(y % 256);
                row[x * bytes + 2] = char(255 - level);
                if (bytes == 4)
                    row[x * bytes + 3] = char(255);
            }
            }
        }
        out.append(row);
    }
    return out;
}

QByteArray ico(const QImage &picture)
{
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "ico");
    return writer.write(picture.convertToFormat(QImage::Format_ARGB32)) ? out : QByteArray();
}

QByteArray emf(int width, int height)
{
    QByteArray records;
    int count = 0;
    const auto record = [&](quint32 type, std::initializer_list<qint32> fields) {
        put32(records, type);
        put32(records, quint32(8 + 4 * fields.size()));
        for (qint32 v : fields)
            put32(records, quint32(v));
        ++count;
    };
    record(39, {1, 0, 0x00C03010, 0}); // brush 1: solid blue (COLORREF red, green, blue)
    record(39, {2, 0, 0x002020E0, 0}); // brush 2: solid red
    record(37, {1});
    record(43, {0, 0, width / 2, height - 1});
    record(37, {2});
    record(42, {width / 2 + 2, 2, width - 3, height - 3});
    record(14, {0, 16, 20}); // end of file
    QByteArray out;
    put32(out, 1);
    put32(out, 108);
    for (qint32 v : {0, 0, width - 1, height - 1})
        put32(out, quint32(v)); // bounds in pixels
    for (qint32 v : {0, 0, width * 2646 / 100, height * 2646 / 100})
        put32(out, quint32(v)); // frame in 0.01 mm at 96 dpi
    put32(out, 0x464D4520);
    put32(out, 0x10000);
    put32(out, quint32(108 + records.size()));
    put32(out, quint32(count + 1));
    put16(out, 3);
    put16(out, 0);
    put32(out, 0);
    put32(out, 0);
    put32(out, 0);
    for (qint32 v : {1024, 768, 270, 203, 0, 0, 0, 270000, 203000})
        put32(out, quint32(v));
    return out + records;
}

QByteArray wmf(int width, int height)
{
    QByteArray records;
    int largest = 0;
    const auto record = [&](quint16 function, std::initializer_list<qint16> words) {
        const int size = 3 + int(words.size());
        largest = qMax(largest, size);
        put32(records, quint32(size));
        put16(records, function);
        for (qint16 w : words)
            put16(records, quint16(w));
    };
    record(0x020B, {0, 0});                                    // window origin (y, x)
    record(0x020C, {qint16(height), qint16(width)});           // window extent (y, x)
    record(0x02FC, {0, 0x3010, 0x00C0, 0});                    // brush 0: solid blue
    record(0x02FC, {0, 0x20E0, 0x0020, 0});                    // brush 1: solid red
    record(0x012D, {0});                                       // select brush 0
    record(0x041B, {qint16(height), qint16(width / 2), 0, 0}); // rectangle (bottom, right, top, left)
    record(0x012D, {1});
    record(0x041B, {qint16(height - 2), qint16(width - 2), 2,
                    qint16(width / 2 + 2)}); // (libwmf leaves ellipses unfilled)
    record(0x0000, {});                      // end of file
    QByteArray out;
    put32(out, 0x9AC6CDD7);
    put16(out, 0);
    const quint16 placeable[] = {0, 0, quint16(width), quint16(height), 96};
    for (quint16 v : placeable)
        put16(out, v);
    put32(out, 0);
    quint16 checksum = 0;
    for (int i = 0; i < 10; ++i)
        checksum ^= qFromLittleEndian<quint16>(out.constData() + 2 * i);
    put16(out, checksum);
    put16(out, 1);
    put16(out, 9);
    put16(out, 0x0300);
    put32(out, quint32(9 + records.size() / 2));
    put16(out, 2);
    put32(out, quint32(largest));
    put16(out, 0);
    return out + records;
}

QByteArray midiTune()
{
    QByteArray track;
    const auto event = [&track](int delta, std::initializer_list<int> bytes) {
        track.append(char(delta));
        for (int b : bytes)
            track.append(char(b));
    };
    event(0, {0xC0, 0}); // piano
    for (int note : {60, 64, 67, 72}) {
        event(0, {0x90, note, 100});
        // 480 ticks a beat at 120 bpm: half a second each (two bytes of variable-length delta).
        track.append(char(0x83)).append(char(0x60)).append(char(0x80)).append(char(note)).append(char(0));
    }
    event(0, {0xFF, 0x2F, 0x00});
    QByteArray out("MThd");
    out.append(QByteArray::fromHex("00000006000000010"
                                   "1e0"));
    out.append("MTrk");
    out.append(char(0)).append(char(0)).append(char(track.size() >> 8)).append(char(track.size() & 0xFF));
    return out + track;
}

QByteArray mp3Tone(double seconds)
{
    QTemporaryDir dir;
    QFile wav(dir.filePath("tone.wav"));
    if (!wav.open(QIODevice::WriteOnly) || wav.write(wndToneWav(seconds)) < 0)
        return {};
    wav.close();
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg", {"-v", "error", "-y", "-i", wav.fileName(), "-codec:a", "libmp3lame", "-b:a",
                            "64k", dir.filePath("tone.mp3")});
    if (!ffmpeg.waitForFinished(60000) || ffmpeg.exitCode() != 0)
        return {};
    QFile mp3(dir.filePath("tone.mp3"));
    return mp3.open(QIODevice::ReadOnly) ? mp3.readAll() : QByteArray();
}

} // namespace ViewerFixtures
