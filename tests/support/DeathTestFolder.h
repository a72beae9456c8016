// SPDX-License-Identifier: GPL-3.0-or-later
// A temporary folder that a death test's child shares with its parent. With the "threadsafe"
// style the child runs the test again from its start in a new process; it finds the parent's
// folder through the environment instead of making a folder of its own, so that what it
// leaves behind when it dies is where the parent looks.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>

#include "support/TestEnvironment.h"

namespace sabrix::test {

class DeathTestFolder {
  public:
    DeathTestFolder() {
        if (const char* inherited = std::getenv(kVariable)) {
            path_ = inherited;
            return;
        }
        dir_.emplace(false);
        path_ = dir_->path();
        setenv(kVariable, path_.c_str(), 1);
    }
    ~DeathTestFolder() {
        if (dir_) unsetenv(kVariable);
    }
    DeathTestFolder(const DeathTestFolder&) = delete;
    DeathTestFolder& operator=(const DeathTestFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

  private:
    static constexpr const char* kVariable = "SABRIX_DEATH_TEST_FOLDER";
    std::optional<TempProgramDir> dir_;
    std::string path_;
};

}  // namespace sabrix::test
