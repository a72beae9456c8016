#include "data/ObsTable.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>
#include <SQLiteCpp/Transaction.h>
#include <sqlite3.h>

#include <algorithm>
#include <atomic>
#include <bit>
#include <cmath>
#include <thread>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "core/NumberText.h"
#include "core/SabrixError.h"
#include "data/ObsColumns.h"

namespace sabrix {

namespace {

void Order(double& a, double& b) {
    if (a > b) std::swap(a, b);
}

ObsRow ReadObsRow(const SQLite::Statement& q) {
    ObsRow row;
    ObsColumnSet::All().Read(q, row);
    return row;
}

bool PointBefore(const auto& a, const auto& b) {
    return a.JD < b.JD || (a.JD == b.JD && a.ID < b.ID);
}

// The connection settings of the working database, for the table's connection and a fill's.
void ConfigureConnection(SQLite::Database& db) {
    // The working database is a scratch copy, deleted at exit: durability buys nothing.
    db.exec("PRAGMA synchronous = OFF");
    db.exec("PRAGMA journal_mode = MEMORY");
    db.exec("PRAGMA cache_size = -65536");
}

// A digest of the plotted columns of one row; summed over the rows, it does not depend on
// their order, so the columns and the rows written can be compared in one pass each.
uint64_t PointDigest(int64_t id, double jd, double mag, int32_t color, bool faint) {
    uint64_t h = 0x9e3779b97f4a7c15ULL;
    const auto mix = [&h](uint64_t v) {
        h ^= v + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2);
        h *= 0xff51afd7ed558ccdULL;
        h ^= h >> 33;
    };
    mix(static_cast<uint64_t>(id));
    mix(std::bit_cast<uint64_t>(jd));
    mix(std::bit_cast<uint64_t>(mag));
    mix(static_cast<uint32_t>(color));
    mix(faint ? 1 : 0);
    return h;
}

// Stops a fill's source from inside its add call.
struct FillCancelled {};

}  // namespace

// The thread of a fill and what it hands back. The thread writes the results before it sets
// finished (release); the table reads them after it has seen finished (acquire) and joined.
struct ObsTable::FillJob {
    std::atomic<bool> cancel{false};
    std::atomic<bool> finished{false};
    std::atomic<int64_t> rowsWritten{0};
    bool failed = false;
    bool cancelled = false;
    std::string failedJD;
    std::string description;
    uint64_t digest = 0;
    std::thread thread;

    // SQLite's progress callback, on the fill's own thread: non-zero interrupts the statement.
    static int InterruptWhenCancelled(void* job) {
        return static_cast<FillJob*>(job)->cancel.load(std::memory_order_relaxed) ? 1 : 0;
    }

    void run(const std::string& path, const RowSource& source) {
        try {
            SQLite::Database db(path, SQLite::OPEN_READWRITE);
            ConfigureConnection(db);
            db.exec("BEGIN");
            // As a bulk load into the empty table: the observer index is built after the rows.
            db.exec("DROP INDEX IF EXISTS ObsJD");
            db.exec("DROP INDEX IF EXISTS ObsInit");
            SQLite::Statement insert(db, ObsInsertSql());
            int64_t id = 0;
            source([&](ObsRow& row) {
                if (cancel.load(std::memory_order_relaxed)) throw FillCancelled{};
                row.ID = ++id;
                insert.bind(1, row.ID);
                BindObsRow(insert, row, 2);
                try {
                    insert.exec();
                } catch (const std::exception&) {
                    failedJD = FormatDouble(row.JD);
                    throw;
                }
                insert.reset();
                digest += PointDigest(row.ID, row.JD, row.Mag, row.PunktFarb, row.Faint == "<");
                rowsWritten.store(id, std::memory_order_relaxed);
            });
            if (cancel.load(std::memory_order_relaxed)) throw FillCancelled{};
            // Marking reads an observer's rows by code; its index is built here, behind the
            // plot, rather than when the user first marks. A cancel interrupts the build.
            sqlite3_progress_handler(db.getHandle(), 10000, &InterruptWhenCancelled, this);
            db.exec("CREATE INDEX ObsInit ON Obs (Init)");
            sqlite3_progress_handler(db.getHandle(), 0, nullptr, nullptr);
            db.exec("COMMIT");
        } catch (const FillCancelled&) {
            // Closing the connection with the transaction open rolls every row back.
            cancelled = true;
        } catch (const std::exception& e) {
            if (cancel.load(std::memory_order_relaxed)) {
                cancelled = true;
            } else {
                failed = true;
                description = e.what();
            }
        }
        finished.store(true, std::memory_order_release);
    }
};

