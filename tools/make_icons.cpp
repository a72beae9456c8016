// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the tool button pictures, the tool cursors and the logo of Sabrix into resources/.
// Run once after changing a picture; the images are kept in the repository:
//   g++ -std=c++20 -fPIC make_icons.cpp $(pkg-config --cflags --libs Qt6Gui) -o /tmp/make_icons
//   QT_QPA_PLATFORM=offscreen /tmp/make_icons ../resources
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <cmath>
#include <functional>

namespace {

const QColor kInk(20, 30, 70);
const QColor kAccent(0, 90, 200);
const QColor kStar(230, 170, 0);

void Save(const QString& dir, const QString& name, int w, int h,
          const std::function<void(QPainter&)>& draw) {
    QImage image(w, h, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p);
    p.end();
    image.save(dir + "/" + name + ".png");
}

QPen Pen(const QColor& c, double w, Qt::PenStyle style = Qt::SolidLine) {
    QPen pen(c, w, style, Qt::RoundCap, Qt::RoundJoin);
    return pen;
}

void Triangle(QPainter& p, QPointF a, QPointF b, QPointF c, const QColor& color) {
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawPolygon(QPolygonF({a, b, c}));
}

void Lens(QPainter& p, QPointF centre, double r, const QColor& color, double w) {
    p.setBrush(QColor(255, 255, 255, 180));
    p.setPen(Pen(color, w));
    p.drawEllipse(centre, r, r);
    const double d = r / std::sqrt(2.0);
    p.setPen(Pen(color, w + 1.2));
    p.drawLine(QPointF(centre.x() + d, centre.y() + d),
               QPointF(centre.x() + d + r * 0.9, centre.y() + d + r * 0.9));
}

void StarShape(QPainter& p, QPointF c, double r, const QColor& fill, const QColor& line) {
    QPolygonF star;
    for (int i = 0; i < 10; ++i) {
        const double a = -M_PI / 2 + i * M_PI / 5;
        const double rr = i % 2 == 0 ? r : r * 0.45;
        star << QPointF(c.x() + rr * std::cos(a), c.y() + rr * std::sin(a));
    }
    p.setPen(Pen(line, 1));
    p.setBrush(fill);
    p.drawPolygon(star);
}

void DoubleArrow(QPainter& p, QPointF a, QPointF b, const QColor& color) {
    p.setPen(Pen(color, 2));
    p.drawLine(a, b);
    const QPointF d = (b - a) / std::hypot(b.x() - a.x(), b.y() - a.y());
    const QPointF n(-d.y(), d.x());
    Triangle(p, b + d * 1.5, b - d * 4.5 + n * 4, b - d * 4.5 - n * 4, color);
    Triangle(p, a - d * 1.5, a + d * 4.5 + n * 4, a + d * 4.5 - n * 4, color);
}

void Buttons(const QString& dir) {
    Save(dir, "cmdZoomBox", 24, 24, [](QPainter& p) {
        p.setPen(Pen(kInk, 1.2, Qt::DashLine));
        p.drawRect(QRectF(2.5, 2.5, 14, 11));
        Lens(p, QPointF(13, 13), 4.5, kAccent, 1.6);
        p.setPen(Pen(kAccent, 1.4));
        p.drawLine(QPointF(10.8, 13), QPointF(15.2, 13));
        p.drawLine(QPointF(13, 10.8), QPointF(13, 15.2));
    });
    Save(dir, "cmdBox", 24, 24, [](QPainter& p) {
        p.setPen(Pen(kInk, 1.2, Qt::DashLine));
        p.drawRect(QRectF(2.5, 4.5, 15, 13));
        p.setPen(Qt::NoPen);
        p.setBrush(kStar.darker(120));
        for (QPointF d : {QPointF(6, 9), QPointF(10, 13), QPointF(13, 8)})
            p.drawEllipse(d, 1.6, 1.6);
        p.setPen(Pen(kAccent, 2.4));
        p.drawLine(QPointF(14, 21), QPointF(21.5, 13.5));
        p.setPen(Pen(kInk, 1));
        p.drawLine(QPointF(12.8, 22.2), QPointF(14, 21));
    });
    Save(dir, "cmdLocate", 24, 24, [](QPainter& p) {
        p.setPen(Pen(kInk, 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(12, 12), 7, 7);
        p.drawLine(QPointF(12, 1.5), QPointF(12, 7));
        p.drawLine(QPointF(12, 17), QPointF(12, 22.5));
        p.drawLine(QPointF(1.5, 12), QPointF(7, 12));
        p.drawLine(QPointF(17, 12), QPointF(22.5, 12));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(220, 40, 40));
        p.drawEllipse(QPointF(12, 12), 2.2, 2.2);
    });
    Save(dir, "cmdMag", 24, 24, [](QPainter& p) {
        Lens(p, QPointF(9.5, 9.5), 6.5, kInk, 1.8);
        p.setPen(Pen(kAccent, 1.6));
        p.drawLine(QPointF(6.5, 9.5), QPointF(12.5, 9.5));
        p.drawLine(QPointF(9.5, 6.5), QPointF(9.5, 12.5));
    });
    Save(dir, "cmdJDZoom", 24, 24, [](QPainter& p) {
        p.setPen(Pen(kInk, 1.6));
        p.drawLine(QPointF(2, 5), QPointF(2, 19));
        p.drawLine(QPointF(22, 5), QPointF(22, 19));
        DoubleArrow(p, QPointF(5, 12), QPointF(19, 12), kAccent);
    });
    Save(dir, "cmdMagZoom", 24, 24, [](QPainter& p) {
        p.setPen(Pen(kInk, 1.6));
        p.drawLine(QPointF(5, 2), QPointF(19, 2));
        p.drawLine(QPointF(5, 22), QPointF(19, 22));
        DoubleArrow(p, QPointF(12, 5), QPointF(12, 19), kAccent);
    });
    Save(dir, "cmdBegin", 24, 24, [](QPainter& p) {
        p.setPen(Pen(kInk, 2.2));
        p.drawLine(QPointF(4, 5), QPointF(4, 19));
        Triangle(p, QPointF(6, 12), QPointF(13, 5), QPointF(13, 19), kInk);
        Triangle(p, QPointF(13, 12), QPointF(20, 5), QPointF(20, 19), kInk);
    });
    Save(dir, "cmdBack", 24, 24,
         [](QPainter& p) { Triangle(p, QPointF(6, 12), QPointF(17, 4), QPointF(17, 20), kInk); });
    Save(dir, "cmdForward", 24, 24,
         [](QPainter& p) { Triangle(p, QPointF(18, 12), QPointF(7, 4), QPointF(7, 20), kInk); });
    Save(dir, "cmdEnder", 24, 24, [](QPainter& p) {
        Triangle(p, QPointF(11, 12), QPointF(4, 5), QPointF(4, 19), kInk);
        Triangle(p, QPointF(18, 12), QPointF(11, 5), QPointF(11, 19), kInk);
        p.setPen(Pen(kInk, 2.2));
        p.drawLine(QPointF(20, 5), QPointF(20, 19));
    });
    Save(dir, "CmdDown", 24, 24, [](QPainter& p) {
        StarShape(p, QPointF(7, 7), 5.5, QColor(150, 150, 150), kInk);
        Triangle(p, QPointF(15, 21), QPointF(9, 12), QPointF(21, 12), kInk);
    });
    Save(dir, "cmdUp", 24, 24, [](QPainter& p) {
        StarShape(p, QPointF(7, 7), 5.5, kStar, kInk);
        Triangle(p, QPointF(15, 10), QPointF(9, 19), QPointF(21, 19), kInk);
    });
    Save(dir, "cmdRefresh", 24, 24, [](QPainter& p) {
        p.setPen(Pen(kAccent, 2.4));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(4, 4, 16, 16), 60 * 16, 280 * 16);
        Triangle(p, QPointF(13, 1.5), QPointF(19.5, 5.5), QPointF(13, 9.5), kAccent);
    });
    Save(dir, "cmdBin", 24, 24, [](QPainter& p) {
        p.setPen(Pen(QColor(200, 30, 30), 1.8));
        const QPointF pts[] = {{4, 15}, {10, 9}, {16, 12}, {21, 6}};
        for (int i = 0; i < 3; ++i) p.drawLine(pts[i], pts[i + 1]);
        p.setPen(Pen(kInk, 1.3));
        for (QPointF d : pts) {
            p.drawLine(QPointF(d.x(), d.y() - 3.5), QPointF(d.x(), d.y() + 3.5));
            p.drawLine(QPointF(d.x() - 1.5, d.y() - 3.5), QPointF(d.x() + 1.5, d.y() - 3.5));
            p.drawLine(QPointF(d.x() - 1.5, d.y() + 3.5), QPointF(d.x() + 1.5, d.y() + 3.5));
        }
    });
    Save(dir, "cmdPoly", 24, 24, [](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(kStar.darker(120));
        for (QPointF d : {QPointF(3, 17), QPointF(7, 8), QPointF(11, 6), QPointF(15, 12),
                          QPointF(19, 18), QPointF(21, 12)})
            p.drawEllipse(d, 1.5, 1.5);
        QPainterPath curve(QPointF(2, 20));
        curve.cubicTo(QPointF(7, 0), QPointF(14, 4), QPointF(17, 17));
        curve.quadTo(QPointF(19, 21), QPointF(22.5, 10));
        p.setPen(Pen(kAccent, 1.8));
        p.setBrush(Qt::NoBrush);
        p.drawPath(curve);
    });
}

