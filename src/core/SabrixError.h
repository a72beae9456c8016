// SPDX-License-Identifier: GPL-3.0-or-later
// The exception that the program's own logic throws; its description is shown to the user
// inside the "Error ... encountered in module ..." message of the command that caught it.
#pragma once

#include <stdexcept>
#include <string>

namespace sabrix {

class SabrixError : public std::runtime_error {
  public:
    explicit SabrixError(const std::string& description) : std::runtime_error(description) {}
};

}  // namespace sabrix