void ObsTable::CreateTemplate(const std::string& path) {
    SQLite::Database db(path, SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
    db.exec(ObsSchemaSql());
}

ObsTable::ObsTable(const std::string& path)
    : path_(path), db_(std::make_unique<SQLite::Database>(path, SQLite::OPEN_READWRITE)) {
    ConfigureConnection(*db_);
    // Fails early (and clearly) when the file is not a database holding Obs.
    db_->exec("SELECT COUNT(*) FROM Obs WHERE 0");
    // A template left in the program folder by an older build lacks the newest columns; its
    // working copy gets them here, so every statement of this class finds the columns it names.
    AddMissingObsColumns(*db_);
}

ObsTable::~ObsTable() {
    // An exit during a fill: the thread stops within a row and rolls back before the
    // connection that the caller deletes the file of goes.
    CancelFill();
}

SQLite::Database& ObsTable::db() const {
    if (fill_) throw SabrixError("The table is still being filled.");
    if (columnsOnly_) throw SabrixError("The table holds only the plotted columns.");
    return *db_;
}

void ObsTable::StartFill(RowSource source) {
    if (fill_) throw SabrixError("The table is being filled already.");
    if (Count() != 0) throw SabrixError("Only an empty table can be filled.");
    // The columns of these rows are still to come (AdoptPlotColumns).
    points_.clear();
    pointsReady_ = false;
    fill_ = std::make_unique<FillJob>();
    FillJob& job = *fill_;
    job.thread =
        std::thread([&job, path = path_, source = std::move(source)] { job.run(path, source); });
}

void ObsTable::AdoptPlotColumns(std::vector<ObsPoint> points) {
    if (!fill_) columnsOnly_ = true;
    if (!std::is_sorted(points.begin(), points.end(), PointBefore<ObsPoint, ObsPoint>))
        std::stable_sort(points.begin(), points.end(), PointBefore<ObsPoint, ObsPoint>);
    points_ = std::move(points);
    pointsReady_ = true;
}

ObsTable::FillStatus ObsTable::PollFill() {
    FillStatus status;
    if (!fill_) return status;
    status.rowsWritten = fill_->rowsWritten.load(std::memory_order_relaxed);
    // Until the columns have come, the rows cannot be checked against them.
    if (!fill_->finished.load(std::memory_order_acquire) || !pointsReady_) {
        status.state = FillStatus::State::Running;
        return status;
    }
    finishFill(status);
    return status;
}

ObsTable::FillStatus ObsTable::WaitForFill() {
    if (fill_ && fill_->thread.joinable()) fill_->thread.join();
    return PollFill();
}

void ObsTable::finishFill(FillStatus& status) {
    std::unique_ptr<FillJob> job = std::move(fill_);
    if (job->thread.joinable()) job->thread.join();
    uint64_t digest = 0;
    for (const ObsPoint& p : points_)
        digest += PointDigest(p.ID, p.JD, p.MagStored, p.PunktFarb, p.faint);
    const int64_t written = job->rowsWritten.load(std::memory_order_relaxed);
    if (!job->failed && !job->cancelled &&
        (written != static_cast<int64_t>(points_.size()) || digest != job->digest)) {
        job->failed = true;
        job->description = "The file changed while it was loaded.";
        // The rows were committed: they go again, so the table stays as empty as its columns.
        db().exec("DELETE FROM Obs");
    }
    if (job->failed || job->cancelled) {
        points_.clear();
        status.state = FillStatus::State::Failed;
        status.failedJD = job->failedJD;
        status.description = job->description;
        return;
    }
    indexesDeferred_ = true;
    status.state = FillStatus::State::Done;
}

void ObsTable::CancelFill() {
    if (!fill_) return;
    fill_->cancel.store(true, std::memory_order_relaxed);
    if (fill_->thread.joinable()) fill_->thread.join();
    const bool committed = !fill_->failed && !fill_->cancelled;
    fill_.reset();
    points_.clear();
    // A fill that had written its last row before the cancel came is undone here.
    if (committed) {
        try {
            db().exec("DELETE FROM Obs");
        } catch (...) {
        }
    }
}

void ObsTable::ensureIndexes() const {
    if (!indexesDeferred_) return;
    // Only marking selects rows by a column in SQL; selections by JD read the plot columns.
    db().exec("CREATE INDEX IF NOT EXISTS ObsInit ON Obs (Init)");
    indexesDeferred_ = false;
}

ObsTable::BulkInserter::BulkInserter(ObsTable& table) : table_(table) {
    table_.db().exec("BEGIN");
    open_ = true;
    // Filling an empty table: building the indexes once, from the whole table, is cheaper
    // than keeping them in step row by row (the observer codes arrive in no order), and they
    // are built only when a query first needs them, so a load and its first plot do not wait
    // for them. Dropping them inside the transaction means a rollback brings them back.
    if (table_.Count() == 0) {
        table_.db().exec("DROP INDEX IF EXISTS ObsJD");
        table_.db().exec("DROP INDEX IF EXISTS ObsInit");
        rebuildIndexes_ = true;
    }
    insert_ = std::make_unique<SQLite::Statement>(table_.db(), ObsInsertSql());
}

ObsTable::BulkInserter::~BulkInserter() {
    insert_.reset();
    if (open_) {
        try {
            table_.db().exec("ROLLBACK");
        } catch (...) {
        }
    }
}

void ObsTable::BulkInserter::add(const ObsRow& r) {
    auto& s = *insert_;
    // A null ID: the table numbers the row.
    s.bind(1);
    BindObsRow(s, r, 2);
    s.exec();
    s.reset();
    points_.push_back(CachedPoint{r.JD, table_.db().getLastInsertRowid(), static_cast<float>(r.Mag),
                                  r.PunktFarb, r.Faint == "<", r.Mag});
    ++added_;
}

void ObsTable::BulkInserter::commit() {
    insert_.reset();
    table_.db().exec("COMMIT");
    open_ = false;
    if (rebuildIndexes_) table_.indexesDeferred_ = true;
    table_.mergePoints(std::move(points_));
    points_.clear();
}

const std::vector<ObsTable::CachedPoint>& ObsTable::points() const {
    if (pointsReady_) return points_;
    std::vector<CachedPoint> built;
    SQLite::Statement q(db(),
                        "SELECT JD, ID, Mag, PunktFarb, Faint = '<' FROM Obs ORDER BY JD, ID");
    while (q.executeStep()) {
        const double mag = q.getColumn(2).getDouble();
        built.push_back(CachedPoint{q.getColumn(0).getDouble(), q.getColumn(1).getInt64(),
                                    static_cast<float>(mag), q.getColumn(3).getInt(),
                                    q.getColumn(4).getInt() != 0, mag});
    }
    points_ = std::move(built);
    pointsReady_ = true;
    return points_;
}

void ObsTable::mergePoints(std::vector<CachedPoint> added) {
    if (!pointsReady_) return;  // built from the database when first needed
    if (!std::is_sorted(added.begin(), added.end(), PointBefore<CachedPoint, CachedPoint>))
        std::stable_sort(added.begin(), added.end(), PointBefore<CachedPoint, CachedPoint>);
    if (points_.empty()) {
        points_ = std::move(added);
        return;
    }
    const size_t middle = points_.size();
    points_.insert(points_.end(), added.begin(), added.end());
    std::inplace_merge(points_.begin(), points_.begin() + static_cast<std::ptrdiff_t>(middle),
                       points_.end(), PointBefore<CachedPoint, CachedPoint>);
}

std::pair<size_t, size_t> ObsTable::windowRange(double jdA, double jdB) const {
    Order(jdA, jdB);
    const auto& p = points();
    const auto first = std::lower_bound(p.begin(), p.end(), jdA,
                                        [](const CachedPoint& c, double jd) { return c.JD < jd; });
    const auto last = std::upper_bound(first, p.end(), jdB,
                                       [](double jd, const CachedPoint& c) { return jd < c.JD; });
    return {static_cast<size_t>(first - p.begin()), static_cast<size_t>(last - p.begin())};
}

int64_t ObsTable::Count() const {
    SQLite::Statement q(db(), "SELECT COUNT(*) FROM Obs");
    q.executeStep();
    return q.getColumn(0).getInt64();
}

std::optional<DataExtremes> ObsTable::Extremes() const {
    const auto& p = points();
    if (p.empty()) return std::nullopt;
    DataExtremes e;
    e.Count = static_cast<int64_t>(p.size());
    e.JDFirst = p.front().JD;
    e.JDLast = p.back().JD;
    e.MagBrightest = e.MagFaintest = p.front().Mag;
    for (const CachedPoint& c : p) {
        e.MagBrightest = std::min(e.MagBrightest, c.Mag);
        e.MagFaintest = std::max(e.MagFaintest, c.Mag);
    }
    return e;
}

int64_t ObsTable::ForEachPointInWindow(double jdA, double jdB, bool omitFainter,
                                       const std::function<void(const PlotPoint&)>& visit) const {
    const auto [first, last] = windowRange(jdA, jdB);
    const auto& p = points();
    int64_t n = 0;
    for (size_t i = first; i < last; ++i) {
        const CachedPoint& c = p[i];
        if (omitFainter && c.faint) continue;
        visit(PlotPoint{c.JD, c.Mag, c.PunktFarb});
        ++n;
    }
    return n;
}

int64_t ObsTable::ForEachMagnitudeInWindow(
    double jdA, double jdB, const std::function<void(double jd, double mag)>& visit) const {
    const auto [first, last] = windowRange(jdA, jdB);
    const auto& p = points();
    for (size_t i = first; i < last; ++i) visit(p[i].JD, p[i].MagStored);
    return static_cast<int64_t>(last - first);
}

std::optional<WindowExtremes> ObsTable::ExtremesInWindow(double jdA, double jdB) const {
    const auto [first, last] = windowRange(jdA, jdB);
    if (first == last) return std::nullopt;
    const auto& p = points();
    // Brightest: the smallest magnitude, the lowest ID among equals; faintest: the largest,
    // the highest ID among equals (the first and last rows in magnitude order).
    size_t bright = first;
    size_t faint = first;
    for (size_t i = first + 1; i < last; ++i) {
        const CachedPoint& c = p[i];
        if (c.Mag < p[bright].Mag || (c.Mag == p[bright].Mag && c.ID < p[bright].ID)) bright = i;
        if (c.Mag > p[faint].Mag || (c.Mag == p[faint].Mag && c.ID > p[faint].ID)) faint = i;
    }
    return WindowExtremes{p[bright].JD, p[bright].Mag, p[faint].JD, p[faint].Mag};
}

void ObsTable::ForEachRowById(const std::function<void(const ObsRow&)>& visit) const {
    SQLite::Statement q(db(), ObsColumnSet::All().SelectSql("ORDER BY ID"));
    while (q.executeStep()) visit(ReadObsRow(q));
}

void ObsTable::ForEachExportRowById(const std::function<void(const ObsRow&)>& visit) const {
    static const ObsColumnSet exported{"Desig",     "Star",     "JD",   "Faint", "Mag",
                                       "Uncertain", "Comments", "Init", "Error"};
    SQLite::Statement q(db(), exported.SelectSql("ORDER BY ID"));
    ObsRow row;
    while (q.executeStep()) {
        exported.Read(q, row);
        visit(row);
    }
}

std::optional<ObsRow> ObsTable::RowById(int64_t id) const {
    SQLite::Statement q(db(), ObsColumnSet::All().SelectSql("WHERE ID = ?"));
    q.bind(1, id);
    if (!q.executeStep()) return std::nullopt;
    return ReadObsRow(q);
}

bool ObsTable::DeleteById(int64_t id) {
    SQLite::Statement q(db(), "DELETE FROM Obs WHERE ID = ?");
    q.bind(1, id);
    if (q.exec() == 0) return false;
    if (pointsReady_) std::erase_if(points_, [id](const CachedPoint& c) { return c.ID == id; });
    return true;
}

void ObsTable::recolorPoints(const std::unordered_map<int64_t, int32_t>& colors) {
    if (!pointsReady_ || colors.empty()) return;
    for (CachedPoint& c : points_)
        if (const auto it = colors.find(c.ID); it != colors.end()) c.PunktFarb = it->second;
}

int64_t ObsTable::UnMarkAll(const std::function<int32_t(const ObsRow&)>& colorOf) {
    std::vector<std::pair<int64_t, int32_t>> changes;
    {
        SQLite::Statement q(db(), ObsColumnSet::All().SelectSql("WHERE Marked <> '' ORDER BY ID"));
        while (q.executeStep()) {
            const ObsRow row = ReadObsRow(q);
            changes.emplace_back(row.ID, colorOf(row));
        }
    }
    if (changes.empty()) return 0;
    SQLite::Transaction transaction(db());
    SQLite::Statement update(db(), "UPDATE Obs SET Marked = '', PunktFarb = ? WHERE ID = ?");
    for (const auto& [id, color] : changes) {
        update.bind(1, color);
        update.bind(2, id);
        update.exec();
        update.reset();
    }
    transaction.commit();
    recolorPoints(std::unordered_map<int64_t, int32_t>(changes.begin(), changes.end()));
    return static_cast<int64_t>(changes.size());
}

std::vector<int64_t> ObsTable::IdsInBox(double jdA, double jdB, double magA, double magB) const {
    Order(magA, magB);
    const auto [first, last] = windowRange(jdA, jdB);
    const auto& p = points();
    std::vector<int64_t> ids;
    for (size_t i = first; i < last; ++i)
        if (p[i].MagStored >= magA && p[i].MagStored <= magB) ids.push_back(p[i].ID);
    return ids;
}

void ObsTable::ForEachRowOfIds(const std::vector<int64_t>& ids,
                               const std::function<void(const ObsRow&)>& visit) const {
    SQLite::Statement q(db(), ObsColumnSet::All().SelectSql("WHERE ID = ?"));
    for (const int64_t id : ids) {
        q.bind(1, id);
        if (q.executeStep()) visit(ReadObsRow(q));
        q.reset();
    }
}

int64_t ObsTable::MarkObserverInIdOrder(const std::string& init, int32_t color,
                                        const std::string& markNumber,
                                        const std::function<void(double jd, double mag)>& visit) {
    ensureIndexes();
    struct Marked {
        int64_t id;
        double jd;
        double mag;
    };
    std::vector<Marked> rows;
    // The rows are read whole before the first write: a read cursor that sees its table change
    // under it seeks again after every write.
    {
        SQLite::Statement q(db(), "SELECT ID, JD, Mag FROM Obs WHERE Init = ? ORDER BY ID");
        q.bind(1, init);
        while (q.executeStep())
            rows.push_back({q.getColumn(0).getInt64(), q.getColumn(1).getDouble(),
                            q.getColumn(2).getDouble()});
    }
    SQLite::Transaction transaction(db());
    SQLite::Statement update(db(), "UPDATE Obs SET PunktFarb = ?, Marked = ? WHERE ID = ?");
    update.bind(1, color);
    update.bind(2, markNumber);
    for (const Marked& row : rows) {
        update.bind(3, row.id);
        update.exec();
        update.reset();
    }
    transaction.commit();
    std::unordered_map<int64_t, int32_t> changed;
    changed.reserve(rows.size());
    for (const Marked& row : rows) {
        changed.emplace(row.id, color);
        visit(row.jd, row.mag);
    }
    recolorPoints(changed);
    return static_cast<int64_t>(rows.size());
}

bool ObsTable::UpdateRow(const ObsRow& r) {
    SQLite::Statement q(db(), ObsUpdateSql());
    BindObsRow(q, r, 1);
    q.bind(31, r.ID);
    if (q.exec() == 0) return false;
    if (pointsReady_) {
        // The JD may have moved: the point leaves its place and goes in where it now sorts.
        std::erase_if(points_, [&r](const CachedPoint& c) { return c.ID == r.ID; });
        const CachedPoint point{r.JD,        r.ID,           static_cast<float>(r.Mag),
                                r.PunktFarb, r.Faint == "<", r.Mag};
        points_.insert(std::upper_bound(points_.begin(), points_.end(), point,
                                        PointBefore<CachedPoint, CachedPoint>),
                       point);
    }
    return true;
}

int64_t ObsTable::DeleteByIds(const std::vector<int64_t>& ids) {
    std::unordered_set<int64_t> deleted;
    {
        SQLite::Transaction transaction(db());
        SQLite::Statement q(db(), "DELETE FROM Obs WHERE ID = ?");
        for (const int64_t id : ids) {
            q.bind(1, id);
            if (q.exec() > 0) deleted.insert(id);
            q.reset();
        }
        transaction.commit();
    }
    if (pointsReady_ && !deleted.empty())
        std::erase_if(points_, [&deleted](const CachedPoint& c) { return deleted.contains(c.ID); });
    return static_cast<int64_t>(deleted.size());
}

}  // namespace sabrix
