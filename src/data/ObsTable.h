// SPDX-License-Identifier: GPL-3.0-or-later
// The working database's observation table Obs: the one connection to it and every operation on
// its rows. Values always travel as bound parameters; readers of many rows stream through a
// callback. Failures throw SQLite::Exception (or SabrixError); a failed write leaves the table
// as it was.
//
// The table keeps its plotted columns (PlotColumns) in memory and changes them in the same call
// as every write, after the database has accepted it (marking alone writes its rows behind the
// caller, and every later statement waits for that write); no reference to the connection leaves
// this class, so no write can pass them by. They are built from the database when first needed,
// so a table opened on an existing file starts right too.
//
// Filling. A load hands the table the plotted columns it has drawn and has the rows written
// behind them (StartFill): a TableFill writes them on threads of its own while the caller plots
// from the columns. Until PollFill has seen the fill end, every method that would run SQL throws
// SabrixError; the column readers work. A failed or cancelled fill leaves the table and its
// columns empty. A table that took columns without a fill (a render that needs no rows) refuses
// SQL for good.
#pragma once

#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "data/ObsRow.h"
#include "data/PlotColumns.h"
#include "data/TableFill.h"

namespace SQLite {
class Database;
}  // namespace SQLite

namespace sabrix {

class ObsStatement;

class ObsTable {
  public:
    // Creates an empty database file holding the table Obs and its indexes (the template).
    static void CreateTemplate(const std::string& path);
    // Opens the database file at path for reading, as the constructor checks a working
    // database. Throws SQLite::Exception when it is no database holding Obs; changes nothing.
    static void CheckDatabase(const std::string& path);

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
        std::unique_ptr<ObsStatement> insert_;
        bool open_ = false;
        int64_t added_ = 0;
        PlotColumns::Builder columns_;
    };

    // Takes the plotted columns of rows that are still to be written (IDs 1 to n) and starts
    // writing the rows that source gives into the empty table behind them (see TableFill): the
    // columns are drawn from at once, the rows checked against them when the fill ends. Throws
    // SabrixError when the table is not empty or a fill runs already (nothing changes then).
    using RowSource = TableFill::RowSource;
    void StartFill(RowSource source, PlotColumns columns);
    // Takes the plotted columns of rows that will never be written: the table holds only these
    // columns and refuses every SQL method from now on.
    void AdoptPlotColumns(PlotColumns columns);

    struct FillStatus {
        enum class State { Idle, Running, Done, Failed };
        State state = State::Idle;
        int64_t rowsWritten = 0;
        // Failed: the JD of the row the database or the file refused (empty when no row was at
        // fault) and the database's or the source's description.
        std::string failedJD;
        std::string description;
    };
    // Running while the fill writes; once it has ended, Done (the table holds the rows and
    // answers SQL again) or Failed (the table and its columns are empty), reported once, and
    // Idle afterwards. Never blocks for longer than the end of a finished thread; never throws.
    FillStatus PollFill();
    // Waits for the fill to end, then as PollFill.
    FillStatus WaitForFill();
    // Stops a running fill within a few rows and waits for it: the rows written are rolled
    // back, the columns emptied. Does nothing when no fill runs. Never throws.
    void CancelFill();
    // A fill runs (or has ended without PollFill having seen it).
    bool Filling() const { return fill_ != nullptr; }

    int64_t Count() const;

    // The plotted columns (see PlotColumns); built from the database on first use.
    const PlotColumns& Columns() const;
    // Each of the following looks only at the rows that `shown` shows (see PointFilter).
    //
    // Extremes of the shown rows; nothing when none is shown.
    std::optional<DataExtremes> Extremes(const PointFilter& shown) const {
        return Columns().Extremes(shown);
    }
    // Shown rows with JD between the two bounds (inclusive, in either order), in JD order.
    // Returns the number visited.
    int64_t ForEachPointInWindow(double jdA, double jdB, const PointFilter& shown,
                                 const std::function<void(const PlotPoint&)>& visit) const {
        return Columns().ForEachPointInWindow(jdA, jdB, shown, visit);
    }
    // Every shown row with JD between the bounds (inclusive, in either order), in JD order
    // (ID order among equal JDs): its JD and its Mag as stored, in double precision. Returns
    // the number visited.
    int64_t ForEachMagnitudeInWindow(
        double jdA, double jdB, const PointFilter& shown,
        const std::function<void(double jd, double mag)>& visit) const {
        return Columns().ForEachMagnitudeInWindow(jdA, jdB, shown, visit);
    }

