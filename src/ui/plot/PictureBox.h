// SPDX-License-Identifier: GPL-3.0-or-later
// The widget that shows a Canvas: the plot surface and the two scale strips of the main
// window. It keeps the canvas as large as itself, at the screen's device pixels (and says so
// through resized(), since a resized canvas is blank), hands mouse events on in the canvas's user
// coordinates, draws a dragged rubber-band rectangle over the picture without touching the canvas,
// and carries the cursor of the active tool.
//
// Mouse codes: button 1 left, 2 right, 4 middle (for a move, the sum of the buttons held);
// shift 1 Shift, 2 Ctrl, 4 Alt, summed.
#pragma once

#include <QRectF>
#include <QString>
#include <QWidget>
#include <optional>

#include "plot/Canvas.h"

namespace sabrix {

class PictureBox : public QWidget {
    Q_OBJECT

  public:
    explicit PictureBox(QWidget* parent = nullptr);

    // The canvas shown. Changes to it appear on the next pass of the event loop.
    Canvas& canvas() { return canvas_; }
    const Canvas& canvas() const { return canvas_; }

    // Sets the cursor by its name: "XHairs", "Magnify1", "MagZoom", "JDZoom2" or "Normal01".
    // Returns false for another name and leaves the cursor unchanged.
    bool setToolCursor(const QString& name);
    // The name of the tool cursor in use; empty when none was set.
    const QString& toolCursorName() const { return cursorName_; }

    // Shows a rubber-band rectangle between two corners given in user coordinates, until
    // clearRubberBand().
    void setRubberBand(double x1, double y1, double x2, double y2);
    void clearRubberBand();
    // The rubber band shown, in user coordinates; nothing when none.
    std::optional<QRectF> rubberBand() const { return band_; }

    // Schedules a repaint when the canvas changed since it was last painted.
    void syncWithCanvas();
    // Resizes the canvas to the widget's size and device pixel ratio at once (a hidden widget gets
    // no resize event until it is shown, and what is drawn before that must not be lost then).
    // Emits resized() when the size changed; returns whether it did.
    bool fitCanvas();

  signals:
    // The canvas has been resized to the widget and is blank.
    void resized();
    void mouseDown(int button, int shift, double x, double y);
    void mouseMove(int button, int shift, double x, double y);
    void mouseUp(int button, int shift, double x, double y);
    // The wheel turned by angleDelta eighths of a degree (120 a notch; forward positive) with
    // the pointer at (x, y).
    void wheelTurned(int angleDelta, int shift, double x, double y);

  protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

  private:
    void emitMouse(QMouseEvent* event, int buttons,
                   void (PictureBox::*signal)(int, int, double, double));

    Canvas canvas_;
    uint64_t paintedRevision_ = ~uint64_t{0};
    QString cursorName_;
    std::optional<QRectF> band_;
};

// Mouse codes of Qt's buttons and modifiers, as PictureBox sends them.
int MouseButtonCode(Qt::MouseButtons buttons);
int ShiftCode(Qt::KeyboardModifiers modifiers);

}  // namespace sabrix
