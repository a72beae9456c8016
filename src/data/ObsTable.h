// The working database's observation table Obs, and every SQL text of the program.
// Values always travel as bound parameters. Readers of many rows stream through a callback.
// Failures throw SQLite::Exception (or SabrixError); a failed bulk insert leaves the table as
// it was before the insert started.
//
// The plotted columns (JD, Mag, PunktFarb and whether Faint is "<") are also held in memory,
// sorted by JD and ID, so that a redraw of a million rows needs no walk through the database.
// The copy cannot go stale: the table is written only through this class (there is no
// writable access to the connection), and every write method changes the copy in the same
// call, after the database has accepted the change. It is built from the database when first
// needed, so a table opened on an existing file starts right too.
//
// Filling. A load can hand the table its plotted columns at once and have the rows written
// behind them (StartFill, AdoptPlotColumns): a thread of the table's own writes the rows over a
// connection of its own, while the caller plots from the columns. Until PollFill has seen the
// fill end, every method that would run SQL throws SabrixError; the column readers work. A fill
// that ends with rows that differ from the columns (the file changed between the two reads)
// counts as failed, and a failed or cancelled fill leaves the table empty. A table that took
// columns without a fill (a render that needs no rows) refuses SQL for good.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "data/ObsRow.h"

namespace SQLite {
class Database;
class Statement;
}  // namespace SQLite

namespace sabrix {

// Extremes of the whole table.
struct DataExtremes {
    float MagBrightest = 0;
    float MagFaintest = 0;
    double JDFirst = 0;
    double JDLast = 0;
    int64_t Count = 0;
};

// The brightest and faintest rows of a JD window (fainter-than rows included).
struct WindowExtremes {
    double BrightJD = 0;
    float BrightMag = 0;
    double FaintJD = 0;
    float FaintMag = 0;
};

class ObsTable {
    using CachedPoint = ObsPoint;

  public:
    // Creates an empty database file holding the table Obs and its indexes (the template).
    static void CreateTemplate(const std::string& path);

    // Opens an existing database file (the working database). Throws when it cannot. A table
    // made from an older template gets the columns it lacks (empty in every row).
    explicit ObsTable(const std::string& path);
    ~ObsTable();

    const std::string& path() const { return path_; }

    // Appends rows in one transaction with one prepared statement. Rows become visible on
    // commit(); destroying the inserter without commit() rolls every row back.
    class BulkInserter {
      public:
        explicit BulkInserter(ObsTable& table);
        ~BulkInserter();
        void add(const ObsRow& row);
        void commit();
        int64_t added() const { return added_; }

      private:
        ObsTable& table_;
        std::unique_ptr<SQLite::Statement> insert_;
        bool open_ = false;
        bool rebuildIndexes_ = false;
        int64_t added_ = 0;
        std::vector<CachedPoint> points_;
    };

    // Writes the rows that source gives into the empty table on a thread of the table's own,
    // with a connection of its own, in one transaction; the rows get the IDs 1, 2, 3, ... in
    // the order given. source runs on that thread: it calls add once per row, and must use
    // nothing that another thread uses (it owns its file and its copies). Throws SabrixError
    // when the table is not empty or a fill runs already.
    using RowSource = std::function<void(const std::function<void(ObsRow&)>& add)>;
    void StartFill(RowSource source);
    // The plotted columns of the rows (IDs 1 to n, any order), to be drawn from at once. With a
    // fill running they are checked against its rows when it ends; without one the table
    // holds only these columns and refuses every SQL method from now on.
    void AdoptPlotColumns(std::vector<ObsPoint> points);

    struct FillStatus {
        enum class State { Idle, Running, Done, Failed };
        State state = State::Idle;
        int64_t rowsWritten = 0;
        // Failed: the JD of the row the database refused (empty when no row was at fault) and
        // the database's or the source's description.
        std::string failedJD;
        std::string description;
    };
    // Running while the fill's thread writes; once it has ended, Done (the table holds the rows
    // and answers SQL again) or Failed (the table and its columns are empty), reported once,
    // and Idle afterwards. Never blocks for longer than the end of a finished thread.
    FillStatus PollFill();
    // Waits for the fill to end, then as PollFill.
    FillStatus WaitForFill();
    // Stops a running fill within a row and waits for its thread: the rows written are rolled
    // back, the columns emptied. Does nothing when no fill runs.
    void CancelFill();
    // A fill runs (or has ended without PollFill having seen it).
    bool Filling() const { return fill_ != nullptr; }

