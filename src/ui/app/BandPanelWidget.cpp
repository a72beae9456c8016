// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/app/BandPanelWidget.h"

#include <QColor>
#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QMetaObject>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace sabrix {

namespace {

QColor PackedColor(int32_t packed) {
    return QColor(packed & 0xff, (packed >> 8) & 0xff, (packed >> 16) & 0xff);
}

// A dot of the colour on the plot's black, as the points are drawn.
QIcon Swatch(int32_t packed) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::black);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(PackedColor(packed));
    painter.drawEllipse(QRectF(3, 3, 10, 10));
    return QIcon(pixmap);
}

}  // namespace

BandPanelWidget::BandPanelWidget(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("BandPanel"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    lstBands_ = new QListWidget(this);
    lstBands_->setObjectName(QStringLiteral("lstBands"));
    lstBands_->setToolTip(
        QStringLiteral("Tick to show, untick to hide; double-click: only this band"));
    // A narrow panel shortens the middle of a line, so its count stays in sight; the whole
    // line is in the item's tooltip.
    lstBands_->setTextElideMode(Qt::ElideMiddle);
    layout->addWidget(lstBands_);
    cmdAllBands_ = new QPushButton(QStringLiteral("All bands"), this);
    cmdAllBands_->setObjectName(QStringLiteral("cmdAllBands"));
    layout->addWidget(cmdAllBands_);

    connect(lstBands_, &QListWidget::itemChanged, this, &BandPanelWidget::itemChanged);
    // The lines are reported once the list's own handling of the click is over: what the
    // window does with them rebuilds the list, items included.
    connect(lstBands_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        const int line = lstBands_->row(item);
        QMetaObject::invokeMethod(
            this, [this, line] { emit lineDoubleClicked(line); }, Qt::QueuedConnection);
    });
    connect(cmdAllBands_, &QPushButton::clicked, this, &BandPanelWidget::allBandsClicked);
}

void BandPanelWidget::setLines(const std::vector<BandLine>& lines) {
    if (lines == lines_ && showsLines()) return;
    lines_ = lines;
    filling_ = true;
    lstBands_->clear();
    for (const BandLine& line : lines_) {
        const QString text =
            line.label + QStringLiteral("  (") + QString::number(line.count) + u')';
        auto* item = new QListWidgetItem(Swatch(line.color), text, lstBands_);
        item->setToolTip(text + u'\n' + lstBands_->toolTip());
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        item->setCheckState(line.shown ? Qt::Checked : Qt::Unchecked);
        // The kinds of observation are set off from the bands.
        if (line.kind != BandLine::Kind::Band) {
            QFont font = item->font();
            font.setItalic(true);
            item->setFont(font);
        }
    }
    filling_ = false;
}

bool BandPanelWidget::showsLines() const {
    // A click that the commands refused leaves its check box as the user set it.
    if (lstBands_->count() != static_cast<int>(lines_.size())) return false;
    for (int i = 0; i < lstBands_->count(); ++i)
        if ((lstBands_->item(i)->checkState() == Qt::Checked) !=
            lines_[static_cast<size_t>(i)].shown)
            return false;
    return true;
}

void BandPanelWidget::itemChanged(QListWidgetItem* item) {
    if (filling_) return;
    const int line = lstBands_->row(item);
    if (line < 0 || line >= static_cast<int>(lines_.size())) return;
    const bool shown = item->checkState() == Qt::Checked;
    if (shown == lines_[static_cast<size_t>(line)].shown) return;
    QMetaObject::invokeMethod(
        this, [this, line, shown] { emit lineChecked(line, shown); }, Qt::QueuedConnection);
}

}  // namespace sabrix
