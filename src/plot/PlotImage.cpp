#include "plot/PlotImage.h"

#include <QFont>
#include <QPainter>
#include <algorithm>
#include <exception>

#include "core/ErrorText.h"
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
constexpr int kMagScaleGap = 1;
const QColor kWindowColor(240, 240, 240);

}  // namespace

PlotAreaLayout LayOutPlotArea(int width, int height) {
    PlotAreaLayout l;
    const int stripTop = kLabelTop + kLabelToStrip;
    const int viewTop = stripTop + kStrip;
    const int viewWidth = std::max(1, width - kLeftMargin - kMagScaleGap - kStrip - kRightMargin);
    const int viewHeight = std::max(1, height - viewTop - kBottomMargin);
    l.label = QRect(kLabelLeft, kLabelTop, viewWidth, kLabelHeight);
    l.jdScale = QRect(kLeftMargin, stripTop, viewWidth, kStrip);
    l.view = QRect(kLeftMargin, viewTop, viewWidth, viewHeight);
    l.magScale = QRect(kLeftMargin + viewWidth + kMagScaleGap, viewTop, kStrip, viewHeight);
    return l;
}

QImage RenderPlotArea(const AppState& state, const ObsTable& table, int width, int height,
                      PlotOutcome* outcome) {
    width = std::max(1, width);
    height = std::max(1, height);
    const PlotAreaLayout layout = LayOutPlotArea(width, height);
    Canvas picView(layout.view.width(), layout.view.height());
    Canvas picJDScale(layout.jdScale.width(), layout.jdScale.height());
    Canvas picMagScale(layout.magScale.width(), layout.magScale.height());
    ApplyDesignLook(picView, picJDScale, picMagScale);

    QString scalerMessage;
    try {
        Scaler(state.view, picView, picJDScale, picMagScale);
    } catch (const std::exception& e) {
        if (!ScalerErrorIsSilent(state.view))
            scalerMessage = ModuleErrorText(QString::fromUtf8(e.what()), "Scaler");
    }
    PlotOutcome result = Plotter(state, table, picView, picJDScale, picMagScale, {});
    if (!scalerMessage.isEmpty())
        result.errorMessages.insert(result.errorMessages.begin(), scalerMessage);

    QImage image(width, height, QImage::Format_RGB32);
    image.fill(kWindowColor);
    {
        QPainter painter(&image);
        painter.drawImage(layout.jdScale.topLeft(), picJDScale.image());
        painter.drawImage(layout.view.topLeft(), picView.image());
        painter.drawImage(layout.magScale.topLeft(), picMagScale.image());
        if (result.starLabel) {
            QFont font(QStringLiteral("DejaVu Sans"));
            font.setPixelSize(13);
            font.setBold(true);
            painter.setFont(font);
            painter.setPen(Qt::black);
            const QString text = painter.fontMetrics().elidedText(
                *result.starLabel, Qt::ElideMiddle, layout.label.width());
            painter.drawText(layout.label, Qt::AlignLeft | Qt::AlignTop, text);
        }
    }
    if (outcome != nullptr) *outcome = std::move(result);
    return image;
}

}  // namespace sabrix
