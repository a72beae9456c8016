// SPDX-License-Identifier: GPL-3.0-or-later
// The question before "Export Plot Image": the picture's size and format. The command layer
// asks through this interface (the window's QtImageExportDialog; a script in the tests) and
// decides everything else itself.
#pragma once

#include <optional>

#include "plot/PlotImageFile.h"

namespace sabrix {

struct ImageExportChoice {
    int width = 0;
    int height = 0;
    PlotImageFormat format = PlotImageFormat::Png;
    bool operator==(const ImageExportChoice&) const = default;
};

class ImageExportDialog {
  public:
    virtual ~ImageExportDialog() = default;
    // Shows the dialog with the offered choice filled in (sizes within the limits of
    // PlotImageSizeAllowed). Returns the user's choice, or nothing on cancel.
    virtual std::optional<ImageExportChoice> ask(const ImageExportChoice& offered) = 0;
};

}  // namespace sabrix
