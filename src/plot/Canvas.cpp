// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/Canvas.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "core/SabrixError.h"

namespace sabrix {

namespace {

// Cuts the segment a-b to the rectangle 0..w by 0..h (Liang and Barsky's parametric test).
// Returns false when no part of it lies inside.
bool ClipToRect(QPointF& a, QPointF& b, double w, double h) {
    const double dx = b.x() - a.x();
    const double dy = b.y() - a.y();
    double t0 = 0;
    double t1 = 1;
    const double p[] = {-dx, dx, -dy, dy};
    const double q[] = {a.x(), w - a.x(), a.y(), h - a.y()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1) return false;
    }
    const QPointF start = a;
    a = QPointF(start.x() + t0 * dx, start.y() + t0 * dy);
    b = QPointF(start.x() + t1 * dx, start.y() + t1 * dy);
    return true;
}

}  // namespace

QColor ToQColor(int32_t packed) {
    const auto v = static_cast<uint32_t>(packed);
    return QColor(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF),
                  static_cast<int>((v >> 16) & 0xFF));
}

int32_t FromQColor(const QColor& color) {
    return color.red() + 256 * color.green() + 65536 * color.blue();
}

Canvas::Canvas(int pixelWidth, int pixelHeight) {
    Font = QFont(QStringLiteral("DejaVu Sans"), 8);
    resize(pixelWidth, pixelHeight);
}

