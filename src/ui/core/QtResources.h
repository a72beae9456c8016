// SPDX-License-Identifier: GPL-3.0-or-later
// The pictures compiled into the program (button pictures, cursors, logo). They live in a
// static library, so they must be registered explicitly before the first use.
#pragma once

namespace sabrix {

// Registers the compiled-in pictures; later calls do nothing.
void LoadResources();

}  // namespace sabrix