// Cursors are drawn white with a black edge, so they show on the black plot and on the
// light scale strips alike.
void Outlined(QPainter& p, const std::function<void(QPainter&, const QPen&)>& draw) {
    draw(p, Pen(Qt::black, 3.2));
    draw(p, Pen(Qt::white, 1.4));
}

void Cursors(const QString& dir) {
    Save(dir, "XHairs", 32, 32, [](QPainter& p) {
        p.setRenderHint(QPainter::Antialiasing, false);
        Outlined(p, [](QPainter& q, const QPen& pen) {
            q.setPen(pen);
            q.drawLine(15, 2, 15, 11);
            q.drawLine(15, 19, 15, 28);
            q.drawLine(2, 15, 11, 15);
            q.drawLine(19, 15, 28, 15);
        });
    });
    Save(dir, "Magnify1", 32, 32, [](QPainter& p) {
        Outlined(p, [](QPainter& q, const QPen& pen) {
            q.setPen(pen);
            q.setBrush(Qt::NoBrush);
            q.drawEllipse(QPointF(12, 12), 8, 8);
            q.drawLine(QPointF(18, 18), QPointF(27, 27));
            q.drawLine(QPointF(8, 12), QPointF(16, 12));
            q.drawLine(QPointF(12, 8), QPointF(12, 16));
        });
    });
    Save(dir, "MagZoom", 32, 32, [](QPainter& p) {
        Outlined(p, [](QPainter& q, const QPen& pen) {
            q.setPen(pen);
            q.drawLine(QPointF(15, 3), QPointF(15, 27));
            q.drawLine(QPointF(15, 3), QPointF(10, 9));
            q.drawLine(QPointF(15, 3), QPointF(20, 9));
            q.drawLine(QPointF(15, 27), QPointF(10, 21));
            q.drawLine(QPointF(15, 27), QPointF(20, 21));
            q.drawLine(QPointF(9, 15), QPointF(21, 15));
        });
    });
    Save(dir, "JDZoom2", 32, 32, [](QPainter& p) {
        Outlined(p, [](QPainter& q, const QPen& pen) {
            q.setPen(pen);
            q.drawLine(QPointF(3, 15), QPointF(27, 15));
            q.drawLine(QPointF(3, 15), QPointF(9, 10));
            q.drawLine(QPointF(3, 15), QPointF(9, 20));
            q.drawLine(QPointF(27, 15), QPointF(21, 10));
            q.drawLine(QPointF(27, 15), QPointF(21, 20));
            q.drawLine(QPointF(15, 9), QPointF(15, 21));
        });
    });
    Save(dir, "Normal01", 32, 32, [](QPainter& p) {
        QPolygonF arrow({{1, 1}, {1, 22}, {6, 17}, {10, 26}, {13, 25}, {9, 16}, {16, 16}});
        p.setPen(Pen(Qt::black, 1.4));
        p.setBrush(Qt::white);
        p.drawPolygon(arrow);
    });
}

