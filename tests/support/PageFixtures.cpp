// SPDX-License-Identifier: GPL-2.0-or-later
#include "PageFixtures.h"

#include <QFile>

#include <cstdlib>
#include <vector>

#include <jpeglib.h>

namespace {

QByteArray exifSegment(int orientation, bool bigEndian)
{
    const auto u16 = [&](QByteArray &out, int v) {
        if (bigEndian)
            out += char(v >> 8), out += char(v & 0xFF);
        else
            out += char(v & 0xFF), out += char(v >> 8);
    };
    const auto u32 = [&](QByteArray &out, quint32 v) {
        if (bigEndian)
            u16(out, int(v >> 16)), u16(out, int(v & 0xFFFF));
        else
            u16(out, int(v & 0xFFFF)), u16(out, int(v >> 16));
    };
    QByteArray body("Exif\0\0", 6);
    body += bigEndian ? "MM" : "II";
    u16(body, 42);
    u32(body, 8); // IFD0 right after the TIFF header
    u16(body, 2); // two entries: a resolution unit first, so the reader has to walk the list
    u16(body, 0x0128), u16(body, 3), u32(body, 1), u16(body, 2), u16(body, 0);
    u16(body, 0x0112), u16(body, 3), u32(body, 1), u16(body, orientation), u16(body, 0);
    u32(body, 0); // no next IFD
    return body;
}

} // namespace

namespace PageFixtures {

QByteArray jpeg(int width, int height, int orientation, bool bigEndianExif)
{
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char *buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = JDIMENSION(width);
    cinfo.image_height = JDIMENSION(height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 50, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    if (orientation > 0) {
        const QByteArray exif = exifSegment(orientation, bigEndianExif);
        jpeg_write_marker(&cinfo, JPEG_APP0 + 1, reinterpret_cast<const JOCTET *>(exif.constData()),
                          unsigned(exif.size()));
    }
    std::vector<JSAMPLE> row(size_t(width) * 3, 128);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    const QByteArray bytes(reinterpret_cast<const char *>(buffer), qsizetype(size));
    std::free(buffer);
    return bytes;
}

QByteArray gif(int width, int height, const char *version)
{
    QByteArray bytes("GIF");
    bytes += version;
    const auto u16 = [&](int v) { bytes += char(v & 0xFF), bytes += char((v >> 8) & 0xFF); };
    u16(width);
    u16(height);
    bytes += char(0x80); // global colour table of two entries
    bytes += char(0);    // background colour index
    bytes += char(0);    // aspect ratio
    bytes += QByteArray("\x00\x00\x00\xFF\xFF\xFF", 6);
    bytes += ',';
    u16(0), u16(0), u16(1), u16(1);
    bytes += char(0);
    bytes += QByteArray("\x02\x02\x44\x01\x00", 5); // LZW: clear, pixel 0, end
    bytes += ';';
    return bytes;
}

QByteArray withJpegSize(QByteArray bytes, int width, int height)
{
    for (qsizetype i = 2; i + 9 < bytes.size(); ++i) {
        const unsigned char marker = static_cast<unsigned char>(bytes[i + 1]);
        if (static_cast<unsigned char>(bytes[i]) == 0xFF && (marker == 0xC0 || marker == 0xC2)) {
            bytes[i + 5] = char(height >> 8);
            bytes[i + 6] = char(height & 0xFF);
            bytes[i + 7] = char(width >> 8);
            bytes[i + 8] = char(width & 0xFF);
            break;
        }
    }
    return bytes;
}

bool write(const QString &path, const QByteArray &bytes, qint64 padTo)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    if (file.write(bytes) != bytes.size())
        return false;
    if (padTo > bytes.size() && !file.resize(padTo))
        return false;
    return file.flush();
}

bool writeSampleFolder(const QString &folder)
{
    return write(folder + "/cat.jpg", jpeg(800, 600), 51200) && write(folder + "/dog.gif", gif(121, 91), 3000) &&
           write(folder + "/owl.jpg", jpeg(640, 480), 1100000);
}

const char *samplePage()
{
    return R"(<HTML>
<HEAD>
<TITLE>MediaPage</TITLE>
<META NAME="Author" CONTENT="Tessaloom 2001">
<STYLE>
    A{text-decoration:none}
</STYLE>
</HEAD>
<body text="#FFFFFF" bgcolor="#000000" link="#FF0000" vlink="#0000FF" alink="#FF0000">
<CENTER>
<TABLE BORDER=0 WIDTH="100%" >
<TR ALIGN=CENTER VALIGN=BOTTOM>
<TD><A HREF="cat.jpg"><IMG SRC="sm_cat.jpg" ALT="cat.jpg" HEIGHT=300 WIDTH=400 BORDER=0></A>
<BR><B><FONT COLOR="#FFFFFF">cat.jpg</FONT></B>
<BR><B><FONT COLOR="#FFFFFF">Size: 50.0 kb</FONT></B></TD>
<TD><A HREF="dog.gif"><IMG SRC="dog.gif" ALT="dog.gif" HEIGHT=45.5 WIDTH=60.5 BORDER=0></A>
<BR><B><FONT COLOR="#FFFFFF">dog.gif</FONT></B>
<BR><B><FONT COLOR="#FFFFFF">Size: 2.95 kb</FONT></B></TD>
</TR>
 
<TR ALIGN=CENTER>
<TD><A HREF="owl.jpg"><IMG SRC="sm_owl.jpg" ALT="owl.jpg" HEIGHT=240 WIDTH=320 BORDER=0></A>
<BR><B><FONT COLOR="#FFFFFF">owl.jpg</FONT></B>
<BR><B><FONT COLOR="#FFFFFF">Size: 1.51 mb</FONT></B></TD>
</TR>
 
</TABLE>
</CENTER>
</BODY>
</HTML>)";
}

} // namespace PageFixtures
