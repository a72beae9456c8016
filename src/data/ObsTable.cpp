// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/ObsTable.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Transaction.h>

#include <algorithm>
#include <exception>
#include <utility>
#include <vector>

#include "core/SabrixError.h"
#include "data/ObsColumns.h"

namespace sabrix {

namespace {

// Runs sqlHead + "?,?,...)" over the IDs, kIdsPerStatement of them a statement: the end of
// each statement costs more than a row. The first bound parameters (firstBound of them) are
// left to run, which binds them and executes.
constexpr size_t kIdsPerStatement = 500;
void ForEachIdBatch(SQLite::Database& db, const std::string& sqlHead,
                    const std::vector<int64_t>& ids, int firstBound,
                    const std::function<void(ObsStatement&)>& run) {
    const auto statementOf = [&](size_t count) {
        std::string sql = sqlHead + "?";
        for (size_t i = 1; i < count; ++i) sql += ",?";
        return std::make_unique<ObsStatement>(db, sql + ")");
    };
    std::unique_ptr<ObsStatement> statement;
    for (size_t first = 0; first < ids.size(); first += kIdsPerStatement) {
        const size_t count = std::min(kIdsPerStatement, ids.size() - first);
        if (!statement || count < kIdsPerStatement) statement = statementOf(count);
        for (size_t i = 0; i < count; ++i)
            statement->bind(static_cast<int>(i) + 1 + firstBound, ids[first + i]);
        run(*statement);
    }
}

// Gives the rows with these IDs the colour and the marking number, in one transaction.
void MarkRows(SQLite::Database& db, const std::vector<int64_t>& ids, int32_t color,
              const std::string& markNumber) {
    SQLite::Transaction transaction(db);
    ForEachIdBatch(db, "UPDATE Obs SET PunktFarb = ?, Marked = ? WHERE ID IN (", ids, 2,
                   [&](ObsStatement& update) {
                       update.bind(1, static_cast<int64_t>(color));
                       update.bindText(2, markNumber);
                       update.exec();
                   });
    transaction.commit();
}

ObsRow ReadObsRow(const ObsStatement& q) {
    ObsRow row;
    ObsColumnSet::All().Read(q, row);
    return row;
}

}  // namespace

void ObsTable::CreateTemplate(const std::string& path) {
    SQLite::Database db(path, SQLite::OPEN_READWRITE | SQLite::OPEN_CREATE);
    db.exec(ObsSchemaSql());
}

void ObsTable::CheckDatabase(const std::string& path) {
    SQLite::Database db(path, SQLite::OPEN_READONLY);
    db.exec("SELECT COUNT(*) FROM Obs WHERE 0");
}

ObsTable::ObsTable(const std::string& path) : path_(path), db_(OpenObsDatabase(path)) {
    // No memory map: another process may shorten the file (a cleaner, a stray "> file"), and
    // a read of a mapped page past the new end kills the program with SIGBUS. Read through
    // the system, SQLite reports the damage as an error the command can show.
    // Fails early (and clearly) when the file is not a database holding Obs.
    db_->exec("SELECT COUNT(*) FROM Obs WHERE 0");
    // A template left in the program folder by an older build lacks the newest columns; its
    // working copy gets them here, so every statement of this class finds the columns it names.
    AddMissingObsColumns(*db_);
}

ObsTable::~ObsTable() {
    if (behind_.joinable()) behind_.join();
    // An exit during a fill: the threads stop within a few rows and roll back before the
    // connection that the caller deletes the file of goes.
    CancelFill();
}

SQLite::Database& ObsTable::db() const {
    if (fill_) throw SabrixError("The table is still being filled.");
    if (columnsOnly_) throw SabrixError("The table holds only the plotted columns.");
    settle();
    return *db_;
}

void ObsTable::settle() const {
    if (behind_.joinable()) behind_.join();
    if (!behindFailure_) return;
    const std::exception_ptr failure = std::exchange(behindFailure_, nullptr);
    // Nothing of the marking stayed in the table: the columns are read again from it.
    columnsReady_ = false;
    try {
        std::rethrow_exception(failure);
    } catch (const std::exception& e) {
        throw SabrixError(std::string("The marking could not be written: ") + e.what());
    }
}

void ObsTable::StartFill(RowSource source, PlotColumns columns) {
    if (fill_) throw SabrixError("The table is being filled already.");
    if (Count() != 0) throw SabrixError("Only an empty table can be filled.");
    const auto rows = static_cast<int64_t>(columns.size());
    const uint64_t digest = columns.Digest();
    fill_ = std::make_unique<TableFill>(path_, std::move(source), rows, digest);
    columns_ = std::move(columns);
    columnsReady_ = true;
}

void ObsTable::AdoptPlotColumns(PlotColumns columns) {
    if (fill_) throw SabrixError("The table is being filled already.");
    columnsOnly_ = true;
    columns_ = std::move(columns);
    columnsReady_ = true;
}

ObsTable::FillStatus ObsTable::PollFill() {
    FillStatus status;
    if (!fill_) return status;
    if (!fill_->Finished()) {
        status.state = FillStatus::State::Running;
        status.rowsWritten = fill_->RowsWritten();
        return status;
    }
    return finishFill();
}

ObsTable::FillStatus ObsTable::WaitForFill() {
    if (fill_) fill_->Wait();
    return PollFill();
}

ObsTable::FillStatus ObsTable::finishFill() {
    // The fill committed or rolled back on its own thread: nothing is left to run here, so
    // the end of a fill cannot fail in the caller's event handler.
    const TableFill::Outcome outcome = fill_->Wait();
    fill_.reset();
    FillStatus status;
    status.rowsWritten = outcome.rowsWritten;
    if (outcome.state == TableFill::Outcome::State::Done) {
        status.state = FillStatus::State::Done;
        return status;
    }
    columns_ = PlotColumns();
    status.state = FillStatus::State::Failed;
    status.failedJD = outcome.failedJD;
    status.description = outcome.description;
    return status;
}

void ObsTable::CancelFill() {
    if (!fill_) return;
    fill_->Cancel();
    const TableFill::Outcome outcome = fill_->Wait();
    fill_.reset();
    columns_ = PlotColumns();
    if (outcome.state != TableFill::Outcome::State::Done) return;
    // The fill had committed its last row before the cancel came: the rows go here.
    try {
        db().exec("DELETE FROM Obs");
    } catch (const std::exception&) {
        // They stay; the columns are then read from what the table holds, and agree with it.
        columnsReady_ = false;
    }
}

ObsTable::BulkInserter::BulkInserter(ObsTable& table) : table_(table) {
    table_.db().exec("BEGIN");
    open_ = true;
    // Filling an empty table: no statement selects by JD or by observer (selections and
    // marking read the plot columns), so the indexes are not kept in step row by row.
    // Dropping them inside the transaction means a rollback brings them back.
    if (table_.Count() == 0) {
        table_.db().exec("DROP INDEX IF EXISTS ObsJD");
        table_.db().exec("DROP INDEX IF EXISTS ObsInit");
    }
    insert_ = std::make_unique<ObsStatement>(table_.db(), ObsInsertSql());
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
    s.bindNull(1);
    BindObsRow(s, r, 2);
    s.exec();
    columns_.Add(r, table_.db().getLastInsertRowid());
    ++added_;
}

void ObsTable::BulkInserter::commit() {
    insert_.reset();
    table_.db().exec("COMMIT");
    open_ = false;
    // Columns still to be built from the database will read these rows with the others.
    if (table_.columnsReady_) table_.columns_.Merge(std::move(columns_).Build());
    columns_ = PlotColumns::Builder();
}

const PlotColumns& ObsTable::Columns() const {
    if (columnsReady_) return columns_;
    static const ObsColumnSet plotted{"JD",        "Mag",  "PunktFarb", "Faint",
                                      "Uncertain", "Band", "Init",      "Valid"};
    PlotColumns::Builder built;
    ObsStatement q(db(), plotted.SelectSql("ORDER BY JD, ID"));
    ObsRow row;
    while (q.step()) {
        plotted.Read(q, row);
        built.Add(row, row.ID);
    }
    columns_ = std::move(built).Build();
    columnsReady_ = true;
    return columns_;
}

int64_t ObsTable::Count() const {
    ObsStatement q(db(), "SELECT COUNT(*) FROM Obs");
    q.step();
    return q.int64(0);
}

void ObsTable::ForEachRowById(const std::function<void(const ObsRow&)>& visit) const {
    ObsStatement q(db(), ObsColumnSet::All().SelectSql("ORDER BY ID"));
    ObsRow row;
    while (q.step()) {
        ObsColumnSet::All().Read(q, row);
        visit(row);
    }
}

void ObsTable::ForEachExportRowById(const std::function<void(const ObsRow&)>& visit) const {
    static const ObsColumnSet exported{"Desig",     "Star",     "JD",   "Faint", "Mag",
                                       "Uncertain", "Comments", "Init", "Error"};
    ObsStatement q(db(), exported.SelectSql("ORDER BY ID"));
    ObsRow row;
    while (q.step()) {
        exported.Read(q, row);
        visit(row);
    }
}

std::optional<ObsRow> ObsTable::RowById(int64_t id) const {
    ObsStatement q(db(), ObsColumnSet::All().SelectSql("WHERE ID = ?"));
    q.bind(1, id);
    if (!q.step()) return std::nullopt;
    return ReadObsRow(q);
}

void ObsTable::ForEachRowOfIds(const std::vector<int64_t>& ids,
                               const std::function<void(const ObsRow&)>& visit) const {
    ObsStatement q(db(), ObsColumnSet::All().SelectSql("WHERE ID = ?"));
    ObsRow row;
    for (const int64_t id : ids) {
        q.bind(1, id);
        if (q.step()) {
            ObsColumnSet::All().Read(q, row);
            visit(row);
        }
        q.reset();
    }
}

int64_t ObsTable::UnMarkAll(const std::function<int32_t(const ObsRow&)>& colorOf) {
    std::vector<PlotColumns::Recoloring> changes;
    {
        ObsStatement q(db(), ObsColumnSet::All().SelectSql("WHERE Marked <> '' ORDER BY ID"));
        ObsRow row;
        while (q.step()) {
            ObsColumnSet::All().Read(q, row);
            changes.push_back({row.JD, row.ID, colorOf(row)});
        }
    }
    if (changes.empty()) return 0;
    SQLite::Transaction transaction(db());
    ObsStatement update(db(), "UPDATE Obs SET Marked = '', PunktFarb = ? WHERE ID = ?");
    for (const PlotColumns::Recoloring& change : changes) {
        update.bind(1, static_cast<int64_t>(change.PunktFarb));
        update.bind(2, change.ID);
        update.exec();
    }
    transaction.commit();
    if (columnsReady_) columns_.Recolor(changes);
    return static_cast<int64_t>(changes.size());
}

int64_t ObsTable::MarkObserverInIdOrder(const std::string& init, int32_t color,
                                        const std::string& markNumber,
                                        const std::function<void(double jd, double mag)>& visit) {
    // The observer's rows are found in the plot columns: no index on Init is needed, and a
    // load does not build one.
    const std::vector<ObsPoint> points = Columns().PointsOfObserver(init);
    // Waits for an earlier marking still being written; refuses while a fill runs.
    SQLite::Database& connection = db();
    std::vector<int64_t> ids;
    ids.reserve(points.size());
    for (const ObsPoint& p : points) ids.push_back(p.ID);
    // The rows are written behind the caller, who redraws from the columns meanwhile: the
    // connection is the thread's alone until the next statement of this table waits for it.
    behind_ = std::thread([this, &connection, ids = std::move(ids), color, markNumber] {
        try {
            MarkRows(connection, ids, color, markNumber);
        } catch (...) {
            behindFailure_ = std::current_exception();
        }
    });
    std::vector<PlotColumns::Recoloring> changes;
    changes.reserve(points.size());
    for (const ObsPoint& p : points) changes.push_back({p.JD, p.ID, color});
    columns_.Recolor(changes);
    for (const ObsPoint& p : points) visit(p.JD, p.MagStored);
    return static_cast<int64_t>(points.size());
}

bool ObsTable::UpdateRow(const ObsRow& r) {
    ObsStatement q(db(), ObsUpdateSql());
    BindObsRow(q, r, 1);
    q.bind(kObsColumnCount + 1, static_cast<int64_t>(r.ID));
    if (q.exec() == 0) return false;
    if (columnsReady_) columns_.Replace(r);
    return true;
}

int64_t ObsTable::UpdateRows(const std::vector<ObsRow>& rows) {
    std::vector<const ObsRow*> written;
    {
        SQLite::Transaction transaction(db());
        ObsStatement q(db(), ObsUpdateSql());
        for (const ObsRow& r : rows) {
            BindObsRow(q, r, 1);
            q.bind(kObsColumnCount + 1, r.ID);
            if (q.exec() != 0) written.push_back(&r);
        }
        transaction.commit();
    }
    // A row that is not there any more must not come back as a point.
    if (columnsReady_)
        for (const ObsRow* r : written) columns_.Replace(*r);
    return static_cast<int64_t>(written.size());
}

void ObsTable::ensureSetAside() {
    if (setAsideReady_) return;
    // A table of the connection alone: it goes with the connection and never reaches a file
    // the user sees. Made from Obs as it is now, so it has every column Obs has.
    db().exec(
        "CREATE TEMP TABLE IF NOT EXISTS ObsSetAside AS SELECT 0 AS Batch, * FROM Obs WHERE 0");
    db().exec("CREATE INDEX IF NOT EXISTS temp.ObsSetAsideBatch ON ObsSetAside (Batch)");
    setAsideReady_ = true;
}

int64_t ObsTable::SetAside(const std::vector<int64_t>& ids, int64_t batch) {
    ensureSetAside();
    int64_t moved = 0;
    {
        SQLite::Transaction transaction(db());
        ForEachIdBatch(db(), "INSERT INTO ObsSetAside SELECT ?, * FROM Obs WHERE ID IN (", ids, 1,
                       [batch](ObsStatement& q) {
                           q.bind(1, batch);
                           q.exec();
                       });
        ForEachIdBatch(db(), "DELETE FROM Obs WHERE ID IN (", ids, 0,
                       [&moved](ObsStatement& q) { moved += q.exec(); });
        transaction.commit();
    }
    if (columnsReady_) columns_.Erase(ids);
    return moved;
}

int64_t ObsTable::PutBack(int64_t batch) {
    ensureSetAside();
    static const ObsColumnSet plotted{"JD",        "Mag",  "PunktFarb", "Faint",
                                      "Uncertain", "Band", "Init",      "Valid"};
    PlotColumns::Builder back;
    int64_t moved = 0;
    {
        SQLite::Transaction transaction(db());
        const std::string columns = ObsColumnSet::All().SelectSql("WHERE Batch = ?", "ObsSetAside");
        // "SELECT ID, Desig, ... FROM": the same names in the same order on both sides.
        const std::string names = columns.substr(7, columns.find(" FROM ") - 7);
        ObsStatement insert(db(), "INSERT INTO Obs (" + names + ") " + columns);
        insert.bind(1, batch);
        moved = insert.exec();
        if (columnsReady_) {
            ObsStatement q(db(), plotted.SelectSql("WHERE Batch = ?", "ObsSetAside"));
            q.bind(1, batch);
            ObsRow row;
            while (q.step()) {
                plotted.Read(q, row);
                back.Add(row, row.ID);
            }
        }
        ObsStatement drop(db(), "DELETE FROM ObsSetAside WHERE Batch = ?");
        drop.bind(1, batch);
        drop.exec();
        transaction.commit();
    }
    if (columnsReady_) columns_.Merge(std::move(back).Build());
    return moved;
}

void ObsTable::ForgetSetAside() {
    if (!setAsideReady_) return;
    db().exec("DELETE FROM ObsSetAside");
}

std::vector<ObsRow> ObsTable::MarkedRowsOfIds(const std::vector<int64_t>& ids) const {
    std::vector<int64_t> sorted = ids;
    std::sort(sorted.begin(), sorted.end());
    std::vector<ObsRow> marked;
    ObsStatement q(db(), ObsColumnSet::All().SelectSql("WHERE Marked <> '' ORDER BY ID"));
    while (q.step()) {
        ObsRow row = ReadObsRow(q);
        if (std::binary_search(sorted.begin(), sorted.end(), row.ID))
            marked.push_back(std::move(row));
    }
    return marked;
}

int64_t ObsTable::DeleteByIds(const std::vector<int64_t>& ids) {
    int64_t deleted = 0;
    {
        SQLite::Transaction transaction(db());
        ForEachIdBatch(db(), "DELETE FROM Obs WHERE ID IN (", ids, 0,
                       [&deleted](ObsStatement& q) { deleted += q.exec(); });
        transaction.commit();
    }
    if (columnsReady_) columns_.Erase(ids);
    return deleted;
}

}  // namespace sabrix
