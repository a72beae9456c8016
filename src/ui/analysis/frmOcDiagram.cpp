// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/analysis/frmOcDiagram.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <cmath>

#include "plot/PlotWindow.h"

namespace sabrix {

namespace {
constexpr int kStripHeight = 25;
constexpr int kStripWidth = 60;
constexpr double kLeastBoxPixels = 3;
}  // namespace

frmOcDiagram::frmOcDiagram(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmOcDiagram"));
    setWindowTitle(QStringLiteral("O-C Diagram"));
    resize(900, 600);
    auto* layout = new QVBoxLayout(this);
    auto* fields = new QHBoxLayout;
    const auto field = [&](const QString& caption, const char* name) {
        auto* label = new QLabel(caption, this);
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QLatin1String(name));
        label->setBuddy(edit);
        fields->addWidget(label);
        fields->addWidget(edit, 1);
        return edit;
    };
    txtEpoch = field(QStringLiteral("&Epoch T0 (JD)"), "txtEpoch");
    txtPeriod = field(QStringLiteral("&Period P (d)"), "txtPeriod");
    cmdApply = new QPushButton(QStringLiteral("&Apply"), this);
    cmdApply->setObjectName(QStringLiteral("cmdApply"));
    fields->addWidget(cmdApply);
    layout->addLayout(fields);
    auto* options = new QHBoxLayout;
    chkQuadratic = new QCheckBox(QStringLiteral("&Quadratic fit (period change)"), this);
    chkQuadratic->setObjectName(QStringLiteral("chkQuadratic"));
    optZoom = new QRadioButton(QStringLiteral("Box &zooms"), this);
    optZoom->setObjectName(QStringLiteral("optZoom"));
    optOmit = new QRadioButton(QStringLiteral("Box &leaves points out"), this);
    optOmit->setObjectName(QStringLiteral("optOmit"));
    optZoom->setChecked(true);
    options->addWidget(chkQuadratic);
    options->addStretch(1);
    options->addWidget(optZoom);
    options->addWidget(optOmit);
    layout->addLayout(options);
    auto* picture = new QGridLayout;
    picture->setSpacing(1);
    picCycleScale = new PictureBox(this);
    picCycleScale->setObjectName(QStringLiteral("picCycleScale"));
    picCycleScale->setFixedHeight(kStripHeight);
    picOC = new PictureBox(this);
    picOC->setObjectName(QStringLiteral("picOC"));
    picOC->setMinimumSize(200, 120);
    picOC->setToolTip(
        QStringLiteral("Cycle E across, O - C (days) up. Drag a box to zoom in, "
                       "or to leave the points inside out of the fits."));
    picOCScale = new PictureBox(this);
    picOCScale->setObjectName(QStringLiteral("picOCScale"));
    picOCScale->setFixedWidth(kStripWidth);
    ApplyDesignLook(picOC->canvas(), picCycleScale->canvas(), picOCScale->canvas());
    picture->addWidget(picCycleScale, 0, 0);
    picture->addWidget(picOC, 1, 0);
    picture->addWidget(picOCScale, 1, 1);
    layout->addLayout(picture, 1);
    lblFit = new QLabel(this);
    lblFit->setObjectName(QStringLiteral("lblFit"));
    lblFit->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(lblFit);
    auto* buttons = new QHBoxLayout;
    const auto button = [&](const QString& text, const char* name) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        buttons->addWidget(b);
        return b;
    };
    cmdReset = button(QStringLiteral("&Reset"), "cmdReset");
    cmdExportCsv = button(QStringLiteral("Export &CSV..."), "cmdExportCsv");
    cmdExportImage = button(QStringLiteral("Export P&icture..."), "cmdExportImage");
    buttons->addStretch(1);
    cmdClose = button(QStringLiteral("Close"), "cmdClose");
    layout->addLayout(buttons);

    using Kind = OcEvent::Kind;
    const auto apply = [this] {
        OcEvent event;
        event.kind = Kind::Apply;
        event.epoch = txtEpoch->text();
        event.period = txtPeriod->text();
        Send(event);
    };
    connect(cmdApply, &QPushButton::clicked, this, apply);
    connect(txtEpoch, &QLineEdit::returnPressed, this, apply);
    connect(txtPeriod, &QLineEdit::returnPressed, this, apply);
    connect(chkQuadratic, &QCheckBox::toggled, this, [this](bool on) {
        OcEvent event;
        event.kind = Kind::Quadratic;
        event.checked = on;
        Send(event);
    });
    connect(optOmit, &QRadioButton::toggled, this, [this](bool on) {
        OcEvent event;
        event.kind = Kind::Selecting;
        event.checked = on;
        Send(event);
    });
    connect(cmdReset, &QPushButton::clicked, this, [this] { Send(Kind::Reset); });
    connect(cmdExportCsv, &QPushButton::clicked, this, [this] { Send(Kind::ExportCsv); });
    connect(cmdExportImage, &QPushButton::clicked, this, [this] { Send(Kind::ExportImage); });
    connect(cmdClose, &QPushButton::clicked, this, [this] { Send(Kind::Close); });
    for (PictureBox* box : {picCycleScale, picOC, picOCScale})
        connect(box, &PictureBox::resized, this, &frmOcDiagram::DrawPicture);
    connect(picOC, &PictureBox::mouseDown, this, [this](int button, int, double x, double y) {
        if (button != 1) return;
        dragging_ = true;
        dragX_ = x;
        dragY_ = y;
    });
    connect(picOC, &PictureBox::mouseMove, this, [this](int, int, double x, double y) {
        if (dragging_) picOC->setRubberBand(dragX_, dragY_, x, y);
    });
    connect(picOC, &PictureBox::mouseUp, this, [this](int, int, double x, double y) {
        if (!dragging_) return;
        dragging_ = false;
        picOC->clearRubberBand();
        const Canvas& c = picOC->canvas();
        const QPointF a = c.toPixel(dragX_, dragY_);
        const QPointF b = c.toPixel(x, y);
        if (std::abs(a.x() - b.x()) < kLeastBoxPixels || std::abs(a.y() - b.y()) < kLeastBoxPixels)
            return;
        OcEvent event;
        event.kind = Kind::Box;
        event.x1 = dragX_;
        event.y1 = dragY_;
        event.x2 = x;
        event.y2 = y;
        Send(event);
    });
}

