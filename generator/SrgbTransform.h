#pragma once

#include "generator/JpegColourTags.h"
#include "generator/RgbImage.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <memory>

// Turns a picture's colours into plain sRGB through its colour profile, with Little CMS 2: matrix and
// LUT profiles, RGB, gray and CMYK alike. A transform is made once per profile and shared, by threads
// too (it keeps no per-call state).
class SrgbTransform
{
public:
    enum class Input { Gray, Rgb, Cmyk };

    SrgbTransform(void *handle, Input input) : m_handle(handle), m_input(input) {}
    ~SrgbTransform();
    SrgbTransform(const SrgbTransform &) = delete;
    SrgbTransform &operator=(const SrgbTransform &) = delete;

    Input input() const { return m_input; }
    // Decoded true-colour pixels (a gray picture as three equal values) into sRGB. Gray or RGB input only.
    void convert(RgbImage &image) const;
    // One row of plain CMYK (0 is no ink) into sRGB. CMYK input only.
    void convertCmykRow(const std::uint8_t *cmyk, std::uint8_t *rgb, int width) const noexcept;

private:
    void *m_handle; // cmsHTRANSFORM
    Input m_input;
};

// How to show a picture's colours in sRGB: through a transform, or as its numbers are.
struct PictureColour {
    std::shared_ptr<const SrgbTransform> transform; // null: the numbers are shown as they are
    QString ignored; // a profile that is there but was not used, and why (damaged, unsupported, unfit)

    // What the decoder converts CMYK rows through; null for other pictures.
    const SrgbTransform *forCmykRows() const;
    // Gray and RGB pictures are turned once decoded and scaled, at their final size.
    void toSrgb(RgbImage &image) const;
};

// Decided from the file's tags: its embedded profile, else Adobe RGB when EXIF says so, else nothing
// (the decoder's own conversion, taken as sRGB). Transforms come from a small cache kept for the process.
PictureColour pictureColour(const JpegColourTags &tags);
PictureColour pictureColour(const std::uint8_t *data, std::size_t size);
