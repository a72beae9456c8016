#include "interaction/frmSelect.h"

#include <QCloseEvent>
#include <QColor>
#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "interaction/ObserverMarking.h"

namespace sabrix {

namespace {

// 8985 by 4200 twips with the palette hidden, 6075 with it shown.
constexpr int kWidth = 599;
constexpr int kHeight = 280;
constexpr int kHeightWithPalette = 405;

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
    setWindowTitle(QStringLiteral("Select Records"));
    auto* column = new QVBoxLayout(this);
    auto named = [this](auto* widget, const char* name) {
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

    lstRecords = named(new QListWidget(this), "lstRecords");
    lstRecords->setFont(Courier(8.25));
    lstRecords->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lstRecords->setUniformItemSizes(true);
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

    connect(lstRecords, &QListWidget::itemSelectionChanged, this, &frmSelect::lstRecords_Click);
    connect(cmdLog, &QPushButton::clicked, this, &frmSelect::cmdLog_Click);
    connect(cmdMark, &QPushButton::clicked, this, &frmSelect::cmdMark_Click);
    connect(cmdDelete, &QPushButton::clicked, this, &frmSelect::cmdDelete_Click);
    connect(cmdEdit, &QPushButton::clicked, this, &frmSelect::cmdEdit_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmSelect::cmdClose_Click);
    connect(cmdMoreColors, &QPushButton::clicked, this, &frmSelect::cmdMoreColors_Click);
}

void frmSelect::Apply(const RecordListView& view) {
    applying_ = true;
    Label3->setText(view.heading);
    bool same = lstRecords->count() == static_cast<int>(view.lines.size());
    for (int i = 0; same && i < lstRecords->count(); ++i)
        same = lstRecords->item(i)->text() == view.lines[static_cast<size_t>(i)];
    if (!same) {
        lstRecords->clear();
        QStringList lines;
        lines.reserve(static_cast<qsizetype>(view.lines.size()));
        for (const QString& line : view.lines) lines.append(line);
        lstRecords->addItems(lines);
    }
    std::vector<bool> chosen(view.lines.size(), false);
    for (const int line : view.chosen) chosen[static_cast<size_t>(line)] = true;
    for (int i = 0; i < lstRecords->count(); ++i) {
        QListWidgetItem* item = lstRecords->item(i);
        if (item->isSelected() != chosen[static_cast<size_t>(i)])
            item->setSelected(chosen[static_cast<size_t>(i)]);
    }
    cmdEdit->setEnabled(view.editEnabled);
    cmdMark->setEnabled(view.markEnabled);
    Label2->setText(view.colorPrompt);
    for (QPushButton* square : cmd0) square->setEnabled(view.paletteShown);
    cmdMoreColors->setEnabled(view.paletteShown);
    if (fraPalette->isVisible() != view.paletteShown || !isVisible()) {
        fraPalette->setVisible(view.paletteShown);
        resize(width(), view.paletteShown ? kHeightWithPalette : kHeight);
    }
    applying_ = false;
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
    for (int i = 0; i < lstRecords->count(); ++i)
        if (lstRecords->item(i)->isSelected()) event.lines.push_back(i);
    event.current = lstRecords->currentRow();
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

void frmSelect::cmdEdit_Click() {
    Send(RecordListEvent::Kind::Edit);
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
