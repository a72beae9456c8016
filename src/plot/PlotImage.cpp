// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/PlotImage.h"

#include <QFont>
#include <QFontMetrics>
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
    PaintTitlesAndLegend(painter, layout, canvases);
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
    PaintTitlesAndLegend(painter, layout, canvases);
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

void TitlePicture(PlotAreaCanvases& canvases, bool phases, const std::vector<BandLine>& lines,
                  bool withLegend) {
    canvases.xTitle = phases ? QStringLiteral("Phase") : QStringLiteral("JD");
    canvases.yTitle = QStringLiteral("Magnitude");
    canvases.legend.clear();
    if (!withLegend) return;
    for (const BandLine& line : lines)
        if (line.shown) canvases.legend.push_back({line.label, line.color, line.count});
}

void PaintTitlesAndLegend(QPainter& painter, const PlotAreaLayout& layout,
                          const PlotAreaCanvases& canvases) {
    painter.save();
    painter.resetTransform();
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    painter.setFont(font);
    painter.setPen(Qt::black);
    if (!canvases.xTitle.isEmpty())
        painter.drawText(layout.label, Qt::AlignRight | Qt::AlignBottom, canvases.xTitle);
    if (!canvases.yTitle.isEmpty()) {
        // Turned to read upwards, centred on the plot's height in the right margin.
        const QRect& mag = layout.magScale;
        painter.save();
        painter.translate(mag.left() + mag.width() + kRightMargin / 2.0,
                          mag.top() + mag.height() / 2.0);
        painter.rotate(-90);
        const QRectF box(-mag.height() / 2.0, -kRightMargin / 2.0, mag.height(), kRightMargin);
        painter.drawText(box, Qt::AlignCenter, canvases.yTitle);
        painter.restore();
    }
    if (!canvases.legend.empty()) {
        QFont small(QStringLiteral("DejaVu Sans"));
        small.setPixelSize(11);
        painter.setFont(small);
        const QFontMetrics metrics(small);
        constexpr int kPad = 5;
        constexpr int kDot = 8;
        const int lineHeight = metrics.height();
        std::vector<QString> texts;
        int widest = 0;
        for (const LegendEntry& entry : canvases.legend) {
            texts.push_back(entry.label + QStringLiteral("  (") + QString::number(entry.count) +
                            u')');
            widest = std::max(widest, metrics.horizontalAdvance(texts.back()));
        }
        const QRect& view = layout.view;
        const int fit = std::max(0, (view.height() - 2 * kPad - 2) / lineHeight);
        const int lines = std::min(static_cast<int>(texts.size()), fit);
        const int boxWidth = std::min(view.width() - 2, widest + kDot + 3 * kPad + 4);
        if (lines > 0 && boxWidth > kDot + 3 * kPad) {
            const QRect box(view.right() - boxWidth - 1, view.top() + 1, boxWidth,
                            lines * lineHeight + 2 * kPad);
            painter.setPen(QColor(128, 128, 128));
            painter.setBrush(QColor(24, 24, 24));
            painter.drawRect(box);
            painter.setRenderHint(QPainter::Antialiasing);
            for (int i = 0; i < lines; ++i) {
                const int32_t c = canvases.legend[static_cast<size_t>(i)].color;
                const int top = box.top() + kPad + i * lineHeight;
                painter.setPen(Qt::NoPen);
                painter.setBrush(QColor(c & 0xff, (c >> 8) & 0xff, (c >> 16) & 0xff));
                painter.drawEllipse(
                    QRectF(box.left() + kPad, top + (lineHeight - kDot) / 2.0, kDot, kDot));
                painter.setPen(Qt::white);
                const QRect text(box.left() + 2 * kPad + kDot, top, box.width() - 3 * kPad - kDot,
                                 lineHeight);
                painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter,
                                 metrics.elidedText(texts[static_cast<size_t>(i)], Qt::ElideMiddle,
                                                    text.width()));
            }
        }
    }
    painter.restore();
}

}  // namespace sabrix