void Canvas::resize(int pixelWidth, int pixelHeight, double ratio) {
    if (!(ratio > 0) || !std::isfinite(ratio)) ratio = 1;
    pixelWidth = std::max(1, pixelWidth);
    pixelHeight = std::max(1, pixelHeight);
    QImage image(std::max(1, static_cast<int>(std::lround(pixelWidth * ratio))),
                 std::max(1, static_cast<int>(std::lround(pixelHeight * ratio))),
                 QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    drawInto(std::move(image));
    // The size asked, not one taken back from the rounded image.
    pixelWidth_ = pixelWidth;
    pixelHeight_ = pixelHeight;
}

void Canvas::resizeWithoutPixels(int pixelWidth, int pixelHeight) {
    image_ = QImage(1, 1, QImage::Format_RGB32);
    ratio_ = 1;
    hasPixels_ = false;
    pixelWidth_ = std::max(1, pixelWidth);
    pixelHeight_ = std::max(1, pixelHeight);
    Cls();
}

void Canvas::drawInto(QImage view) {
    image_ = std::move(view);
    ratio_ = image_.devicePixelRatio();
    hasPixels_ = true;
    pixelWidth_ = std::max(1, static_cast<int>(std::lround(image_.width() / ratio_)));
    pixelHeight_ = std::max(1, static_cast<int>(std::lround(image_.height() / ratio_)));
    Cls();
}

[[gnu::noinline]] void Canvas::fillPixels(int x0, int y0, int x1, int y1, QRgb rgb) {
    const int right = std::min(devicePixel(x1 + 1), image_.width());
    const int bottom = std::min(devicePixel(y1 + 1), image_.height());
    const int left = devicePixel(x0);
    for (int yy = devicePixel(y0); yy < bottom; ++yy) {
        auto* row = reinterpret_cast<QRgb*>(image_.scanLine(yy));
        for (int xx = left; xx < right; ++xx) row[xx] = rgb;
    }
}

void Canvas::SetUserScale(double left, double top, double width, double height) {
    if (width == 0 || height == 0 || !std::isfinite(width) || !std::isfinite(height) ||
        !std::isfinite(left) || !std::isfinite(top))
        throw SabrixError("Invalid property value");
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
}

QPointF Canvas::toPixel(double x, double y) const {
    return QPointF((x - left_) * pixelWidth_ / width_, (y - top_) * pixelHeight_ / height_);
}

void Canvas::SetVectorCopy(QPainter* painter, QPointF origin) {
    vector_ = painter;
    vectorOrigin_ = origin;
}

QPainter* Canvas::vectorPainter(int32_t color) const {
    if (vector_ == nullptr) return nullptr;
    vector_->setTransform(QTransform::fromTranslate(vectorOrigin_.x(), vectorOrigin_.y()));
    QPen pen(ToQColor(color));
    pen.setWidth(DrawWidth);
    pen.setCapStyle(Qt::SquareCap);
    vector_->setPen(pen);
    vector_->setBrush(Qt::NoBrush);
    return vector_;
}

void Canvas::vectorLine(QPointF a, QPointF b) const {
    // Cut half a pixel inside the edges: the pen's square cap reaches to the edge itself.
    a -= QPointF(0.5, 0.5);
    b -= QPointF(0.5, 0.5);
    if (!ClipToRect(a, b, pixelWidth_ - 1, pixelHeight_ - 1)) return;
    vector_->drawLine(a + QPointF(0.5, 0.5), b + QPointF(0.5, 0.5));
}

void Canvas::Cls() {
    image_.fill(ToQColor(BackColor));
    if (QPainter* v = vectorPainter(BackColor))
        v->fillRect(QRectF(0, 0, pixelWidth_, pixelHeight_), ToQColor(BackColor));
    CurrentX = left_;
    CurrentY = top_;
    ++revision_;
}

void Canvas::setupPainter(QPainter& painter, int32_t color) const {
    switch (Mode) {
        case DrawMode::Copy:
            break;
        case DrawMode::Invert:
            painter.setCompositionMode(QPainter::RasterOp_NotDestination);
            break;
        case DrawMode::MergePen:
            painter.setCompositionMode(QPainter::RasterOp_SourceOrDestination);
            break;
    }
    QPen pen(ToQColor(color));
    pen.setWidth(DrawWidth);
    pen.setCapStyle(Qt::SquareCap);
    painter.setPen(pen);
}

void Canvas::Line(double x1, double y1, double x2, double y2, int32_t color) {
    QPainter painter(&image_);
    setupPainter(painter, colorOr(color));
    const QPointF a = toPixel(x1, y1);
    const QPointF b = toPixel(x2, y2);
    // Pixel centres: a line at user x lands on the pixel column that contains x.
    const QPointF from(std::floor(a.x()) + 0.5, std::floor(a.y()) + 0.5);
    const QPointF to(std::floor(b.x()) + 0.5, std::floor(b.y()) + 0.5);
    painter.drawLine(from, to);
    if (vectorPainter(colorOr(color))) vectorLine(from, to);
    ++revision_;
}

void Canvas::Lines(const std::vector<Segment>& segments) {
    if (segments.empty()) return;
    QPainter painter(&image_);
    int32_t color = colorOr(segments.front().color);
    setupPainter(painter, color);
    // Runs of one colour go to the painter together; the order of the lines is kept.
    std::vector<QLineF> run;
    run.reserve(std::min<size_t>(segments.size(), 4096));
    const auto flush = [&] {
        if (!run.empty()) painter.drawLines(run.data(), static_cast<int>(run.size()));
        if (!run.empty() && vectorPainter(color))
            for (const QLineF& line : run) vectorLine(line.p1(), line.p2());
        run.clear();
    };
    for (const Segment& s : segments) {
        if (colorOr(s.color) != color) {
            flush();
            color = colorOr(s.color);
            QPen pen = painter.pen();
            pen.setColor(ToQColor(color));
            painter.setPen(pen);
        }
        const QPointF a = toPixel(s.x1, s.y1);
        const QPointF b = toPixel(s.x2, s.y2);
        run.emplace_back(QPointF(std::floor(a.x()) + 0.5, std::floor(a.y()) + 0.5),
                         QPointF(std::floor(b.x()) + 0.5, std::floor(b.y()) + 0.5));
        if (run.size() == 4096) flush();
    }
    flush();
    ++revision_;
}

void Canvas::Box(double x1, double y1, double x2, double y2, int32_t color) {
    QPainter painter(&image_);
    setupPainter(painter, colorOr(color));
    QPointF a = toPixel(x1, y1);
    QPointF b = toPixel(x2, y2);
    QRectF rect(
        QPointF(std::floor(std::min(a.x(), b.x())) + 0.5, std::floor(std::min(a.y(), b.y())) + 0.5),
        QPointF(std::floor(std::max(a.x(), b.x())) + 0.5,
                std::floor(std::max(a.y(), b.y())) + 0.5));
    painter.drawRect(rect);
    if (vectorPainter(colorOr(color))) {
        vectorLine(rect.topLeft(), rect.topRight());
        vectorLine(rect.topRight(), rect.bottomRight());
        vectorLine(rect.bottomRight(), rect.bottomLeft());
        vectorLine(rect.bottomLeft(), rect.topLeft());
    }
    ++revision_;
}

void Canvas::Circle(double x, double y, double radius, int32_t color) {
    const double r = std::abs(radius * pixelWidth_ / width_);
    if (r <= 1.5 && Mode == DrawMode::Copy && FillSolid && FillColor == colorOr(color)) {
        Dot(x, y, colorOr(color));
        return;
    }
    QPainter painter(&image_);
    setupPainter(painter, colorOr(color));
    if (FillSolid) painter.setBrush(ToQColor(FillColor));
    const QPointF c = toPixel(x, y);
    const QPointF centre(std::floor(c.x()) + 0.5, std::floor(c.y()) + 0.5);
    painter.drawEllipse(centre, r, r);
    // A circle wholly outside the surface is left out of the copy; one across its edge is
    // drawn whole.
    const QRectF bounds(centre.x() - r, centre.y() - r, 2 * r, 2 * r);
    if (QPainter* v = vectorPainter(colorOr(color));
        v && bounds.intersects(QRectF(0, 0, pixelWidth_, pixelHeight_))) {
        if (FillSolid) v->setBrush(ToQColor(FillColor));
        v->drawEllipse(centre, r, r);
    }
    ++revision_;
}

void Canvas::Dot(double x, double y, int32_t color) {
    const double px = (x - left_) * pixelWidth_ / width_;
    const double py = (y - top_) * pixelHeight_ / height_;
    if (!(px > -2 && py > -2 && px < pixelWidth_ + 1 && py < pixelHeight_ + 1)) return;
    const int cx = static_cast<int>(std::floor(px));
    const int cy = static_cast<int>(std::floor(py));
    const auto v = static_cast<uint32_t>(color);
    const QRgb rgb = qRgb(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF),
                          static_cast<int>((v >> 16) & 0xFF));
    const int w = image_.width();
    const int h = image_.height();
    // A surface without pixels has a single one, which no dot of it may reach.
    if (ratio_ != 1) {
        if (hasPixels())
            fillPixels(std::max(cx - 1, 0), std::max(cy - 1, 0), std::min(cx + 1, pixelWidth_ - 1),
                       std::min(cy + 1, pixelHeight_ - 1), rgb);
    } else {
        for (int yy = cy - 1; yy <= cy + 1 && hasPixels(); ++yy) {
            if (yy < 0 || yy >= h) continue;
            auto* row = reinterpret_cast<QRgb*>(image_.scanLine(yy));
            for (int xx = cx - 1; xx <= cx + 1; ++xx)
                if (xx >= 0 && xx < w) row[xx] = rgb;
        }
    }
    if (QPainter* v = vectorPainter(color)) {
        const QRectF square =
            QRectF(cx - 1, cy - 1, 3, 3).intersected(QRectF(0, 0, pixelWidth_, pixelHeight_));
        if (!square.isEmpty()) v->fillRect(square, ToQColor(color));
    }
    ++revision_;
}

