// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/PlotImage.h"

#include <QFont>
#include <QPainter>
#include <QPen>
#include <QPointF>
#include <algorithm>
#include <utility>

#include "plot/PlotWindow.h"

namespace sabrix {

namespace {

// Pixels of the main window's design (twips / 15). The strips stand 25 pixels thick, the label
// row starts a strip's height above the JD strip, and the plot grows right and down.
constexpr int kLeftMargin = 15;
constexpr int kRightMargin = 15;
constexpr int kBottomMargin = 15;
constexpr int kLabelTop = 6;
constexpr int kLabelLeft = 16;
constexpr int kLabelHeight = 25;
constexpr int kLabelToStrip = 24;
constexpr int kStrip = 25;
// The magnitude strip is wider, as in the main window, so that labels such as "-12.25" fit.
constexpr int kMagStrip = 45;
constexpr int kMagScaleGap = 1;
const QColor kWindowColor(240, 240, 240);

}  // namespace

PlotAreaLayout LayOutPlotArea(int width, int height) {
    PlotAreaLayout l;
    const int stripTop = kLabelTop + kLabelToStrip;
    const int viewTop = stripTop + kStrip;
    const int viewWidth =
        std::max(1, width - kLeftMargin - kMagScaleGap - kMagStrip - kRightMargin);
    const int viewHeight = std::max(1, height - viewTop - kBottomMargin);
    l.label = QRect(kLabelLeft, kLabelTop, viewWidth, kLabelHeight);
    l.jdScale = QRect(kLeftMargin, stripTop, viewWidth, kStrip);
    l.view = QRect(kLeftMargin, viewTop, viewWidth, viewHeight);
    l.magScale = QRect(kLeftMargin + viewWidth + kMagScaleGap, viewTop, kMagStrip, viewHeight);
    return l;
}

PlotAreaCanvases::PlotAreaCanvases(const PlotAreaLayout& layout)
    : picView(layout.view.width(), layout.view.height()),
      picJDScale(layout.jdScale.width(), layout.jdScale.height()),
      picMagScale(layout.magScale.width(), layout.magScale.height()) {
    ApplyDesignLook(picView, picJDScale, picMagScale);
}

PlotAreaCanvases::PlotAreaCanvases(const PlotAreaLayout& layout, NoPixels) {
    picView.resizeWithoutPixels(layout.view.width(), layout.view.height());
    picJDScale.resizeWithoutPixels(layout.jdScale.width(), layout.jdScale.height());
    picMagScale.resizeWithoutPixels(layout.magScale.width(), layout.magScale.height());
    ApplyDesignLook(picView, picJDScale, picMagScale);
}

namespace {

// The part of picture under rect, on picture's own memory; an image of its own when rect
// reaches beyond the picture (a picture too small for the layout's margins).
QImage PartOf(QImage& picture, const QRect& rect) {
    if (!picture.rect().contains(rect))
        return QImage(rect.width(), rect.height(), QImage::Format_RGB32);
    return QImage(picture.bits() + rect.top() * picture.bytesPerLine() + rect.left() * 4,
                  rect.width(), rect.height(), picture.bytesPerLine(), QImage::Format_RGB32);
}

}  // namespace

PlotAreaCanvases::PlotAreaCanvases(const PlotAreaLayout& layout, QImage& picture) {
    picView.drawInto(PartOf(picture, layout.view));
    picJDScale.drawInto(PartOf(picture, layout.jdScale));
    picMagScale.drawInto(PartOf(picture, layout.magScale));
    ApplyDesignLook(picView, picJDScale, picMagScale);
}

QImage NewPlotAreaPicture(int width, int height) {
    QImage picture(std::max(1, width), std::max(1, height), QImage::Format_RGB32);
    picture.fill(kWindowColor);
    return picture;
}

void FinishPlotArea(QImage& picture, const PlotAreaLayout& layout, const PlotAreaCanvases& canvases,
                    const QString& starLabel) {
    QPainter painter(&picture);
    const auto inPicture = [&picture](const Canvas& canvas) {
        const uchar* bits = canvas.image().constBits();
        return bits >= picture.constBits() && bits < picture.constBits() + picture.sizeInBytes();
    };
    for (const auto& [canvas, place] : {std::pair{&canvases.picJDScale, layout.jdScale},
                                        std::pair{&canvases.picView, layout.view},
                                        std::pair{&canvases.picMagScale, layout.magScale}})
        if (!inPicture(*canvas)) painter.drawImage(place.topLeft(), canvas->image());
    PaintMagAxisLine(painter, layout);
    PaintStarLabel(painter, layout, starLabel);
}

QSize PlotAreaSizeFor(QSize view) {
    return QSize(view.width() + kLeftMargin + kMagScaleGap + kMagStrip + kRightMargin,
                 view.height() + kLabelTop + kLabelToStrip + kStrip + kBottomMargin);
}

void PlotAreaCanvases::CopyVectorsTo(QPainter* painter, const PlotAreaLayout& layout) {
    picView.SetVectorCopy(painter, layout.view.topLeft());
    picJDScale.SetVectorCopy(painter, layout.jdScale.topLeft());
    picMagScale.SetVectorCopy(painter, layout.magScale.topLeft());
}

void PaintPlotAreaBackground(QPainter& painter, int width, int height) {
    painter.fillRect(QRect(0, 0, width, height), kWindowColor);
}

QImage ComposePlotArea(int width, int height, const PlotAreaLayout& layout,
                       const PlotAreaCanvases& canvases, const QString& starLabel) {
    QImage image(std::max(1, width), std::max(1, height), QImage::Format_RGB32);
    image.fill(kWindowColor);
    QPainter painter(&image);
    painter.drawImage(layout.jdScale.topLeft(), canvases.picJDScale.image());
    painter.drawImage(layout.view.topLeft(), canvases.picView.image());
    painter.drawImage(layout.magScale.topLeft(), canvases.picMagScale.image());
    PaintMagAxisLine(painter, layout);
    PaintStarLabel(painter, layout, starLabel);
    return image;
}

void PaintMagAxisLine(QPainter& painter, const PlotAreaLayout& layout) {
    painter.save();
    painter.resetTransform();
    QPen pen(kWindowColor, 1);
    pen.setCosmetic(true);
    pen.setCapStyle(Qt::FlatCap);
    painter.setPen(pen);
    // Through the middle of the gap's pixels, from the plot's top to its bottom edge.
    const double x = layout.view.left() + layout.view.width() + 0.5;
    painter.drawLine(QPointF(x, layout.view.top()),
                     QPointF(x, layout.view.top() + layout.view.height()));
    painter.restore();
}

void PaintStarLabel(QPainter& painter, const PlotAreaLayout& layout, const QString& starLabel) {
    painter.resetTransform();
    if (!starLabel.isEmpty()) {
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(13);
        font.setBold(true);
        painter.setFont(font);
        painter.setPen(Qt::black);
        const QString text =
            painter.fontMetrics().elidedText(starLabel, Qt::ElideMiddle, layout.label.width());
        painter.drawText(layout.label, Qt::AlignLeft | Qt::AlignTop, text);
    }
}

}  // namespace sabrix
