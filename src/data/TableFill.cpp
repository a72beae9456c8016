// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/TableFill.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Exception.h>
#include <sqlite3.h>

#include "core/NumberText.h"
#include "data/ObsColumns.h"
#include "data/PlotColumns.h"

namespace sabrix {

namespace {

// Enough rows a batch that handing one over costs nothing beside writing it, and few batches,
// so the reader stays only a little ahead of the writer.
constexpr size_t kBatchRows = 1024;
constexpr size_t kBatches = 4;
// Rows bound to one INSERT: one statement for several rows costs less than one for each.
constexpr int kRowsPerInsert = 64;
constexpr int kParametersPerRow = 31;

bool IsFileFailure(int code) {
    code &= 0xff;  // the primary code of an extended one
    return code == SQLITE_IOERR || code == SQLITE_FULL || code == SQLITE_CANTOPEN ||
           code == SQLITE_READONLY || code == SQLITE_NOLFS;
}

// Ends a source from inside RowSink::add once the fill has stopped.
struct Stopped : std::exception {
    const char* what() const noexcept override { return "The fill was stopped."; }
};

}  // namespace

class TableFill::Sink final : public RowSink {
  public:
    explicit Sink(TableFill& fill) : fill_(fill) {}

    void add(const ObsRow& row) override {
        if (stopped()) throw Stopped();
        if (batch_ == nullptr) batch_ = fill_.nextFree();
        ObsRow& slot = batch_->rows[batch_->used++];
        // Assigning into a row of a batch reuses its strings: a fill allocates little.
        slot = row;
        slot.ID = ++count_;
        digest_ += PlotColumns::DigestOf(slot, slot.ID);
        if (batch_->used == batch_->rows.size()) finish();
    }
    bool stopped() const override { return fill_.stop_.load(std::memory_order_relaxed); }

    // Hands on the rows not yet handed on.
    void finish() {
        if (batch_ != nullptr) fill_.hand(batch_);
        batch_ = nullptr;
    }
    int64_t count() const { return count_; }
    uint64_t digest() const { return digest_; }

  private:
    TableFill& fill_;
    Batch* batch_ = nullptr;
    int64_t count_ = 0;
    uint64_t digest_ = 0;
};

TableFill::TableFill(std::string path, RowSource source, int64_t expectedRows,
                     uint64_t expectedDigest)
    : path_(std::move(path)),
      source_(std::move(source)),
      expectedRows_(expectedRows),
      expectedDigest_(expectedDigest),
      batches_(kBatches) {
    for (Batch& batch : batches_) {
        batch.rows.resize(kBatchRows);
        free_.push_back(&batch);
    }
    thread_ = std::thread([this] { run(); });
}

TableFill::~TableFill() {
    Cancel();
    Wait();
}

void TableFill::Cancel() {
    cancel_.store(true, std::memory_order_relaxed);
    stop();
}

void TableFill::stop() {
    {
        // Under the lock, so that a thread about to wait cannot miss it.
        std::lock_guard lock(mutex_);
        stop_.store(true, std::memory_order_relaxed);
    }
    changed_.notify_all();
}

TableFill::Outcome TableFill::Wait() {
    if (thread_.joinable()) thread_.join();
    return outcome_;
}

TableFill::Batch* TableFill::nextFree() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return !free_.empty() || stop_.load(std::memory_order_relaxed); });
    if (stop_.load(std::memory_order_relaxed)) throw Stopped();
    Batch* batch = free_.front();
    free_.pop_front();
    batch->used = 0;
    return batch;
}

void TableFill::hand(Batch* batch) {
    {
        std::lock_guard lock(mutex_);
        full_.push_back(batch);
    }
    changed_.notify_all();
}

void TableFill::read() {
    Sink sink(*this);
    std::exception_ptr failure;
    try {
        source_(sink);
        sink.finish();
    } catch (const Stopped&) {
        // A cancel, or the writer failed: the writer says which.
    } catch (...) {
        failure = std::current_exception();
    }
    {
        std::lock_guard lock(mutex_);
        readerDone_ = true;
        rowsRead_ = sink.count();
        digest_ = sink.digest();
        readerFailure_ = failure;
        // The rows handed on cannot be committed now: the writer need not write them.
        if (failure) stop_.store(true, std::memory_order_relaxed);
    }
    changed_.notify_all();
}

