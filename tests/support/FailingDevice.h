// SPDX-License-Identifier: GPL-3.0-or-later
// A write-only device that accepts a given number of bytes and then refuses every write, as
// a full disk would. What it accepted is kept in written().
#pragma once

#include <QIODevice>
#include <string>

namespace sabrix::test {

class FailingDevice : public QIODevice {
  public:
    explicit FailingDevice(qint64 acceptBytes) : left_(acceptBytes) { open(QIODevice::WriteOnly); }
    const std::string& written() const { return written_; }

  protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override {
        if (left_ <= 0) {
            setErrorString("No space left on device");
            return -1;
        }
        const qint64 n = size < left_ ? size : left_;
        written_.append(data, static_cast<size_t>(n));
        left_ -= n;
        return n;
    }

  private:
    qint64 left_;
    std::string written_;
};

}  // namespace sabrix::test
