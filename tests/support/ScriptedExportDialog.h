// SPDX-License-Identifier: GPL-3.0-or-later
// The picture export dialog, answered from a script: each ask takes the next answer (nothing
// is Cancel); an ask with no answer left fails the test.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <vector>

#include "dialogs/ImageExportDialog.h"

namespace sabrix::test {

class ScriptedExportDialog : public ImageExportDialog {
  public:
    std::optional<ImageExportChoice> ask(const ImageExportChoice& offered) override {
        this->offered.push_back(offered);
        EXPECT_FALSE(answers.empty());
        if (answers.empty()) return std::nullopt;
        const auto answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::vector<ImageExportChoice> offered;
    std::deque<std::optional<ImageExportChoice>> answers;
};

}  // namespace sabrix::test
