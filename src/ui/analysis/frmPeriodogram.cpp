// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/analysis/frmPeriodogram.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QVBoxLayout>
#include <cmath>

#include "analysis/FourierModel.h"
#include "plot/PlotWindow.h"

namespace sabrix {

namespace {

constexpr int kStripHeight = 25;
constexpr int kStripWidth = 45;
constexpr int kWidth = 1120;
constexpr int kHeight = 620;
// Wide enough for the six columns of the peaks at their widest texts.
constexpr int kTableWidth = 600;
// A drag shorter than this many pixels is a click, not a box.
constexpr double kLeastBoxPixels = 3;

}  // namespace

frmPeriodogram::frmPeriodogram(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmPeriodogram"));
    setWindowFlags(windowFlags() | Qt::WindowMinMaxButtonsHint);
    setWindowTitle(QStringLiteral("Period Search"));
    auto named = [](auto* widget, const char* name) {
        widget->setObjectName(QLatin1String(name));
        return widget;
    };
    auto* columns = new QHBoxLayout(this);

    // The picture and its controls.
    auto* left = new QVBoxLayout;
    lblSummary = named(new QLabel(this), "lblSummary");
    lblSummary->setWordWrap(true);
    left->addWidget(lblSummary);
    lblHeading = named(new QLabel(this), "lblHeading");
    QFont bold = lblHeading->font();
    bold.setBold(true);
    lblHeading->setFont(bold);
    left->addWidget(lblHeading);
    auto* picture = new QGridLayout;
    picture->setSpacing(1);
    picFreqScale = named(new PictureBox(this), "picFreqScale");
    picFreqScale->setFixedHeight(kStripHeight);
    picPeriodogram = named(new PictureBox(this), "picPeriodogram");
    picPeriodogram->setMinimumSize(200, 120);
    picPeriodogram->setToolTip(QStringLiteral("Drag a box to zoom in; Reset shows it whole."));
    picPowerScale = named(new PictureBox(this), "picPowerScale");
    picPowerScale->setFixedWidth(kStripWidth);
    ApplyDesignLook(picPeriodogram->canvas(), picFreqScale->canvas(), picPowerScale->canvas());
    picture->addWidget(picFreqScale, 0, 0);
    picture->addWidget(picPeriodogram, 1, 0);
    picture->addWidget(picPowerScale, 1, 1);
    left->addLayout(picture, 1);
    auto* axis = new QHBoxLayout;
    optFrequency = named(new QRadioButton(QStringLiteral("&Frequency"), this), "optFrequency");
    optPeriod = named(new QRadioButton(QStringLiteral("&Period"), this), "optPeriod");
    optFrequency->setChecked(true);
    chkWindow = named(new QCheckBox(QStringLiteral("Show &window function"), this), "chkWindow");
    chkWindow->setToolTip(QStringLiteral(
        "The periodogram of the sampling alone, in grey: a signal at f also shows at f plus "
        "and minus each of its peaks (aliases)."));
    cmdReset = named(new QPushButton(QStringLiteral("&Reset"), this), "cmdReset");
    axis->addWidget(new QLabel(QStringLiteral("Across:"), this));
    axis->addWidget(optFrequency);
    axis->addWidget(optPeriod);
    axis->addSpacing(12);
    axis->addWidget(chkWindow);
    axis->addStretch();
    axis->addWidget(cmdReset);
    left->addLayout(axis);
    auto* progress = new QHBoxLayout;
    lblProgress = named(new QLabel(this), "lblProgress");
    prgPeriod = named(new QProgressBar(this), "prgPeriod");
    prgPeriod->setRange(0, 1000);
    prgPeriod->setTextVisible(false);
    cmdCancel = named(new QPushButton(QStringLiteral("Cancel"), this), "cmdCancel");
    progress->addWidget(lblProgress, 1);
    progress->addWidget(prgPeriod, 1);
    progress->addWidget(cmdCancel);
    left->addLayout(progress);
    columns->addLayout(left, 1);

    // The peaks, the phase plot, the periods removed and the exports.
    auto* right = new QVBoxLayout;
    tblPeaks = named(new QTableWidget(0, 6, this), "tblPeaks");
    tblPeaks->setHorizontalHeaderLabels(
        {QStringLiteral("Period (d)"), QStringLiteral("Frequency (c/d)"), QStringLiteral("Power"),
         QStringLiteral("Semi-ampl."), QStringLiteral("FAP"), QStringLiteral("σ period (d)")});
    tblPeaks->horizontalHeaderItem(4)->setToolTip(
        QStringLiteral("False-alarm probability: the chance that noise alone gives a peak this "
                       "high in the range searched (one harmonic only)."));
    tblPeaks->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblPeaks->setSelectionMode(QAbstractItemView::SingleSelection);
    tblPeaks->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblPeaks->verticalHeader()->setDefaultSectionSize(20);
    tblPeaks->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    tblPeaks->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    tblPeaks->setMinimumWidth(kTableWidth);
    tblPeaks->setToolTip(QStringLiteral("Double-click a peak for its phase plot."));
    right->addWidget(new QLabel(QStringLiteral("Highest peaks:"), this));
    right->addWidget(tblPeaks, 1);
    lblNotes = named(new QLabel(this), "lblNotes");
    lblNotes->setWordWrap(true);
    right->addWidget(lblNotes);

    auto* model =
        named(new QGroupBox(QStringLiteral("Model of the chosen period"), this), "fraModel");
    auto* modelGrid = new QGridLayout(model);
    spnHarmonics = named(new QSpinBox(model), "spnHarmonics");
    spnHarmonics->setRange(1, kMaxHarmonics);
    spnHarmonics->setToolTip(QStringLiteral(
        "Harmonics of the Fourier series fitted at the period (RR Lyrae stars and Cepheids "
        "need 4 or more); also what \"Remove this period\" removes."));
    chkModel = named(new QCheckBox(QStringLiteral("&Draw the model"), model), "chkModel");
    lblModel = named(new QLabel(model), "lblModel");
    lblModel->setWordWrap(true);
    auto* harmonicsLabel = new QLabel(QStringLiteral("Har&monics"), model);
    harmonicsLabel->setBuddy(spnHarmonics);
    modelGrid->addWidget(harmonicsLabel, 0, 0);
    modelGrid->addWidget(spnHarmonics, 0, 1);
    modelGrid->addWidget(chkModel, 0, 2);
    modelGrid->addWidget(lblModel, 1, 0, 1, 3);
    right->addWidget(model);

    auto* fold = named(new QGroupBox(QStringLiteral("Phase plot"), this), "fraPhase");
    auto* foldGrid = new QGridLayout(fold);
    txtPeriod = named(new QLineEdit(fold), "txtPeriod");
    txtEpoch = named(new QLineEdit(fold), "txtEpoch");
    txtEpoch->setPlaceholderText(QStringLiteral("maximum of the model"));
    cmdPhase = named(new QPushButton(QStringLiteral("P&hase Plot"), fold), "cmdPhase");
    foldGrid->addWidget(new QLabel(QStringLiteral("Period (d)"), fold), 0, 0);
    foldGrid->addWidget(txtPeriod, 0, 1);
    foldGrid->addWidget(new QLabel(QStringLiteral("Epoch (JD)"), fold), 1, 0);
    foldGrid->addWidget(txtEpoch, 1, 1);
    foldGrid->addWidget(cmdPhase, 0, 2, 2, 1);
    right->addWidget(fold);

    auto* several = named(new QGroupBox(QStringLiteral("Several periods"), this), "fraRemoved");
    auto* severalColumn = new QVBoxLayout(several);
    auto* severalButtons = new QHBoxLayout;
    cmdRemove = named(new QPushButton(QStringLiteral("Re&move this period"), several), "cmdRemove");
    cmdRemove->setToolTip(QStringLiteral(
        "Subtracts the model of the chosen peak and searches the residuals. The table's "
        "data do not change."));
    cmdStepBack = named(new QPushButton(QStringLiteral("&Back one step"), several), "cmdStepBack");
    severalButtons->addWidget(cmdRemove);
    severalButtons->addWidget(cmdStepBack);
    severalColumn->addLayout(severalButtons);
    lstRemoved = named(new QListWidget(several), "lstRemoved");
    lstRemoved->setMaximumHeight(72);
    severalColumn->addWidget(lstRemoved);
    right->addWidget(several);

    auto* buttons = new QHBoxLayout;
    cmdExportCsv = named(new QPushButton(QStringLiteral("Export &CSV..."), this), "cmdExportCsv");
    cmdExportImage =
        named(new QPushButton(QStringLiteral("Export &Image..."), this), "cmdExportImage");
    cmdClose = named(new QPushButton(QStringLiteral("Close"), this), "cmdClose");
    buttons->addWidget(cmdExportCsv);
    buttons->addWidget(cmdExportImage);
    buttons->addStretch();
    buttons->addWidget(cmdClose);
    right->addLayout(buttons);
    columns->addLayout(right);
    resize(kWidth, kHeight);

    using Kind = PeriodogramEvent::Kind;
    connect(optFrequency, &QRadioButton::toggled, this, [this](bool on) {
        if (on) Send(Kind::FrequencyAxis);
    });
    connect(optPeriod, &QRadioButton::toggled, this, [this](bool on) {
        if (on) Send(Kind::PeriodAxis);
    });
    connect(chkWindow, &QCheckBox::toggled, this, [this](bool on) {
        PeriodogramEvent event;
        event.kind = Kind::Window;
        event.checked = on;
        Send(event);
    });
    connect(cmdReset, &QPushButton::clicked, this, [this] { Send(Kind::Reset); });
    connect(spnHarmonics, &QSpinBox::valueChanged, this, [this](int harmonics) {
        PeriodogramEvent event;
        event.kind = Kind::ModelHarmonics;
        event.harmonics = harmonics;
        Send(event);
    });
    connect(chkModel, &QCheckBox::toggled, this, [this](bool on) {
        PeriodogramEvent event;
        event.kind = Kind::ShowModel;
        event.checked = on;
        Send(event);
    });
    connect(tblPeaks, &QTableWidget::itemSelectionChanged, this, &frmPeriodogram::tblPeaks_Click);
    connect(tblPeaks, &QTableWidget::cellDoubleClicked, this,
            [this](int row, int) { tblPeaks_DblClick(row); });
    connect(cmdPhase, &QPushButton::clicked, this, &frmPeriodogram::cmdPhase_Click);
    connect(txtPeriod, &QLineEdit::returnPressed, this, &frmPeriodogram::cmdPhase_Click);
    connect(txtEpoch, &QLineEdit::returnPressed, this, &frmPeriodogram::cmdPhase_Click);
    connect(cmdRemove, &QPushButton::clicked, this, [this] { Send(Kind::Remove); });
    connect(cmdStepBack, &QPushButton::clicked, this, [this] { Send(Kind::StepBack); });
    connect(cmdExportCsv, &QPushButton::clicked, this, [this] { Send(Kind::ExportCsv); });
    connect(cmdExportImage, &QPushButton::clicked, this, [this] { Send(Kind::ExportImage); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { Send(Kind::Cancel); });
    connect(cmdClose, &QPushButton::clicked, this, [this] { Send(Kind::Close); });
    for (PictureBox* box : {picFreqScale, picPeriodogram, picPowerScale})
        connect(box, &PictureBox::resized, this, &frmPeriodogram::DrawPicture);
    connect(picPeriodogram, &PictureBox::mouseDown, this,
            &frmPeriodogram::picPeriodogram_MouseDown);
    connect(picPeriodogram, &PictureBox::mouseMove, this,
            &frmPeriodogram::picPeriodogram_MouseMove);
    connect(picPeriodogram, &PictureBox::mouseUp, this, &frmPeriodogram::picPeriodogram_MouseUp);
}

void frmPeriodogram::Apply(const PeriodogramWindowView& view) {
    applying_ = true;
    view_ = view;
    setWindowTitle(view.title);
    lblSummary->setText(view.summary);
    lblHeading->setText(view.heading);
    (view.periodAxis ? optPeriod : optFrequency)->setChecked(true);
    chkWindow->setChecked(view.windowShown);
    tblPeaks->setHorizontalHeaderItem(2, new QTableWidgetItem(view.valueCaption));
    picPowerScale->setToolTip(view.valueCaption);

    tblPeaks->setRowCount(static_cast<int>(view.peaks.size()));
    for (int row = 0; row < static_cast<int>(view.peaks.size()); ++row) {
        for (int column = 0; column < 6; ++column) {
            const QString& text = view.peaks[static_cast<size_t>(row)][static_cast<size_t>(column)];
            QTableWidgetItem* item = tblPeaks->item(row, column);
            if (!item) {
                item = new QTableWidgetItem;
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
                tblPeaks->setItem(row, column, item);
            }
            if (item->text() != text) item->setText(text);
        }
    }
    if (view.chosen >= 0 && view.chosen < tblPeaks->rowCount()) {
        if (tblPeaks->currentRow() != view.chosen || tblPeaks->selectedItems().isEmpty())
            tblPeaks->selectRow(view.chosen);
    } else {
        tblPeaks->clearSelection();
    }
    // The period field follows the chosen peak, and is left as typed otherwise.
    if (view.foldPeriod != appliedFoldPeriod_) {
        appliedFoldPeriod_ = view.foldPeriod;
        if (!view.foldPeriod.isEmpty()) txtPeriod->setText(view.foldPeriod);
    }

    lblNotes->setText(
        view.notes.empty()
            ? QString()
            : QStringList(view.notes.begin(), view.notes.end()).join(QLatin1Char('\n')));
    lblNotes->setVisible(!view.notes.empty());
    spnHarmonics->setValue(view.modelHarmonics);
    chkModel->setChecked(view.modelShown);
    lblModel->setText(view.model.isEmpty() ? QStringLiteral("Choose a peak.") : view.model);
    spnHarmonics->setEnabled(!view.computing);
    chkModel->setEnabled(!view.computing);
    lstRemoved->clear();
    for (const QString& line : view.removed) lstRemoved->addItem(line);
    cmdRemove->setEnabled(view.canRemove);
    cmdStepBack->setEnabled(view.canStepBack);
    cmdExportCsv->setEnabled(view.canExport);
    cmdExportImage->setEnabled(view.canExport);
    const bool shown = !view.computing && !view.peaks.empty();
    cmdPhase->setEnabled(!view.computing);
    tblPeaks->setEnabled(shown);
    optFrequency->setEnabled(!view.computing);
    optPeriod->setEnabled(!view.computing);
    chkWindow->setEnabled(!view.computing && view.windowAvailable);
    cmdReset->setEnabled(!view.computing);
    lblProgress->setText(view.progressCaption);
    lblProgress->setVisible(view.computing);
    prgPeriod->setVisible(view.computing);
    prgPeriod->setValue(static_cast<int>(std::lround(view.progress * 1000)));
    cmdCancel->setVisible(view.computing);
    applying_ = false;
    DrawPicture();
}

void frmPeriodogram::DrawPicture() {
    for (PictureBox* box : {picFreqScale, picPeriodogram, picPowerScale}) box->fitCanvas();
    if (view_.draw)
        view_.draw(picPeriodogram->canvas(), picFreqScale->canvas(), picPowerScale->canvas());
    for (PictureBox* box : {picFreqScale, picPeriodogram, picPowerScale}) box->syncWithCanvas();
}

void frmPeriodogram::Unload() {
    unloading_ = true;
    done(QDialog::Rejected);
    deleteLater();
}

void frmPeriodogram::Send(PeriodogramEvent::Kind kind) {
    PeriodogramEvent event;
    event.kind = kind;
    Send(event);
}

void frmPeriodogram::Send(PeriodogramEvent event) {
    if (applying_ || unloading_) return;
    if (onEvent) onEvent(event);
}

void frmPeriodogram::tblPeaks_Click() {
    const QList<QTableWidgetItem*> items = tblPeaks->selectedItems();
    PeriodogramEvent event;
    event.kind = PeriodogramEvent::Kind::ChoosePeak;
    event.peak = items.isEmpty() ? -1 : items.front()->row();
    Send(event);
}

void frmPeriodogram::tblPeaks_DblClick(int row) {
    PeriodogramEvent event;
    event.kind = PeriodogramEvent::Kind::FoldPeak;
    event.peak = row;
    event.epoch = txtEpoch->text();
    Send(event);
}

void frmPeriodogram::cmdPhase_Click() {
    PeriodogramEvent event;
    event.kind = PeriodogramEvent::Kind::Fold;
    event.period = txtPeriod->text();
    event.epoch = txtEpoch->text();
    Send(event);
}

void frmPeriodogram::picPeriodogram_MouseDown(int button, int, double x, double y) {
    if (button != 1 || view_.computing) return;
    dragging_ = true;
    dragX_ = x;
    dragY_ = y;
}

void frmPeriodogram::picPeriodogram_MouseMove(int, int, double x, double y) {
    if (dragging_) picPeriodogram->setRubberBand(dragX_, dragY_, x, y);
}

void frmPeriodogram::picPeriodogram_MouseUp(int, int, double x, double y) {
    if (!dragging_) return;
    dragging_ = false;
    picPeriodogram->clearRubberBand();
    const Canvas& c = picPeriodogram->canvas();
    const QPointF a = c.toPixel(dragX_, dragY_);
    const QPointF b = c.toPixel(x, y);
    if (std::abs(a.x() - b.x()) < kLeastBoxPixels || std::abs(a.y() - b.y()) < kLeastBoxPixels)
        return;
    PeriodogramEvent event;
    event.kind = PeriodogramEvent::Kind::ZoomBox;
    event.x1 = dragX_;
    event.y1 = dragY_;
    event.x2 = x;
    event.y2 = y;
    Send(event);
}

void frmPeriodogram::reject() {
    if (unloading_) {
        QDialog::reject();
        return;
    }
    // Escape stops a computation first; once nothing runs, it closes the window.
    Send(view_.computing ? PeriodogramEvent::Kind::Cancel : PeriodogramEvent::Kind::Close);
}

void frmPeriodogram::closeEvent(QCloseEvent* event) {
    if (unloading_) {
        QDialog::closeEvent(event);
        return;
    }
    event->ignore();
    Send(PeriodogramEvent::Kind::Close);
}

}  // namespace sabrix
