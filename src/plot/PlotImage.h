// SPDX-License-Identifier: GPL-3.0-or-later
// The plot area as one picture, with no window: what the main window shows of a loaded star
// (the star label on top, the JD strip above the plot, the plot, and the magnitude strip at its
// right), laid out as the main window lays out its controls. Used by the command line's render:
// the canvases are made at the layout's sizes, the program's own redraw draws on them, and
// ComposePlotArea puts them together.
#pragma once

#include <QImage>
#include <QPainter>
#include <QRect>
#include <QSize>
#include <QString>

#include "plot/Canvas.h"

namespace sabrix {

// The layout of the plot area in a picture of the given size, in pixels. The plot takes what
// the label row, the strips and the margins leave; the JD strip is 25 pixels high, the
// magnitude strip 45 pixels wide.
struct PlotAreaLayout {
    QRect label;
    QRect jdScale;
    QRect view;
    QRect magScale;
};
PlotAreaLayout LayOutPlotArea(int width, int height);

// The three surfaces of the plot area at the layout's sizes, with the design look of the main
// window's controls.
struct PlotAreaCanvases {
    // Each with pixels of its own.
    explicit PlotAreaCanvases(const PlotAreaLayout& layout);
    // Without pixels (Canvas::resizeWithoutPixels), for a vector picture of any size.
    struct NoPixels {};
    PlotAreaCanvases(const PlotAreaLayout& layout, NoPixels);
    // Drawing straight into their places of picture, a picture of the whole area as
    // NewPlotAreaPicture makes it: no second copy of the pixels. picture must outlive them.
    PlotAreaCanvases(const PlotAreaLayout& layout, QImage& picture);
    Canvas picView;
    Canvas picJDScale;
    Canvas picMagScale;
    // Makes each canvas copy its drawing onto painter, in its place of the layout (see
    // Canvas::SetVectorCopy); null stops the copies.
    void CopyVectorsTo(QPainter* painter, const PlotAreaLayout& layout);
};

// The size of a picture whose layout gives the plot the size of view (the inverse of
// LayOutPlotArea for plots of at least one pixel).
QSize PlotAreaSizeFor(QSize view);

// The picture of the plot area, layout's width x height pixels: the window's background, the
// three canvases in their places and the star label (none when empty) above the JD strip.
QImage ComposePlotArea(int width, int height, const PlotAreaLayout& layout,
                       const PlotAreaCanvases& canvases, const QString& starLabel);
// The same picture with one buffer: NewPlotAreaPicture gives the window's background for
// canvases that draw into it (PlotAreaCanvases(layout, picture)); FinishPlotArea adds, once
// they have drawn, any canvas that had to keep pixels of its own, the magnitude axis line and
// the star label.
QImage NewPlotAreaPicture(int width, int height);
void FinishPlotArea(QImage& picture, const PlotAreaLayout& layout, const PlotAreaCanvases& canvases,
                    const QString& starLabel);

// The parts of ComposePlotArea that are not canvases, for a painter on any device: the
// window's background over width x height, the magnitude axis, and the star label in its
// place.
void PaintPlotAreaBackground(QPainter& painter, int width, int height);
// The light line of the window's colour in the one-pixel gap between the plot and the
// magnitude strip, painted over the canvases: a vector picture scaled down by its viewer
// would otherwise close the gap and lose the axis that the window shows. It keeps at least
// one device pixel at any scale.
void PaintMagAxisLine(QPainter& painter, const PlotAreaLayout& layout);
void PaintStarLabel(QPainter& painter, const PlotAreaLayout& layout, const QString& starLabel);

}  // namespace sabrix
