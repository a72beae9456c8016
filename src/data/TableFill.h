// SPDX-License-Identifier: GPL-3.0-or-later
// Writing the rows of a load into the empty table Obs behind its plot. Two threads of the
// fill's own do it: one takes the rows from their source (a star file read again) and hands
// them on in batches, the other writes them over a connection of its own, in one transaction.
// Neither touches anything of the thread that started the fill: the source owns its file and
// its copies, the count of rows written and the cancel flag are atomics, and the outcome is
// read after the end of the threads.
//
// A fill is started with the count and the digest (PlotColumns::Digest) of the plotted columns
// drawn from the same file, and compares its rows with them before it commits: rows that differ
// (the file changed between the two reads) are rolled back as a failure, so the table never
// holds rows that disagree with the plot.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "core/SabrixError.h"
#include "data/ObsRow.h"

namespace SQLite {
class Database;
}

namespace sabrix {

class TableFill {
  public:
    // What a source gives its rows to, on the reading thread.
    class RowSink {
      public:
        virtual ~RowSink() = default;
        // Takes a copy of the row; the fill numbers it (1, 2, 3, ... in the order given).
        // Throws, to end the source, once the fill has been cancelled or has failed: a source
        // lets that exception pass.
        virtual void add(const ObsRow& row) = 0;
        // True once the fill has been cancelled or has failed. A source asks it in every loop
        // that can run long without giving a row (lines passed over, for instance).
        virtual bool stopped() const = 0;
    };
    // Gives the rows, in order, to the sink. Failures are thrown: a RowError for a row that
    // cannot be given, any other std::exception for anything else.
    using RowSource = std::function<void(RowSink& sink)>;

    // A row that the source cannot give: its JD as written, and why.
    class RowError : public SabrixError {
      public:
        RowError(std::string jd, const std::string& description)
            : SabrixError(description), jd_(std::move(jd)) {}
        const std::string& jd() const { return jd_; }

      private:
        std::string jd_;
    };

    struct Outcome {
        enum class State { Done, Failed, Cancelled };
        State state = State::Failed;
        int64_t rowsWritten = 0;
        // Failed: the JD of the row at fault (the one the database or the source refused;
        // empty when no single row was at fault) and the description of the failure.
        std::string failedJD;
        std::string description;
    };

    // Starts the threads that write the rows of source into the table Obs of the database at
    // path, which must be empty. expectedRows and expectedDigest describe the plotted columns
    // the rows must match. Throws std::system_error when a thread cannot be started.
    TableFill(std::string path, RowSource source, int64_t expectedRows, uint64_t expectedDigest);
    // Cancels the fill and waits for its threads.
    ~TableFill();
    TableFill(const TableFill&) = delete;
    TableFill& operator=(const TableFill&) = delete;

    // The threads have ended (their outcome is ready).
    bool Finished() const { return finished_.load(std::memory_order_acquire); }
    // Rows written so far (batch by batch).
    int64_t RowsWritten() const { return written_.load(std::memory_order_relaxed); }
    // Asks both threads to stop within a few rows; does not wait.
    void Cancel();
    // Waits for the threads to end; returns the outcome. Done: the rows are committed;
    // otherwise the table is as it was. Never throws.
    Outcome Wait();

  private:
    struct Batch {
        std::vector<ObsRow> rows;
        size_t used = 0;
    };
    class Sink;

    void run();
    void read();
    // The reader takes a free batch, waiting for one; throws once the fill has stopped.
    Batch* nextFree();
    // The reader hands on a batch to be written.
    void hand(Batch* batch);
    // Writes the batches as they come until the reader has ended; throws on a refused row.
    void write(SQLite::Database& db, Outcome& outcome);
    void stop();

    const std::string path_;
    const RowSource source_;
    const int64_t expectedRows_;
    const uint64_t expectedDigest_;

    std::atomic<bool> cancel_{false};
    // Set on a cancel or a failure of either thread: both stop at their next check.
    std::atomic<bool> stop_{false};
    std::atomic<bool> finished_{false};
    std::atomic<int64_t> written_{0};

    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Batch> batches_;
    // Guarded by mutex_: the batches ready to be written and those free to be filled, and what
    // the reader hands over when it ends.
    std::deque<Batch*> full_;
    std::deque<Batch*> free_;
    bool readerDone_ = false;
    int64_t rowsRead_ = 0;
    uint64_t digest_ = 0;
    std::exception_ptr readerFailure_;

    // Written by the writing thread before finished_.
    Outcome outcome_;
    std::thread thread_;
};

}  // namespace sabrix
