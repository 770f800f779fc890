// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QByteArray>
#include <QColor>
#include <QString>
#include <QStringList>

#include <vector>

// Colour profiles made by Little CMS 2 for the tests, and the references they are checked against.
namespace ColourFixtures
{

enum class Profile { None, Srgb, DisplayP3, AdobeRgb, ProPhoto, LinearGray, Cmyk };

// The bytes of an ICC profile of that kind. Cmyk is a LUT-based profile of a dark, warm press: its
// colours differ clearly from the plain ink multiplication used without a profile.
QByteArray profile(Profile kind);

// The picture at jpegPath turned into sRGB by Little CMS's own jpgicc, decoded: the reference colour of
// its middle. Invalid colour when jpgicc fails.
QColor jpgiccMiddleColour(const QString &jpegPath, const QString &workFolder, const QStringList &flags = {});

// 8-bit RGB pixels (or plain CMYK inks, channels 4) turned into sRGB by Little CMS itself (perceptual
// intent), through a profile of that kind.
std::vector<unsigned char> lcmsToSrgb(const QByteArray &profile, const std::vector<unsigned char> &pixels,
                                      int channels = 3);

// CIE76 colour difference of two sRGB colours (L*a*b*, D65).
double deltaE76(const QColor &a, const QColor &b);

} // namespace ColourFixtures
