// SPDX-License-Identifier: GPL-3.0-or-later
// A desktop opener for tests: records every address it is handed and answers with a result
// the test chooses; it never starts a program.
#pragma once

#include <QUrl>
#include <vector>

#include "core/DesktopOpener.h"

namespace sabrix::test {

class RecordingOpener : public DesktopOpener {
  public:
    Result open(const QUrl& url) override {
        opened.push_back(url);
        return result;
    }
    Result result = Result::Opened;
    std::vector<QUrl> opened;
};

}  // namespace sabrix::test
