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

namespace sabrix {

namespace {

constexpr const char* kSchema = R"SQL(
CREATE TABLE Obs (
    ID INTEGER PRIMARY KEY,
    Desig TEXT NOT NULL DEFAULT '',
    Star TEXT NOT NULL DEFAULT '',
    JD REAL NOT NULL,
    Faint TEXT NOT NULL DEFAULT '',
    Mag REAL NOT NULL,
    Uncertain TEXT NOT NULL DEFAULT '',
    HQUncertain TEXT NOT NULL DEFAULT '',
    Band TEXT NOT NULL DEFAULT '',
    Init TEXT NOT NULL DEFAULT '',
    ComCod TEXT NOT NULL DEFAULT '',
    Comp1 TEXT NOT NULL DEFAULT '',
    Comp2 TEXT NOT NULL DEFAULT '',
    Charts TEXT NOT NULL DEFAULT '',
    Comments TEXT NOT NULL DEFAULT '',
    XForm TEXT NOT NULL DEFAULT '',
    AirMass TEXT NOT NULL DEFAULT '',
    Valid TEXT NOT NULL DEFAULT '',
    CMag TEXT NOT NULL DEFAULT '',
    KMag TEXT NOT NULL DEFAULT '',
    HQJD TEXT NOT NULL DEFAULT '',
    PunktFarb INTEGER NOT NULL DEFAULT 0,
    Marked TEXT NOT NULL DEFAULT '',
    Edited TEXT NOT NULL DEFAULT '',
    Error REAL NOT NULL DEFAULT 0,
    ObserverAffiliation TEXT NOT NULL DEFAULT '',
    MeasurementMethod TEXT NOT NULL DEFAULT '',
    GroupingMethod TEXT NOT NULL DEFAULT '',
    ADSReference TEXT NOT NULL DEFAULT '',
    Digitizer TEXT NOT NULL DEFAULT '',
    Credit TEXT NOT NULL DEFAULT ''
);
CREATE INDEX ObsJD ON Obs (JD);
CREATE INDEX ObsInit ON Obs (Init);
)SQL";

constexpr const char* kColumns =
    "ID, Desig, Star, JD, Faint, Mag, Uncertain, HQUncertain, Band, Init, ComCod, Comp1, Comp2, "
    "Charts, Comments, XForm, AirMass, Valid, CMag, KMag, HQJD, PunktFarb, Marked, Edited, Error, "
    "ObserverAffiliation, MeasurementMethod, GroupingMethod, ADSReference, Digitizer, Credit";

// The columns that a template of an older build lacks: they were added last, in this order.
constexpr const char* kLaterColumns[] = {"ObserverAffiliation", "MeasurementMethod",
                                         "GroupingMethod",      "ADSReference",
                                         "Digitizer",           "Credit"};

std::string SelectRows(const std::string& tail) {
    return std::string("SELECT ") + kColumns + " FROM Obs " + tail;
}

// Sample standard deviation, as the StDev aggregate of SQL texts (null for fewer than two).
struct StDevState {
    int64_t n;
    double mean;
    double m2;
};

void StDevStep(sqlite3_context* context, int, sqlite3_value** values) {
    if (sqlite3_value_type(values[0]) == SQLITE_NULL) return;
    auto* s = static_cast<StDevState*>(sqlite3_aggregate_context(context, sizeof(StDevState)));
    if (s == nullptr) return;
    const double x = sqlite3_value_double(values[0]);
    ++s->n;
    const double delta = x - s->mean;
    s->mean += delta / static_cast<double>(s->n);
    s->m2 += delta * (x - s->mean);
}

void StDevFinal(sqlite3_context* context) {
    auto* s = static_cast<StDevState*>(sqlite3_aggregate_context(context, 0));
    if (s == nullptr || s->n < 2) {
        sqlite3_result_null(context);
        return;
    }
    sqlite3_result_double(context, std::sqrt(s->m2 / static_cast<double>(s->n - 1)));
}

void Order(double& a, double& b) {
    if (a > b) std::swap(a, b);
}

// Reads all columns of the current row of a statement that selects kColumns.
ObsRow ReadObsRow(const SQLite::Statement& q) {
    ObsRow r;
    r.ID = q.getColumn(0).getInt64();
    r.Desig = q.getColumn(1).getString();
    r.Star = q.getColumn(2).getString();
    r.JD = q.getColumn(3).getDouble();
    r.Faint = q.getColumn(4).getString();
    r.Mag = q.getColumn(5).getDouble();
    r.Uncertain = q.getColumn(6).getString();
    r.HQUncertain = q.getColumn(7).getString();
    r.Band = q.getColumn(8).getString();
    r.Init = q.getColumn(9).getString();
    r.ComCod = q.getColumn(10).getString();
    r.Comp1 = q.getColumn(11).getString();
    r.Comp2 = q.getColumn(12).getString();
    r.Charts = q.getColumn(13).getString();
    r.Comments = q.getColumn(14).getString();
    r.XForm = q.getColumn(15).getString();
    r.AirMass = q.getColumn(16).getString();
    r.Valid = q.getColumn(17).getString();
    r.CMag = q.getColumn(18).getString();
    r.KMag = q.getColumn(19).getString();
    r.HQJD = q.getColumn(20).getString();
    r.PunktFarb = q.getColumn(21).getInt();
    r.Marked = q.getColumn(22).getString();
    r.Edited = q.getColumn(23).getString();
    r.Error = q.getColumn(24).getDouble();
    r.ObserverAffiliation = q.getColumn(25).getString();
    r.MeasurementMethod = q.getColumn(26).getString();
    r.GroupingMethod = q.getColumn(27).getString();
    r.ADSReference = q.getColumn(28).getString();
    r.Digitizer = q.getColumn(29).getString();
    r.Credit = q.getColumn(30).getString();
    return r;
}

constexpr const char* kInsertRowWithId =
    "INSERT INTO Obs (ID, Desig, Star, JD, Faint, Mag, Uncertain, HQUncertain, Band, Init, "
    "ComCod, Comp1, Comp2, Charts, Comments, XForm, AirMass, Valid, CMag, KMag, HQJD, "
    "PunktFarb, Marked, Edited, Error, ObserverAffiliation, MeasurementMethod, GroupingMethod, "
    "ADSReference, Digitizer, Credit) VALUES "
    "(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)";

bool PointBefore(const auto& a, const auto& b) {
    return a.JD < b.JD || (a.JD == b.JD && a.ID < b.ID);
}

// Binds the 30 columns of kInsertRow, the first at parameter first.
void BindRow(SQLite::Statement& s, const ObsRow& r, int first) {
    auto text = [&s](int index, const std::string& value) { s.bindNoCopy(index, value); };
    text(first + 0, r.Desig);
    text(first + 1, r.Star);
    s.bind(first + 2, r.JD);
    text(first + 3, r.Faint);
    s.bind(first + 4, r.Mag);
    text(first + 5, r.Uncertain);
    text(first + 6, r.HQUncertain);
    text(first + 7, r.Band);
    text(first + 8, r.Init);
    text(first + 9, r.ComCod);
    text(first + 10, r.Comp1);
    text(first + 11, r.Comp2);
    text(first + 12, r.Charts);
    text(first + 13, r.Comments);
    text(first + 14, r.XForm);
    text(first + 15, r.AirMass);
    text(first + 16, r.Valid);
    text(first + 17, r.CMag);
    text(first + 18, r.KMag);
    text(first + 19, r.HQJD);
    s.bind(first + 20, r.PunktFarb);
    text(first + 21, r.Marked);
    text(first + 22, r.Edited);
    s.bind(first + 23, r.Error);
    text(first + 24, r.ObserverAffiliation);
    text(first + 25, r.MeasurementMethod);
    text(first + 26, r.GroupingMethod);
    text(first + 27, r.ADSReference);
    text(first + 28, r.Digitizer);
    text(first + 29, r.Credit);
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

    static bool IsFileFailure(int code) {
        return code == SQLITE_IOERR || code == SQLITE_FULL || code == SQLITE_CANTOPEN ||
               code == SQLITE_READONLY || code == SQLITE_NOLFS;
    }

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
            SQLite::Statement insert(db, kInsertRowWithId);
            int64_t id = 0;
            source([&](ObsRow& row) {
                if (cancel.load(std::memory_order_relaxed)) throw FillCancelled{};
                row.ID = ++id;
                insert.bind(1, row.ID);
                BindRow(insert, row, 2);
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
                // A full disk or a file-size limit is a failure of the database's own file,
                // not of the file being loaded: the message names it.
                const auto* sql = dynamic_cast<const SQLite::Exception*>(&e);
                if (sql && IsFileFailure(sql->getErrorCode()))
                    description = "Cannot write " + path + ": " + description;
            }
        }
        finished.store(true, std::memory_order_release);
    }
};

