#include "plot/Canvas.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "core/SabrixError.h"

namespace sabrix {

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

void Canvas::resize(int pixelWidth, int pixelHeight) {
    image_ = QImage(std::max(1, pixelWidth), std::max(1, pixelHeight), QImage::Format_RGB32);
    Cls();
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
    return QPointF((x - left_) * image_.width() / width_, (y - top_) * image_.height() / height_);
}

void Canvas::Cls() {
    image_.fill(ToQColor(BackColor));
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
    painter.drawLine(QPointF(std::floor(a.x()) + 0.5, std::floor(a.y()) + 0.5),
                     QPointF(std::floor(b.x()) + 0.5, std::floor(b.y()) + 0.5));
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
    ++revision_;
}

void Canvas::Circle(double x, double y, double radius, int32_t color) {
    const double r = std::abs(radius * image_.width() / width_);
    if (r <= 1.5 && Mode == DrawMode::Copy && FillSolid && FillColor == colorOr(color)) {
        Dot(x, y, colorOr(color));
        return;
    }
    QPainter painter(&image_);
    setupPainter(painter, colorOr(color));
    if (FillSolid) painter.setBrush(ToQColor(FillColor));
    const QPointF c = toPixel(x, y);
    painter.drawEllipse(QPointF(std::floor(c.x()) + 0.5, std::floor(c.y()) + 0.5), r, r);
    ++revision_;
}

void Canvas::Dot(double x, double y, int32_t color) {
    const double px = (x - left_) * image_.width() / width_;
    const double py = (y - top_) * image_.height() / height_;
    if (!(px > -2 && py > -2 && px < image_.width() + 1 && py < image_.height() + 1)) return;
    const int cx = static_cast<int>(std::floor(px));
    const int cy = static_cast<int>(std::floor(py));
    const auto v = static_cast<uint32_t>(color);
    const QRgb rgb = qRgb(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF),
                          static_cast<int>((v >> 16) & 0xFF));
    const int w = image_.width();
    const int h = image_.height();
    for (int yy = cy - 1; yy <= cy + 1; ++yy) {
        if (yy < 0 || yy >= h) continue;
        auto* row = reinterpret_cast<QRgb*>(image_.scanLine(yy));
        for (int xx = cx - 1; xx <= cx + 1; ++xx)
            if (xx >= 0 && xx < w) row[xx] = rgb;
    }
    ++revision_;
}

void Canvas::VerticalLine(double x, double y1, double y2, int32_t color) {
    const double px = (x - left_) * image_.width() / width_;
    double py1 = (y1 - top_) * image_.height() / height_;
    double py2 = (y2 - top_) * image_.height() / height_;
    if (!(px >= 0 && px < image_.width()) || !std::isfinite(py1) || !std::isfinite(py2)) return;
    if (py1 > py2) std::swap(py1, py2);
    const int h = image_.height();
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
    for (int yy = std::max(first, 0); yy <= std::min(last, h - 1); ++yy)
        reinterpret_cast<QRgb*>(image_.scanLine(yy))[cx] = rgb;
    ++revision_;
}

void Canvas::Print(const QString& text) {
    {
        QPainter painter(&image_);
        setupPainter(painter, ForeColor);
        painter.setFont(Font);
        const QPointF p = toPixel(CurrentX, CurrentY);
        QFontMetricsF metrics(Font, &image_);
        painter.drawText(QPointF(p.x(), p.y() + metrics.ascent()), text);
    }
    CurrentY += TextHeight(text) * (height_ < 0 ? -1 : 1);
    CurrentX = left_;
    ++revision_;
}

double Canvas::TextWidth(const QString& text) const {
    QFontMetricsF metrics(Font, &image_);
    return std::abs(metrics.horizontalAdvance(text) * width_ / image_.width());
}

double Canvas::TextHeight(const QString&) const {
    QFontMetricsF metrics(Font, &image_);
    return std::abs(metrics.height() * height_ / image_.height());
}

int32_t Canvas::pixelColor(int px, int py) const {
    return FromQColor(QColor(image_.pixel(px, py)));
}

}  // namespace sabrix
