// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/core/QtResources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE names a function in the global namespace.
static void RegisterSabrixResources() {
    Q_INIT_RESOURCE(sabrix);
}

namespace sabrix {

void LoadResources() {
    static const bool loaded = (RegisterSabrixResources(), true);
    (void)loaded;
}

}  // namespace sabrix
