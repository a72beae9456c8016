// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/PlotImageFile.h"

#include <QBuffer>
#include <QPageSize>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <algorithm>
#include <cctype>

#include "core/SabrixError.h"

namespace sabrix {

namespace {

std::string LowerExtension(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    const size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    std::string extension = path.substr(dot);
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension;
}

// Paints the background, lets draw put the canvases' shapes onto the painter, then the label.
void PaintVectors(QPainter& painter, int width, int height, const PlotAreaLayout& layout,
                  PlotAreaCanvases& canvases,
                  const std::function<QString(PlotAreaCanvases&)>& draw) {
    PaintPlotAreaBackground(painter, width, height);
    canvases.CopyVectorsTo(&painter, layout);
    QString label;
    try {
        label = draw(canvases);
    } catch (...) {
        canvases.CopyVectorsTo(nullptr, layout);
        throw;
    }
    canvases.CopyVectorsTo(nullptr, layout);
    PaintMagAxisLine(painter, layout);
    PaintStarLabel(painter, layout, label);
}

}  // namespace

std::optional<PlotImageFormat> PlotImageFormatFor(const std::string& path) {
    const std::string extension = LowerExtension(path);
    if (extension == ".png") return PlotImageFormat::Png;
    if (extension == ".jpg" || extension == ".jpeg") return PlotImageFormat::Jpeg;
    if (extension == ".svg") return PlotImageFormat::Svg;
    if (extension == ".pdf") return PlotImageFormat::Pdf;
    return std::nullopt;
}

const char* PlotImageExtension(PlotImageFormat format) {
    switch (format) {
        case PlotImageFormat::Png:
            return ".png";
        case PlotImageFormat::Svg:
            return ".svg";
        case PlotImageFormat::Pdf:
            return ".pdf";
        case PlotImageFormat::Jpeg:
            return ".jpg";
    }
    return ".png";
}

QString PlotImageFilter(PlotImageFormat format) {
    switch (format) {
        case PlotImageFormat::Png:
            return QStringLiteral("PNG Pictures (*.png)|*.png|");
        case PlotImageFormat::Svg:
            return QStringLiteral("SVG Drawings (*.svg)|*.svg|");
        case PlotImageFormat::Pdf:
            return QStringLiteral("PDF Documents (*.pdf)|*.pdf|");
        case PlotImageFormat::Jpeg:
            return QStringLiteral("JPEG Pictures (*.jpg;*.jpeg)|*.jpg;*.jpeg|");
    }
    return {};
}

bool PlotImageSizeAllowed(int width, int height) {
    return width >= kPlotImageMinSide && width <= kPlotImageMaxSide &&
           height >= kPlotImageMinSide && height <= kPlotImageMaxSide;
}

QByteArray EncodeRasterImage(const QImage& image, PlotImageFormat format) {
    QByteArray bytes;
    QBuffer out(&bytes);
    out.open(QIODevice::WriteOnly);
    const bool jpeg = format == PlotImageFormat::Jpeg;
    // Thin coloured lines on black blur at the encoder's usual quality.
    if (!image.save(&out, jpeg ? "JPEG" : "PNG", jpeg ? 95 : -1))
        throw SabrixError(jpeg ? "JPEG encoding failed" : "PNG encoding failed");
    return bytes;
}

QByteArray PlotImageBytes(PlotImageFormat format, int width, int height,
                          const std::function<QString(PlotAreaCanvases&)>& draw) {
    width = std::max(1, width);
    height = std::max(1, height);
    const PlotAreaLayout layout = LayOutPlotArea(width, height);
    if (format == PlotImageFormat::Png || format == PlotImageFormat::Jpeg) {
        // One buffer of the picture's size: the canvases draw into their places of it.
        QImage picture = NewPlotAreaPicture(width, height);
        PlotAreaCanvases canvases(layout, picture);
        const QString label = draw(canvases);
        FinishPlotArea(picture, layout, canvases, label);
        return EncodeRasterImage(picture, format);
    }
    // A vector picture needs no pixels of its size: the canvases' shapes go to the page alone.
    PlotAreaCanvases canvases(layout, PlotAreaCanvases::NoPixels{});
    // Texts are sized in points: the vector page takes the canvases' resolution, so a text
    // covers there what it covers in the PNG.
    const int dpi = canvases.picView.image().logicalDpiX();
    QByteArray bytes;
    QBuffer out(&bytes);
    out.open(QIODevice::WriteOnly);
    switch (format) {
        case PlotImageFormat::Png:
        case PlotImageFormat::Jpeg:
            break;
        case PlotImageFormat::Svg: {
            QSvgGenerator svg;
            svg.setOutputDevice(&out);
            svg.setResolution(dpi);
            svg.setSize(QSize(width, height));
            svg.setViewBox(QRect(0, 0, width, height));
            svg.setTitle(QStringLiteral("Sabrix plot"));
            QPainter painter;
            if (!painter.begin(&svg)) throw SabrixError("SVG writing failed");
            PaintVectors(painter, width, height, layout, canvases, draw);
            painter.end();
            break;
        }
        case PlotImageFormat::Pdf: {
            QPdfWriter pdf(&out);
            pdf.setResolution(dpi);
            pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
            pdf.setPageSize(QPageSize(QSizeF(width * 72.0 / dpi, height * 72.0 / dpi),
                                      QPageSize::Point, QString(), QPageSize::ExactMatch));
            pdf.setTitle(QStringLiteral("Sabrix plot"));
            pdf.setCreator(QStringLiteral("Sabrix"));
            QPainter painter;
            if (!painter.begin(&pdf)) throw SabrixError("PDF writing failed");
            PaintVectors(painter, width, height, layout, canvases, draw);
            painter.end();
            break;
        }
    }
    return bytes;
}

}  // namespace sabrix