void Canvas::VerticalLine(double x, double y1, double y2, int32_t color) {
    const double px = (x - left_) * pixelWidth_ / width_;
    double py1 = (y1 - top_) * pixelHeight_ / height_;
    double py2 = (y2 - top_) * pixelHeight_ / height_;
    if (!(px >= 0 && px < pixelWidth_) || !std::isfinite(py1) || !std::isfinite(py2)) return;
    if (py1 > py2) std::swap(py1, py2);
    const int h = pixelHeight_;
    // Clamped in double first: a point far outside the surface must not overflow an int. The
    // ends are whole pixels away from a dot's centre, so round-off must not cut a pixel off.
    constexpr double kRoundOff = 1e-7;
    const auto pixelRow = [h](double p) {
        return static_cast<int>(
            std::floor(std::clamp(p + kRoundOff, -1.0, static_cast<double>(h))));
    };
    const int first = pixelRow(py1);
    const int last = pixelRow(py2);
    const int cx = static_cast<int>(std::floor(px));
    const auto v = static_cast<uint32_t>(color);
    const QRgb rgb = qRgb(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF),
                          static_cast<int>((v >> 16) & 0xFF));
    const int top = std::max(first, 0);
    const int bottom = std::min(last, h - 1);
    if (hasPixels() && ratio_ != 1 && top <= bottom)
        fillPixels(cx, top, cx, bottom, rgb);
    else if (hasPixels())
        for (int yy = top; yy <= bottom; ++yy)
            reinterpret_cast<QRgb*>(image_.scanLine(yy))[cx] = rgb;
    if (QPainter* v = vectorPainter(color); v && top <= bottom)
        v->fillRect(QRectF(cx, top, 1, bottom - top + 1), ToQColor(color));
    ++revision_;
}

void Canvas::Print(const QString& text) {
    {
        QPainter painter(&image_);
        setupPainter(painter, ForeColor);
        painter.setFont(Font);
        const QPointF p = toPixel(CurrentX, CurrentY);
        QFontMetricsF metrics(Font, &image_);
        const QPointF baseline(p.x(), p.y() + metrics.ascent());
        painter.drawText(baseline, text);
        if (QPainter* v = vectorPainter(ForeColor)) {
            v->setFont(Font);
            v->drawText(baseline, text);
        }
    }
    CurrentY += TextHeight(text) * (height_ < 0 ? -1 : 1);
    CurrentX = left_;
    ++revision_;
}

double Canvas::TextWidth(const QString& text) const {
    QFontMetricsF metrics(Font, &image_);
    return std::abs(metrics.horizontalAdvance(text) * width_ / pixelWidth_);
}

double Canvas::TextHeight(const QString&) const {
    QFontMetricsF metrics(Font, &image_);
    return std::abs(metrics.height() * height_ / pixelHeight_);
}

int32_t Canvas::pixelColor(int px, int py) const {
    if (ratio_ != 1)
        return FromQColor(QColor(image_.pixel(static_cast<int>((px + 0.5) * ratio_),
                                              static_cast<int>((py + 0.5) * ratio_))));
    return FromQColor(QColor(image_.pixel(px, py)));
}

}  // namespace sabrix
