// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialogs/QtImageExportDialog.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFont>
#include <QFontMetrics>
#include <QFormLayout>
#include <QSpinBox>
#include <algorithm>

namespace sabrix {

namespace {

QSpinBox* SideBox(QWidget* parent, const char* name, int value) {
    auto* box = new QSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setRange(kPlotImageMinSide, kPlotImageMaxSide);
    box->setSuffix(QStringLiteral(" px"));
    box->setValue(std::clamp(value, kPlotImageMinSide, kPlotImageMaxSide));
    return box;
}

// The room a window manager's title bar takes besides the title: the window's icon, three
// buttons and the paddings between them.
constexpr int kTitleBarFurniture = 140;

// A width at which the title bar shows the whole title. The form alone is narrower than its
// title, and a window manager then cuts the title in the middle ("Export...Image"). Title
// bars set their text in bold, at about the size of the application's font.
int TitleFittingWidth(const QWidget& window) {
    QFont bold = window.font();
    bold.setBold(true);
    return QFontMetrics(bold).horizontalAdvance(window.windowTitle()) + kTitleBarFurniture;
}

}  // namespace

std::optional<ImageExportChoice> QtImageExportDialog::ask(const ImageExportChoice& offered) {
    QDialog dialog(parent_);
    dialog.setObjectName(QStringLiteral("frmExport"));
    dialog.setWindowTitle(QStringLiteral("Export Plot Image"));
    dialog.setMinimumWidth(TitleFittingWidth(dialog));
    auto* form = new QFormLayout(&dialog);
    QSpinBox* width = SideBox(&dialog, "txtWidth", offered.width);
    QSpinBox* height = SideBox(&dialog, "txtHeight", offered.height);
    auto* format = new QComboBox(&dialog);
    format->setObjectName(QStringLiteral("cboFormat"));
    format->addItem(QStringLiteral("PNG picture"), static_cast<int>(PlotImageFormat::Png));
    format->addItem(QStringLiteral("SVG drawing"), static_cast<int>(PlotImageFormat::Svg));
    format->addItem(QStringLiteral("PDF document"), static_cast<int>(PlotImageFormat::Pdf));
    format->setCurrentIndex(format->findData(static_cast<int>(offered.format)));
    form->addRow(QStringLiteral("Width:"), width);
    form->addRow(QStringLiteral("Height:"), height);
    form->addRow(QStringLiteral("Format:"), format);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    form->addRow(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return ImageExportChoice{width->value(), height->value(),
                             static_cast<PlotImageFormat>(format->currentData().toInt())};
}

}  // namespace sabrix