void ObsTable::CreateTemplate(const std::string& path) {
    SQLite::Database db(path, SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
    db.exec(kSchema);
}

ObsTable::ObsTable(const std::string& path)
    : path_(path), db_(std::make_unique<SQLite::Database>(path, SQLite::OPEN_READWRITE)) {
    ConfigureConnection(*db_);
    sqlite3_create_function(db_->getHandle(), "StDev", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC,
                            nullptr, nullptr, StDevStep, StDevFinal);
    // Fails early (and clearly) when the file is not a database holding Obs.
    db_->exec("SELECT COUNT(*) FROM Obs WHERE 0");
    addLaterColumns();
}

void ObsTable::addLaterColumns() {
    // A template left in the program folder by an older build lacks the newest columns; its
    // working copy gets them here, so every statement of this class finds the columns it names.
    std::vector<std::string> present;
    {
        SQLite::Statement q(*db_, "SELECT name FROM pragma_table_info('Obs')");
        while (q.executeStep()) present.push_back(q.getColumn(0).getString());
    }
    for (const char* column : kLaterColumns)
        if (std::find(present.begin(), present.end(), column) == present.end())
            db_->exec(std::string("ALTER TABLE Obs ADD COLUMN ") + column +
                      " TEXT NOT NULL DEFAULT ''");
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

const char* const ObsTable::kInsertRow =
    "INSERT INTO Obs (Desig, Star, JD, Faint, Mag, Uncertain, HQUncertain, Band, Init, "
    "ComCod, Comp1, Comp2, Charts, Comments, XForm, AirMass, Valid, CMag, KMag, HQJD, "
    "PunktFarb, Marked, Edited, Error, ObserverAffiliation, MeasurementMethod, GroupingMethod, "
    "ADSReference, Digitizer, Credit) VALUES "
    "(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)";

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
    insert_ = std::make_unique<SQLite::Statement>(table_.db(), kInsertRow);
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
    BindRow(s, r, 1);
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
    SQLite::Statement q(db(), SelectRows("ORDER BY ID"));
    while (q.executeStep()) visit(ReadObsRow(q));
}

void ObsTable::ForEachExportRowById(const std::function<void(const ObsRow&)>& visit) const {
    SQLite::Statement q(db(),
                        "SELECT ID, Desig, Star, JD, Faint, Mag, Uncertain, Comments, Init, Error "
                        "FROM Obs ORDER BY ID");
    ObsRow row;
    auto text = [&q](int index, std::string& into) {
        const SQLite::Column column = q.getColumn(index);
        into.assign(static_cast<const char*>(column.getBlob()),
                    static_cast<size_t>(column.getBytes()));
    };
    while (q.executeStep()) {
        row.ID = q.getColumn(0).getInt64();
        text(1, row.Desig);
        text(2, row.Star);
        row.JD = q.getColumn(3).getDouble();
        text(4, row.Faint);
        row.Mag = q.getColumn(5).getDouble();
        text(6, row.Uncertain);
        text(7, row.Comments);
        text(8, row.Init);
        row.Error = q.getColumn(9).getDouble();
        visit(row);
    }
}

std::optional<ObsRow> ObsTable::RowById(int64_t id) const {
    SQLite::Statement q(db(), SelectRows("WHERE ID = ?"));
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
        SQLite::Statement q(db(), SelectRows("WHERE Marked <> '' ORDER BY ID"));
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
    SQLite::Statement q(db(), SelectRows("WHERE ID = ?"));
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
    SQLite::Statement q(db(),
                        "UPDATE Obs SET Desig = ?, Star = ?, JD = ?, Faint = ?, Mag = ?, "
                        "Uncertain = ?, HQUncertain = ?, Band = ?, Init = ?, ComCod = ?, "
                        "Comp1 = ?, Comp2 = ?, Charts = ?, Comments = ?, XForm = ?, AirMass = ?, "
                        "Valid = ?, CMag = ?, KMag = ?, HQJD = ?, PunktFarb = ?, Marked = ?, "
                        "Edited = ?, Error = ?, ObserverAffiliation = ?, MeasurementMethod = ?, "
                        "GroupingMethod = ?, ADSReference = ?, Digitizer = ?, Credit = ? "
                        "WHERE ID = ?");
    BindRow(q, r, 1);
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
