// SPDX-License-Identifier: GPL-3.0-or-later
// The per-user runtime folder (XDG_RUNTIME_DIR) that Qt keeps its session files in and that
// the program's hand-off socket lives in. Outside a desktop session (as root, under a service,
// in a container) the variable is missing: Qt then warns on every start and falls back on
// TMP/runtime-USER. The program sets that same folder itself, made private, before Qt starts.
#pragma once

#include <string>

namespace sabrix {

// The runtime folder for a user: tempDir + "/runtime-" + userName.
std::string FallbackRuntimeFolder(const std::string& tempDir, const std::string& userName);

// Returns XDG_RUNTIME_DIR when it is set and not empty. Otherwise creates (when missing) the
// fallback folder under TMPDIR (else /tmp) for the running user, makes it readable by that user
// alone, sets XDG_RUNTIME_DIR to it and returns it. Returns "" and leaves the variable unset
// when that folder cannot be made, is not a folder (a link, say) or belongs to another user.
// Call before any Qt application object exists.
std::string EnsureRuntimeFolder();

}  // namespace sabrix
