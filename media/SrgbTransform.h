// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "media/JpegColourTags.h"
#include "media/RgbImage.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

// Turns a picture's colours into plain sRGB through its colour profile, with Little CMS 2: matrix and
// LUT profiles, RGB, gray and CMYK alike. A transform is made once per profile and shared, by threads
// too (it keeps no per-call state).
class SrgbTransform
{
public:
    enum class Input { Gray, Rgb, Cmyk };

    // A matrix and its curves, for RGB profiles of that kind (most cameras' and phones'): the same result
    // as Little CMS at a fraction of its cost per pixel.
    // Integers throughout: linear light in 14 bits, the matrix in 12.
    static constexpr int kLinearBits = 14;
    static constexpr int kMatrixBits = 12;
    // Table-driven: each source channel's code maps straight to its share of the three linear sRGB sums
    // (its curve times its matrix column), so a pixel costs three lookups and adds, and three encodes.
    struct MatrixShaper {
        std::int32_t terms[3][256][4];         // [source channel][code]: shares of R, G, B (and a pad)
        std::uint8_t toSrgb[1 << kLinearBits]; // linear sRGB to its 8-bit code
    };

    // A CMYK profile sampled on a grid of inks (18 to a side, closer together towards no ink, where press
    // curves bend most), read back by tetrahedral interpolation over cyan, magenta and yellow and linear
    // over black, as Little CMS reads its own tables: far cheaper per pixel than its general path, and
    // within ΔE 2.5 of it (mostly within two steps of 255; a few more near no ink).
    static constexpr int kInkNodes = 18;
    static constexpr int kInkNode[kInkNodes] = {0,  2,  5,   9,   14,  20,  28,  38,  50,
                                                65, 82, 101, 122, 145, 170, 197, 226, 255};
    static constexpr int kInkWeight = 256; // an ink's distance past its node, in 1/256 of the gap
    struct CmykTable {
        // [c][m][y][k]: both layers of black next to each other. The interpolation reads eight bytes
        // at a node (the two past the last node come from node[], which follows).
        std::uint8_t rgb[kInkNodes][kInkNodes][kInkNodes][kInkNodes][3];
        std::uint8_t node[256];  // each ink's node below it (the last one: the node before 255)
        std::uint16_t past[256]; // and how far past it
    };

    SrgbTransform(void *handle, Input input);
    explicit SrgbTransform(std::unique_ptr<MatrixShaper> shaper)
        : m_handle(nullptr), m_input(Input::Rgb), m_shaper(std::move(shaper))
    {
    }
    ~SrgbTransform();
    SrgbTransform(const SrgbTransform &) = delete;
    SrgbTransform &operator=(const SrgbTransform &) = delete;

    Input input() const { return m_input; }
    // Decoded true-colour pixels (a gray picture as three equal values) into sRGB. Gray or RGB input only.
    void convert(RgbImage &image) const;
    // One row of plain CMYK (0 is no ink) into sRGB. CMYK input only.
    void convertCmykRow(const std::uint8_t *cmyk, std::uint8_t *rgb, int width) const noexcept;
    // A picture of plain CMYK (width x height x 4 bytes, rows packed) into sRGB. CMYK input only.
    RgbImage convertCmyk(const std::uint8_t *cmyk, int width, int height) const;
    // The same, turned in place within the inks' own memory.
    RgbImage convertCmyk(std::vector<std::uint8_t> &&cmyk, int width, int height) const;

private:
    void *m_handle; // cmsHTRANSFORM; null for a matrix profile
    Input m_input;
    std::unique_ptr<MatrixShaper> m_shaper; // when set, there is no handle
    std::unique_ptr<CmykTable> m_cmyk;      // likewise
};

// How to show a picture's colours in sRGB: through a transform, or as its numbers are.
struct PictureColour {
    std::shared_ptr<const SrgbTransform> transform; // null: the numbers are shown as they are
    QString ignored; // a profile that is there but was not used, and why (damaged, unsupported, unfit)

    // What the decoder converts CMYK rows through; null for other pictures.
    const SrgbTransform *forCmykRows() const;
    // Gray and RGB pictures are turned once decoded and scaled, at their final size.
    void toSrgb(RgbImage &image) const;
    // CMYK pictures too, when the decoder handed over their inks (see RgbRowSink::beginInks).
    RgbImage inksToSrgb(const std::uint8_t *cmyk, int width, int height) const;
    RgbImage inksToSrgb(std::vector<std::uint8_t> &&cmyk, int width, int height) const; // in place
};

// Decided from the file's tags: its embedded profile, else Adobe RGB when EXIF says so, else nothing
// (the decoder's own conversion, taken as sRGB). Transforms come from a small cache kept for the process.
PictureColour pictureColour(const JpegColourTags &tags);
PictureColour pictureColour(const std::uint8_t *data, std::size_t size);
// The same made anew, past the cache: what the cache hands out must turn colours just as it does.
PictureColour freshPictureColour(const JpegColourTags &tags);