void TableFill::write(SQLite::Database& db, Outcome& outcome) {
    ObsStatement one(db, ObsInsertSql(1));
    ObsStatement many(db, ObsInsertSql(kRowsPerInsert));
    const auto insertOne = [&](const ObsRow& row) {
        // No ID: the empty table numbers its rows 1, 2, 3, ... as they come, which costs less
        // than checking given ones (the numbers are checked once, before the commit).
        one.bindNull(1);
        BindObsRow(one, row, 2);
        try {
            one.exec();
        } catch (const std::exception&) {
            outcome.failedJD = FormatDouble(row.JD);
            throw;
        }
    };
    for (;;) {
        Batch* batch = nullptr;
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [this] {
                return !full_.empty() || readerDone_ || stop_.load(std::memory_order_relaxed);
            });
            if (stop_.load(std::memory_order_relaxed) || full_.empty()) return;
            batch = full_.front();
            full_.pop_front();
        }
        size_t i = 0;
        while (i < batch->used) {
            if (cancel_.load(std::memory_order_relaxed)) return;
            if (batch->used - i < static_cast<size_t>(kRowsPerInsert)) {
                insertOne(batch->rows[i++]);
                continue;
            }
            for (int k = 0; k < kRowsPerInsert; ++k) {
                const ObsRow& row = batch->rows[i + static_cast<size_t>(k)];
                many.bindNull(k * kParametersPerRow + 1);
                BindObsRow(many, row, k * kParametersPerRow + 2);
            }
            try {
                many.exec();
            } catch (const std::exception&) {
                // The statement stored none of its rows: one by one, the refused row is found.
                for (int k = 0; k < kRowsPerInsert; ++k)
                    insertOne(batch->rows[i + static_cast<size_t>(k)]);
            }
            i += kRowsPerInsert;
        }
        written_.fetch_add(static_cast<int64_t>(batch->used), std::memory_order_relaxed);
        {
            std::lock_guard lock(mutex_);
            free_.push_back(batch);
        }
        changed_.notify_all();
    }
}

void TableFill::run() {
    Outcome outcome;
    try {
        const std::unique_ptr<SQLite::Database> connection = OpenObsDatabase(path_);
        SQLite::Database& db = *connection;
        db.exec("BEGIN");
        // As a bulk load into the empty table: no index is kept in step row by row.
        db.exec("DROP INDEX IF EXISTS ObsJD");
        db.exec("DROP INDEX IF EXISTS ObsInit");
        std::thread reader([this] { read(); });
        // On the way out with an exception, the reader is stopped before it is waited for.
        struct Joiner {
            TableFill& fill;
            std::thread& thread;
            ~Joiner() {
                if (!thread.joinable()) return;
                fill.stop();
                thread.join();
            }
        } joiner{*this, reader};
        write(db, outcome);
        reader.join();
        if (cancel_.load(std::memory_order_relaxed)) {
            outcome.state = Outcome::State::Cancelled;
        } else if (readerFailure_) {
            std::rethrow_exception(readerFailure_);
        } else if (rowsRead_ != expectedRows_ || digest_ != expectedDigest_ ||
                   (rowsRead_ > 0 && db.getLastInsertRowid() != rowsRead_)) {
            // Closing the connection with the transaction open rolls every row back.
            outcome.state = Outcome::State::Failed;
            outcome.description = "The file changed while it was loaded.";
        } else {
            db.exec("COMMIT");
            outcome.state = Outcome::State::Done;
        }
    } catch (const RowError& e) {
        outcome.state = Outcome::State::Failed;
        outcome.failedJD = e.jd();
        outcome.description = e.what();
    } catch (const std::exception& e) {
        if (cancel_.load(std::memory_order_relaxed)) {
            outcome.state = Outcome::State::Cancelled;
        } else {
            outcome.state = Outcome::State::Failed;
            outcome.description = e.what();
            // A full disk or a file-size limit is a failure of the database's own file, not of
            // the file being loaded: the message names it.
            const auto* sql = dynamic_cast<const SQLite::Exception*>(&e);
            if (sql && IsFileFailure(sql->getErrorCode()))
                outcome.description = "Cannot write " + path_ + ": " + outcome.description;
        }
    } catch (...) {
        outcome.state = Outcome::State::Failed;
        outcome.description = "Unknown error.";
    }
    outcome.rowsWritten = written_.load(std::memory_order_relaxed);
    if (outcome.state != Outcome::State::Done) outcome.rowsWritten = 0;
    outcome_ = std::move(outcome);
    finished_.store(true, std::memory_order_release);
}

}  // namespace sabrix
