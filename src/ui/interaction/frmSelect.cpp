// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/interaction/frmSelect.h"

#include <QCloseEvent>
#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QVBoxLayout>
#include <algorithm>

#include "interaction/ObserverMarking.h"

namespace sabrix {

namespace {

// 8985 by 4200 twips: a list of about a dozen lines.
constexpr int kWidth = 599;
constexpr int kHeight = 330;

QFont Courier(double points) {
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSizeF(points);
    return font;
}

QString ColorStyle(int32_t packed) {
    const QColor color(packed & 0xff, (packed >> 8) & 0xff, (packed >> 16) & 0xff);
    return QStringLiteral("background-color: %1; border: 1px solid #404040;").arg(color.name());
}

}  // namespace

frmSelect::frmSelect(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmSelect"));
    setWindowTitle(QStringLiteral("Select Observation to Log or Mark"));
    auto* column = new QVBoxLayout(this);
    auto named = [](auto* widget, const char* name) {
        widget->setObjectName(QLatin1String(name));
        return widget;
    };
    Label1 = named(new QLabel(QStringLiteral("Select a Record:"), this), "Label1");
    Label3 = named(new QLabel(this), "Label3");
    Label3->setFont(Courier(9.75));
    auto* heading = new QHBoxLayout;
    heading->addWidget(Label1);
    heading->addStretch();
    heading->addWidget(Label3);
    column->addLayout(heading);

    lstRecords = named(new QTableView(this), "lstRecords");
    model_ = new RecordListModel(lstRecords);
    lstRecords->setModel(model_);
    lstRecords->setFont(Courier(8.25));
    lstRecords->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lstRecords->setSelectionBehavior(QAbstractItemView::SelectRows);
    lstRecords->setShowGrid(false);
    lstRecords->setWordWrap(false);
    lstRecords->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstRecords->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    // Every line as high as one line of text: the view places a million lines by arithmetic.
    QHeaderView* lineNumbers = lstRecords->verticalHeader();
    lineNumbers->hide();
    lineNumbers->setSectionResizeMode(QHeaderView::Fixed);
    lineNumbers->setDefaultSectionSize(QFontMetrics(lstRecords->font()).height() + 2);
    QHeaderView* fieldNames = lstRecords->horizontalHeader();
    fieldNames->setFont(Courier(8.25));
    fieldNames->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    fieldNames->setHighlightSections(false);
    fieldNames->setStretchLastSection(true);
    column->addWidget(lstRecords, 1);

    auto* actions = new QHBoxLayout;
    Frame1 = named(new QGroupBox(QStringLiteral("Selected Record:"), this), "Frame1");
    auto* frame = new QHBoxLayout(Frame1);
    const auto button = [&](const char* caption, const char* name, QBoxLayout* into) {
        auto* b = named(new QPushButton(QLatin1String(caption), this), name);
        into->addWidget(b);
        return b;
    };
    cmdLog = button("Log to File", "cmdLog", frame);
    cmdMark = button("Mark Observer", "cmdMark", frame);
    cmdDelete = button("Delete Record", "cmdDelete", frame);
    cmdEdit = button("Edit Record", "cmdEdit", frame);
    auto* discrepant = new QVBoxLayout;
    discrepant->setSpacing(2);
    frame->addLayout(discrepant);
    cmdDiscrepant = button("Mark Discrepant", "cmdDiscrepant", discrepant);
    cmdClearDiscrepant = button("Clear Discrepant", "cmdClearDiscrepant", discrepant);
    actions->addWidget(Frame1, 1);
    cmdClose = button("Close", "cmdClose", actions);
    column->addLayout(actions);

    fraPalette = named(new QWidget(this), "fraPalette");
    auto* palette = new QGridLayout(fraPalette);
    Label2 = named(new QLabel(fraPalette), "Label2");
    palette->addWidget(Label2, 0, 0, 1, 9);
    for (int i = 0; i < 16; ++i) {
        auto* square = new QPushButton(fraPalette);
        square->setObjectName(QStringLiteral("cmd0_%1").arg(i));
        square->setFixedSize(17, 17);
        square->setStyleSheet(ColorStyle(kMarkPalette[static_cast<size_t>(i)]));
        square->setEnabled(false);
        palette->addWidget(square, 1 + i / 8, i % 8);
        connect(square, &QPushButton::clicked, this, [this, i] { cmd0_Click(i); });
        cmd0[static_cast<size_t>(i)] = square;
    }
    cmdMoreColors =
        named(new QPushButton(QStringLiteral("More Colors"), fraPalette), "cmdMoreColors");
    cmdMoreColors->setEnabled(false);
    palette->addWidget(cmdMoreColors, 1, 8, 2, 1);
    palette->setColumnStretch(9, 1);
    fraPalette->hide();
    column->addWidget(fraPalette);
    resize(kWidth, kHeight);

    connect(lstRecords->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &frmSelect::lstRecords_Click);
    lstRecords->installEventFilter(this);
    connect(cmdLog, &QPushButton::clicked, this, &frmSelect::cmdLog_Click);
    connect(cmdMark, &QPushButton::clicked, this, &frmSelect::cmdMark_Click);
    connect(cmdDelete, &QPushButton::clicked, this, &frmSelect::cmdDelete_Click);
    connect(cmdEdit, &QPushButton::clicked, this, &frmSelect::cmdEdit_Click);
    connect(cmdDiscrepant, &QPushButton::clicked, this, &frmSelect::cmdDiscrepant_Click);
    connect(cmdClearDiscrepant, &QPushButton::clicked, this, &frmSelect::cmdClearDiscrepant_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmSelect::cmdClose_Click);
    connect(cmdMoreColors, &QPushButton::clicked, this, &frmSelect::cmdMoreColors_Click);
}

void frmSelect::Apply(const RecordListView& view) {
    applying_ = true;
    Label3->setText(view.heading);
    if (model_->Show(view)) {
        // As wide as the widest line of the first screenful, so the list scrolls sideways.
        const int sample = std::min(model_->rowCount(), 64);
        int widest =
            QFontMetrics(lstRecords->font()).horizontalAdvance(RecordListHeader(view.threeColumn));
        for (int i = 0; i < sample; ++i)
            widest = std::max(widest,
                              QFontMetrics(lstRecords->font())
                                  .horizontalAdvance(model_->data(model_->index(i, 0)).toString()));
        lstRecords->horizontalHeader()->resizeSection(0, widest + 12);
    }
    if (SelectedRanges() != view.chosen) {
        QItemSelection selection;
        for (const LineRange& r : view.chosen)
            selection.select(model_->index(r.first, 0), model_->index(r.last, 0));
        lstRecords->selectionModel()->select(
            selection, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    cmdEdit->setEnabled(view.editEnabled);
    cmdDiscrepant->setEnabled(view.editEnabled);
    cmdClearDiscrepant->setEnabled(view.editEnabled);
    cmdMark->setEnabled(view.markEnabled);
    Label2->setText(view.colorPrompt);
    for (QPushButton* square : cmd0) square->setEnabled(view.paletteShown);
    cmdMoreColors->setEnabled(view.paletteShown);
    fraPalette->setVisible(view.paletteShown);
    applying_ = false;
}

int frmSelect::LineCount() const {
    return model_->rowCount();
}

QString frmSelect::LineText(int line) const {
    return model_->data(model_->index(line, 0)).toString();
}

void frmSelect::ClickLine(int line) {
    lstRecords->setCurrentIndex(model_->index(line, 0));
    lstRecords->selectionModel()->select(
        model_->index(line, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

std::vector<LineRange> frmSelect::SelectedRanges() const {
    std::vector<LineRange> ranges;
    for (const QItemSelectionRange& r : lstRecords->selectionModel()->selection())
        ranges.push_back({r.top(), r.bottom()});
    return MergedRanges(std::move(ranges));
}

void frmSelect::Unload() {
    unloading_ = true;
    done(QDialog::Rejected);
    deleteLater();
}

void frmSelect::Send(RecordListEvent::Kind kind, int colorIndex) {
    RecordListEvent event;
    event.kind = kind;
    event.colorIndex = colorIndex;
    if (onEvent) onEvent(event);
}

void frmSelect::lstRecords_Click() {
    if (applying_ || unloading_) return;
    RecordListEvent event;
    event.kind = RecordListEvent::Kind::Choose;
    event.ranges = SelectedRanges();
    event.current = lstRecords->currentIndex().row();
    if (onEvent) onEvent(event);
}

void frmSelect::cmdLog_Click() {
    Send(RecordListEvent::Kind::Log);
}

void frmSelect::cmdMark_Click() {
    Send(RecordListEvent::Kind::Mark);
}

void frmSelect::cmdDelete_Click() {
    Send(RecordListEvent::Kind::Delete);
}

bool frmSelect::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lstRecords && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete && cmdDelete->isEnabled()) {
        cmdDelete_Click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void frmSelect::cmdEdit_Click() {
    Send(RecordListEvent::Kind::Edit);
}

void frmSelect::cmdDiscrepant_Click() {
    Send(RecordListEvent::Kind::Discrepant);
}

void frmSelect::cmdClearDiscrepant_Click() {
    Send(RecordListEvent::Kind::ClearDiscrepant);
}

void frmSelect::cmdClose_Click() {
    Send(RecordListEvent::Kind::Close);
}

void frmSelect::cmd0_Click(int index) {
    Send(RecordListEvent::Kind::Color, index);
}

void frmSelect::cmdMoreColors_Click() {
    Send(RecordListEvent::Kind::MoreColors);
}

void frmSelect::reject() {
    if (unloading_) {
        QDialog::reject();
        return;
    }
    Send(RecordListEvent::Kind::Dismiss);
}

void frmSelect::closeEvent(QCloseEvent* event) {
    if (unloading_) {
        QDialog::closeEvent(event);
        return;
    }
    // The command layer decides; it unloads the window when it lets it go.
    event->ignore();
    Send(RecordListEvent::Kind::Dismiss);
}

}  // namespace sabrix