    int64_t Count() const;
    // Extremes of the table; nothing when it is empty.
    std::optional<DataExtremes> Extremes() const;
    // Rows with JD between the two bounds (inclusive, in either order), in JD order; with
    // omitFainter the rows whose Faint is "<" are left out. Returns the number visited.
    int64_t ForEachPointInWindow(double jdA, double jdB, bool omitFainter,
                                 const std::function<void(const PlotPoint&)>& visit) const;
    // Every row with JD between the bounds (inclusive, in either order), fainter-than rows
    // included, in JD order (ID order among equal JDs): its JD and its Mag as stored, in
    // double precision. Returns the number visited.
    int64_t ForEachMagnitudeInWindow(double jdA, double jdB,
                                     const std::function<void(double jd, double mag)>& visit) const;
    // Brightest and faintest rows of the window; nothing when the window holds no row.
    std::optional<WindowExtremes> ExtremesInWindow(double jdA, double jdB) const;
    // Every row in ID order (the order of the file it came from).
    void ForEachRowById(const std::function<void(const ObsRow&)>& visit) const;
    // Every row in ID order with only the fields the writers of star files and three-column
    // files use filled (ID, Desig, Star, JD, Faint, Mag, Uncertain, Comments, Init, Error);
    // the other fields are empty. One row object is reused, so a save of a million rows
    // allocates little.
    void ForEachExportRowById(const std::function<void(const ObsRow&)>& visit) const;
    std::optional<ObsRow> RowById(int64_t id) const;
    // Deletes one row; returns false when no row has that ID.
    bool DeleteById(int64_t id);
    // Clears every marking; each marked row gets the colour that colorOf gives for it.
    // Returns the number of rows changed.
    int64_t UnMarkAll(const std::function<int32_t(const ObsRow&)>& colorOf);

    // The IDs of the rows inside a JD by magnitude box (bounds inclusive, either order), in
    // JD order (ID order among equal JDs), as the SQL "JD BETWEEN ... AND Mag BETWEEN ..."
    // would select them. Read from the plot columns: no index and no walk of the table.
    std::vector<int64_t> IdsInBox(double jdA, double jdB, double magA, double magB) const;
    // The rows with these IDs, in the order given; an ID with no row is passed over.
    void ForEachRowOfIds(const std::vector<int64_t>& ids,
                         const std::function<void(const ObsRow&)>& visit) const;
    // Gives every row of the observer (the code compared exactly) the colour and the marking
    // number, in one transaction, and visits each marked row's JD and Mag in ID order.
    // Returns the number of rows marked. On failure nothing is marked.
    int64_t MarkObserverInIdOrder(const std::string& init, int32_t color,
                                  const std::string& markNumber,
                                  const std::function<void(double jd, double mag)>& visit);
    // Writes every column of the row with row.ID but ID itself in one statement. Returns
    // false when no row has that ID (nothing changes).
    bool UpdateRow(const ObsRow& row);
    // Deletes the rows with these IDs in one transaction; returns how many there were. On
    // failure no row is deleted.
    int64_t DeleteByIds(const std::vector<int64_t>& ids);

  private:
    struct FillJob;
    // The connection, for every statement; throws while a fill runs or when the table holds
    // only columns.
    SQLite::Database& db() const;
    void finishFill(FillStatus& status);
    // The plot columns, built from the database on first use.
    const std::vector<CachedPoint>& points() const;
    // The range of points with JD between the bounds (inclusive, either order).
    std::pair<size_t, size_t> windowRange(double jdA, double jdB) const;
    void mergePoints(std::vector<CachedPoint> added);
    void recolorPoints(const std::unordered_map<int64_t, int32_t>& colors);
    // Builds the observer index when a bulk load into the empty table left it out (the fill
    // builds it itself). Marking, the one query that selects by Init, calls it first.
    void ensureIndexes() const;

    std::string path_;
    // No reference to the connection leaves this class: every statement of the program runs
    // here, so no write can pass the plot columns by.
    std::unique_ptr<SQLite::Database> db_;
    mutable std::vector<CachedPoint> points_;
    mutable bool pointsReady_ = false;
    mutable bool indexesDeferred_ = false;
    std::unique_ptr<FillJob> fill_;
    bool columnsOnly_ = false;
};

}  // namespace sabrix
