// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/plot/PictureBox.h"

#include <QAbstractEventDispatcher>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QWheelEvent>
#include <array>

#include "ui/core/QtResources.h"

namespace sabrix {

namespace {

struct CursorImage {
    const char* name;
    int hotX;
    int hotY;
};

// Hot spots in the 32 x 32 cursor images: the centre of the cross-hair, lens and arrows, and
// the tip of the plain arrow.
constexpr std::array<CursorImage, 5> kCursors = {{
    {"XHairs", 15, 15},
    {"Magnify1", 12, 12},
    {"MagZoom", 15, 15},
    {"JDZoom2", 15, 15},
    {"Normal01", 1, 1},
}};

}  // namespace

int MouseButtonCode(Qt::MouseButtons buttons) {
    int code = 0;
    if (buttons & Qt::LeftButton) code |= 1;
    if (buttons & Qt::RightButton) code |= 2;
    if (buttons & Qt::MiddleButton) code |= 4;
    return code;
}

int ShiftCode(Qt::KeyboardModifiers modifiers) {
    int code = 0;
    if (modifiers & Qt::ShiftModifier) code |= 1;
    if (modifiers & Qt::ControlModifier) code |= 2;
    if (modifiers & Qt::AltModifier) code |= 4;
    return code;
}

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {
    LoadResources();
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    // Drawing code changes the canvas without telling anyone; the event loop checks it each
    // time it wakes and before it sleeps, which also covers long loops that yield.
    if (auto* dispatcher = QAbstractEventDispatcher::instance()) {
        connect(dispatcher, &QAbstractEventDispatcher::awake, this, &PictureBox::syncWithCanvas);
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this,
                &PictureBox::syncWithCanvas);
    }
}

bool PictureBox::setToolCursor(const QString& name) {
    for (const CursorImage& c : kCursors) {
        if (name != QLatin1String(c.name)) continue;
        const QPixmap pixmap(QStringLiteral(":/cursors/") + name + QStringLiteral(".png"));
        if (pixmap.isNull()) return false;
        setCursor(QCursor(pixmap, c.hotX, c.hotY));
        cursorName_ = name;
        return true;
    }
    return false;
}

void PictureBox::setRubberBand(double x1, double y1, double x2, double y2) {
    band_ = QRectF(QPointF(x1, y1), QPointF(x2, y2));
    update();
}

void PictureBox::clearRubberBand() {
    if (!band_) return;
    band_.reset();
    update();
}

void PictureBox::syncWithCanvas() {
    if (canvas_.revision() != paintedRevision_) update();
}

void PictureBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, canvas_.image());
    paintedRevision_ = canvas_.revision();
    if (!band_) return;
    const QPointF a = canvas_.toPixel(band_->left(), band_->top());
    const QPointF b = canvas_.toPixel(band_->right(), band_->bottom());
    const QRectF r = QRectF(a, b).normalized();
    // Two dash patterns offset by one dash show on black, white and everything between.
    QPen pen(Qt::white, 1, Qt::DashLine);
    painter.setPen(pen);
    painter.drawRect(r);
    pen.setColor(Qt::black);
    pen.setDashOffset(3);
    painter.setPen(pen);
    painter.drawRect(r);
}

void PictureBox::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    fitCanvas();
}

bool PictureBox::event(QEvent* event) {
    // Moved to a screen of another scale: the canvas takes that screen's pixels.
    if (event->type() == QEvent::ScreenChangeInternal) fitCanvas();
    return QWidget::event(event);
}

bool PictureBox::fitCanvas() {
    const double ratio = devicePixelRatioF();
    if (canvas_.pixelWidth() == width() && canvas_.pixelHeight() == height() &&
        canvas_.ratio() == ratio)
        return false;
    canvas_.resize(width(), height(), ratio);
    emit resized();
    return true;
}

void PictureBox::emitMouse(QMouseEvent* event, int buttons,
                           void (PictureBox::*signal)(int, int, double, double)) {
    const QPointF p = event->position();
    emit(this->*signal)(buttons, ShiftCode(event->modifiers()), canvas_.userX(p.x()),
                        canvas_.userY(p.y()));
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
    emitMouse(event, MouseButtonCode(event->button()), &PictureBox::mouseDown);
}

void PictureBox::mouseMoveEvent(QMouseEvent* event) {
    emitMouse(event, MouseButtonCode(event->buttons()), &PictureBox::mouseMove);
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event) {
    emitMouse(event, MouseButtonCode(event->button()), &PictureBox::mouseUp);
}

void PictureBox::wheelEvent(QWheelEvent* event) {
    const QPointF p = event->position();
    emit wheelTurned(event->angleDelta().y(), ShiftCode(event->modifiers()), canvas_.userX(p.x()),
                     canvas_.userY(p.y()));
    event->accept();
}

}  // namespace sabrix