void frmOcDiagram::Apply(const OcWindowView& view) {
    applying_ = true;
    view_ = view;
    setWindowTitle(view.title);
    if (!txtEpoch->hasFocus()) txtEpoch->setText(view.epoch);
    if (!txtPeriod->hasFocus()) txtPeriod->setText(view.period);
    chkQuadratic->setChecked(view.quadratic);
    (view.selecting ? optOmit : optZoom)->setChecked(true);
    QString fit;
    for (const QString& line : view.fitLines)
        fit += (fit.isEmpty() ? QString() : QStringLiteral("\n")) + line;
    lblFit->setText(fit);
    applying_ = false;
    DrawPicture();
}

void frmOcDiagram::DrawPicture() {
    for (PictureBox* box : {picCycleScale, picOC, picOCScale}) box->fitCanvas();
    if (view_.draw) view_.draw(picOC->canvas(), picCycleScale->canvas(), picOCScale->canvas());
    for (PictureBox* box : {picCycleScale, picOC, picOCScale}) box->syncWithCanvas();
}

void frmOcDiagram::Unload() {
    unloading_ = true;
    done(QDialog::Rejected);
    deleteLater();
}

void frmOcDiagram::Send(OcEvent::Kind kind) {
    OcEvent event;
    event.kind = kind;
    Send(event);
}

void frmOcDiagram::Send(OcEvent event) {
    if (applying_ || unloading_ || !onEvent) return;
    onEvent(event);
}

void frmOcDiagram::reject() {
    if (unloading_) {
        QDialog::reject();
        return;
    }
    Send(OcEvent::Kind::Close);
}

void frmOcDiagram::closeEvent(QCloseEvent* event) {
    if (unloading_) {
        QDialog::closeEvent(event);
        return;
    }
    event->ignore();
    Send(OcEvent::Kind::Close);
}

}  // namespace sabrix