    // Every row in ID order (the order of the file it came from).
    void ForEachRowById(const std::function<void(const ObsRow&)>& visit) const;
    // Every row in ID order with only the fields the writers of star files and three-column
    // files use filled (ID, Desig, Star, JD, Faint, Mag, Uncertain, Comments, Init, Error);
    // the other fields are empty. One row object is reused, so a save of a million rows
    // allocates little.
    void ForEachExportRowById(const std::function<void(const ObsRow&)>& visit) const;
    std::optional<ObsRow> RowById(int64_t id) const;
    // The rows with these IDs, in the order given; an ID with no row is passed over.
    void ForEachRowOfIds(const std::vector<int64_t>& ids,
                         const std::function<void(const ObsRow&)>& visit) const;
    // Clears every marking; each marked row gets the colour that colorOf gives for it.
    // Returns the number of rows changed.
    int64_t UnMarkAll(const std::function<int32_t(const ObsRow&)>& colorOf);
    // Gives every row of the observer (the code compared exactly) the colour and the marking
    // number, and visits each marked row's JD and Mag in ID order. Returns the number of rows
    // marked. The columns change at once; the rows are written in one transaction on a thread
    // of the table's own, which every later statement of the table waits for. Should that
    // write fail, no row is marked, the columns are read again from the table, and the next
    // method that runs a statement throws SabrixError saying so (once).
    int64_t MarkObserverInIdOrder(const std::string& init, int32_t color,
                                  const std::string& markNumber,
                                  const std::function<void(double jd, double mag)>& visit);
    // Writes every column of the row with row.ID but ID itself in one statement. Returns
    // false when no row has that ID (nothing changes).
    bool UpdateRow(const ObsRow& row);
    // Writes every column of each row but ID (as UpdateRow) in one transaction; a row whose
    // ID has no row is passed over. Returns the number written. On failure none is written.
    int64_t UpdateRows(const std::vector<ObsRow>& rows);
    // Moves the rows with these IDs out of the table into a store of set-aside rows under the
    // number batch, in one transaction; returns how many there were. PutBack(batch) returns
    // them with their IDs and every field; ForgetSetAside empties the store. On failure
    // nothing moves.
    int64_t SetAside(const std::vector<int64_t>& ids, int64_t batch);
    // Returns the rows set aside under batch to the table; returns how many came back.
    int64_t PutBack(int64_t batch);
    void ForgetSetAside();

    // The rows with these IDs that an observer marking coloured (Marked not empty), in ID
    // order; empty when none is.
    std::vector<ObsRow> MarkedRowsOfIds(const std::vector<int64_t>& ids) const;
    // Deletes the rows with these IDs in one transaction, many IDs a statement; returns how
    // many there were. On failure no row is deleted.
    int64_t DeleteByIds(const std::vector<int64_t>& ids);

  private:
    // The connection, for every statement; throws while a fill runs or when the table holds
    // only columns.
    SQLite::Database& db() const;
    // Waits for a write running behind (marking); throws when it failed (see
    // MarkObserverInIdOrder).
    void settle() const;
    FillStatus finishFill();
    // Creates the store of set-aside rows on first use.
    void ensureSetAside();

    std::string path_;
    // No reference to the connection leaves this class: every statement of the program runs
    // here, so no write can pass the plot columns by.
    std::unique_ptr<SQLite::Database> db_;
    mutable PlotColumns columns_;
    mutable bool columnsReady_ = false;
    std::unique_ptr<TableFill> fill_;
    bool columnsOnly_ = false;
    bool setAsideReady_ = false;
    // A write running behind the caller, and its failure (read after the join).
    mutable std::thread behind_;
    mutable std::exception_ptr behindFailure_;
};

}  // namespace sabrix