void Logo(const QString& dir) {
    Save(dir, "logo", 160, 120, [](QPainter& p) {
        QLinearGradient sky(0, 0, 0, 120);
        sky.setColorAt(0, QColor(10, 20, 70));
        sky.setColorAt(1, QColor(25, 60, 140));
        p.setPen(Qt::NoPen);
        p.setBrush(sky);
        p.drawRoundedRect(QRectF(1, 1, 158, 118), 14, 14);
        // A light curve: dots scattered about a periodic mean, brightest at the top.
        p.setBrush(QColor(255, 220, 60));
        for (int i = 0; i < 46; ++i) {
            const double x = 12 + i * 3.0;
            const double phase = (x - 12) / 136.0 * 2 * M_PI * 1.5;
            const double y =
                78 - 26 * std::pow(std::sin(phase / 2 + 0.3), 6.0) + ((i * 37) % 9 - 4) * 1.2;
            p.drawEllipse(QPointF(x, y), 2.1, 2.1);
        }
        p.setPen(QPen(QColor(120, 200, 255), 1.2));
        p.drawLine(QPointF(10, 100), QPointF(150, 100));
        p.drawLine(QPointF(10, 100), QPointF(10, 14));
        StarShape(p, QPointF(128, 28), 15, QColor(255, 240, 160), QColor(255, 200, 40));
    });
}

}  // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("resources");
    QDir().mkpath(dir + "/icons");
    QDir().mkpath(dir + "/cursors");
    QDir().mkpath(dir + "/images");
    Buttons(dir + "/icons");
    Cursors(dir + "/cursors");
    Logo(dir + "/images");
    return 0;
}
