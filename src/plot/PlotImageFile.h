// SPDX-License-Identifier: GPL-3.0-or-later
// The plot area as an image file: PNG, JPEG, SVG or PDF, chosen by the file name. The picture is
// drawn afresh at the size asked for by a drawing function that the caller gives (the
// program's redraw of the current view), so labels and ticks fit that size. In SVG and PDF the
// points, lines and texts are vector shapes, laid out exactly as in the PNG of the same size.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <functional>
#include <optional>
#include <string>

#include "plot/PlotImage.h"

namespace sabrix {

enum class PlotImageFormat { Png, Svg, Pdf, Jpeg };

// The format that the file name's extension names (".png", ".jpg" or ".jpeg", ".svg" or
// ".pdf", in any case); nothing for any other name.
std::optional<PlotImageFormat> PlotImageFormatFor(const std::string& path);

// ".png", ".svg", ".pdf" or ".jpg".
const char* PlotImageExtension(PlotImageFormat format);

// The sizes an exported picture may have, in pixels on each side.
constexpr int kPlotImageMinSide = 50;
constexpr int kPlotImageMaxSide = 8000;
bool PlotImageSizeAllowed(int width, int height);

// The filter of the save dialog for the format ("PNG Pictures (*.png)|*.png|").
QString PlotImageFilter(PlotImageFormat format);

// The picture in a raster format (PNG or JPEG) as its file's bytes. Throws SabrixError when it
// cannot be encoded.
QByteArray EncodeRasterImage(const QImage& image, PlotImageFormat format);

// Draws the plot area of width x height pixels (width and height at least 1) in the format and
// returns the file's bytes. draw gets the three canvases at the layout's sizes, draws the view
// on them and returns the star label. A PDF page is width x height points at the canvases'
// resolution, an SVG picture width x height user units. Throws SabrixError when the picture
// cannot be encoded, and what draw throws.
QByteArray PlotImageBytes(PlotImageFormat format, int width, int height,
                          const std::function<QString(PlotAreaCanvases&)>& draw);

}  // namespace sabrix
