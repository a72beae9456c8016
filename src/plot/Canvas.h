// SPDX-License-Identifier: GPL-3.0-or-later
// A drawing surface with a user scale: a backing image plus the drawing operations the plot
// uses. What is drawn stays until the next Cls().
//
// User scale: SetUserScale(left, top, width, height) maps the user point (x, y) to the pixel
// ((x - left) * pixelWidth / width, (y - top) * pixelHeight / height). Width and height may
// be negative (axes pointing the other way). Example: a 200 x 100 pixel canvas with the scale
// (1000, 8, 50, 4) puts JD 1025, magnitude 10 at pixel (100, 50); one pixel is 0.25 days wide
// and 0.04 magnitudes high.
//
// Device pixels: a canvas may hold several image pixels per pixel of its size (a screen at a
// scale factor above 1). Every size, coordinate and the user scale stay in the canvas's own
// pixels; only the image is larger, so lines, dots and text come out sharp on such a screen.
// Example: a 200 x 100 canvas at ratio 2 has a 400 x 200 image; a one-pixel line covers two
// image rows, a dot 6 x 6 image pixels.
//
// Colours are packed red + 256 * green + 65536 * blue (255 is red), as everywhere in the
// program; ToQColor converts them.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPointF>
#include <QString>
#include <cmath>
#include <cstdint>

class QPainter;
#include <vector>

namespace sabrix {

QColor ToQColor(int32_t packed);
int32_t FromQColor(const QColor& color);

enum class DrawMode { Copy, Invert, MergePen };

class Canvas {
  public:
    Canvas(int pixelWidth = 1, int pixelHeight = 1);

    // Resizes the backing image to ratio image pixels per pixel (its devicePixelRatio); the
    // content is cleared to the back colour.
    void resize(int pixelWidth, int pixelHeight, double ratio = 1);
    // A surface of that size without pixels of its own, for a vector picture: the user scale
    // and every drawing operation act as on a surface of that size, but only the vector copy
    // (SetVectorCopy) receives the shapes; image() is a single pixel.
    void resizeWithoutPixels(int pixelWidth, int pixelHeight);
    // Draws into the pixels of view, an image on the memory of a larger picture (its part of
    // that picture); the memory must outlive the surface or its next resize. Cleared to the
    // back colour. The view's devicePixelRatio is the canvas's.
    void drawInto(QImage view);
    int pixelWidth() const { return pixelWidth_; }
    int pixelHeight() const { return pixelHeight_; }
    // Image pixels per pixel of the canvas.
    double ratio() const { return ratio_; }

    // User scale. A zero width or height is refused with SabrixError ("Invalid property
    // value") and leaves the scale unchanged.
    void SetUserScale(double left, double top, double width, double height);
    double ScaleLeft() const { return left_; }
    double ScaleTop() const { return top_; }
    double ScaleWidth() const { return width_; }
    double ScaleHeight() const { return height_; }

    // Conversions between user units and pixels.
    QPointF toPixel(double x, double y) const;
    double userX(double pixelX) const { return left_ + pixelX * width_ / pixelWidth_; }
    double userY(double pixelY) const { return top_ + pixelY * height_ / pixelHeight_; }
    // The size of n pixels in user units along x and y (signed as the scale is).
    double PixelsToUserX(double pixels) const { return pixels * width_ / pixelWidth_; }
    double PixelsToUserY(double pixels) const { return pixels * height_ / pixelHeight_; }

    // Properties of the surface.
    int32_t BackColor = 0;         // black
    int32_t ForeColor = 16777215;  // white
    int32_t FillColor = 0;
    bool FillSolid = true;
    DrawMode Mode = DrawMode::Copy;
    int DrawWidth = 1;
    QFont Font;
    double CurrentX = 0;
    double CurrentY = 0;

    // Clears to BackColor and moves the text position to the top left corner.
    void Cls();
    // A line between two user points in the given colour (ForeColor when -1).
    void Line(double x1, double y1, double x2, double y2, int32_t color = -1);
    // Lines in order, each drawn as Line() draws it, all with one painter: for overlays of
    // many thousand segments.
    struct Segment {
        double x1, y1, x2, y2;
        int32_t color;
    };
    void Lines(const std::vector<Segment>& segments);
    // An outline box between two corners.
    void Box(double x1, double y1, double x2, double y2, int32_t color = -1);
    // A circle of the given radius in horizontal user units, outlined in color and filled
    // with FillColor when FillSolid.
    void Circle(double x, double y, double radius, int32_t color = -1);
    // A filled dot of radius one pixel (3 x 3 pixels) in the given colour: the plot's point.
    void Dot(double x, double y, int32_t color);
    // A one-pixel-wide vertical line from (x, y1) to (x, y2), both end pixels included, in the
    // given colour; the same pixels as Line() draws for a vertical line, without a painter.
    void VerticalLine(double x, double y1, double y2, int32_t color);
    // Prints the text with its top left corner at (CurrentX, CurrentY) in ForeColor, then moves
    // CurrentY down by the text's height and CurrentX back to ScaleLeft.
    void Print(const QString& text);
    // The width and height of a text in user units (absolute values).
    double TextWidth(const QString& text) const;
    double TextHeight(const QString& text) const;

    // Vector copy: while a painter is set, every drawing operation is also painted onto it as
    // vector shapes (a dot as a 3 x 3 square, lines, boxes, circles, text) at origin + the
    // pixel coordinates of this surface, cut to the surface's rectangle; Cls() paints the
    // back colour over that rectangle. The draw modes Invert and MergePen act on pixels, so
    // the copy draws as Copy. Null stops the copy; the painter must outlive its use.
    void SetVectorCopy(QPainter* painter, QPointF origin);

    const QImage& image() const { return image_; }
    // The packed colour of a pixel (for tests); at a ratio above 1, of the image pixel at its
    // centre.
    int32_t pixelColor(int px, int py) const;
    // Grows by one on every change, so a view knows when to repaint.
    uint64_t revision() const { return revision_; }

  private:
    void setupPainter(class QPainter& painter, int32_t color) const;
    bool hasPixels() const { return hasPixels_; }
    // The first image pixel of a pixel along either axis (and the end of the one before).
    int devicePixel(int pixel) const { return static_cast<int>(std::lround(pixel * ratio_)); }
    // Fills the pixels x0..x1 by y0..y1 (inclusive, already inside the surface) of the image.
    void fillPixels(int x0, int y0, int x1, int y1, QRgb rgb);
    int32_t colorOr(int32_t color) const { return color < 0 ? ForeColor : color; }
    // The vector painter set up for a shape in the colour (no brush), or null without a copy.
    QPainter* vectorPainter(int32_t color) const;
    // A line between two pixel points, cut to the surface, onto the vector painter.
    void vectorLine(QPointF a, QPointF b) const;

    QImage image_;
    // The size the drawing maps to: the image's, but for a surface without pixels.
    int pixelWidth_ = 1;
    int pixelHeight_ = 1;
    double ratio_ = 1;
    bool hasPixels_ = true;
    double left_ = 0;
    double top_ = 0;
    double width_ = 1;
    double height_ = 1;
    uint64_t revision_ = 0;
    QPainter* vector_ = nullptr;
    QPointF vectorOrigin_;
};

}  // namespace sabrix
