// SPDX-License-Identifier: GPL-3.0-or-later
// Names that carry the id of the process that made them: "sabrix-4711-Ab3xYz". The scratch
// folders of command-line runs and the temporary files of the checked writer are named so,
// and a later run can then tell what a killed process left behind from what a running one
// still uses, and remove the leftovers.
#pragma once

#include <sys/types.h>

#include <functional>
#include <string>
#include <string_view>

namespace sabrix {

// The start of this process's tags: "sabrix-" + the process id + "-". Six ASCII letters or
// digits complete a tag.
std::string ProcessTagStart();

// The process id of a tag "sabrix-<pid>-XXXXXX" (the whole text; six ASCII letters or digits
// at its end). Returns 0 when the text is no tag.
pid_t TaggedProcess(std::string_view tag);

enum class LeftoverKind { Folder, File };

// Removes every entry directly in folder that is of that kind (a link counts as neither),
// belongs to this user, and whose tag names a process other than this one that no longer runs.
// tagOf gives the tag within an entry's name (an empty view when the name carries none).
// Entries of running processes, of other users and without a tag are left alone. Returns the
// number removed; never throws.
int RemoveLeftoversOfEndedProcesses(const std::string& folder, LeftoverKind kind,
                                    const std::function<std::string_view(std::string_view)>& tagOf);

}  // namespace sabrix
