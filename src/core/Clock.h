// SPDX-License-Identifier: GPL-3.0-or-later
// The source of the current date and time, injectable so that dated output can be tested.
#pragma once

#include <QDateTime>

namespace sabrix {

class Clock {
  public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};

class SystemClock : public Clock {
  public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

}  // namespace sabrix
