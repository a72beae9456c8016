// SPDX-License-Identifier: GPL-3.0-or-later
// The "Export Plot Image" dialog: width and height in pixels (within the export limits) and
// the format, with OK and Cancel.
#pragma once

#include "dialogs/ImageExportDialog.h"

class QWidget;

namespace sabrix {

class QtImageExportDialog : public ImageExportDialog {
  public:
    explicit QtImageExportDialog(QWidget* parent) : parent_(parent) {}
    std::optional<ImageExportChoice> ask(const ImageExportChoice& offered) override;

  private:
    QWidget* parent_;
};

}  // namespace sabrix
