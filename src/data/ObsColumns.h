// SPDX-License-Identifier: GPL-3.0-or-later
// The observation table Obs as SQL, for ObsTable and its fill, which run every statement of the
// program. Its columns are written once: the schema, every SQL text that names a row's columns,
// and the binding and reading of an ObsRow are generated from the one list below, so a column
// added to ObsRow is added here and nowhere else.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "data/ObsRow.h"

struct sqlite3;
struct sqlite3_stmt;

namespace SQLite {
class Database;
class Statement;
}  // namespace SQLite

namespace sabrix {

// The number of columns of Obs besides ID.
constexpr int kObsColumnCount = 30;

class ObsStatement;

// One column of Obs besides ID: its name, its type and the member of ObsRow that holds it.
struct ObsColumn {
    enum class Type { Text, Real, Integer };
    const char* name;
    Type type;
    std::string ObsRow::*text = nullptr;  // Type::Text
    double ObsRow::*real = nullptr;       // Type::Real
    int32_t ObsRow::*integer = nullptr;   // Type::Integer
    // JD and Mag have no default: a row always gives them.
    bool required = false;
    // Added after the first templates: an older table gets it (empty) when it is opened.
    bool later = false;
};

// CREATE TABLE Obs and its indexes on JD and Init.
std::string ObsSchemaSql();

// "INSERT INTO Obs (ID, ...) VALUES (...)" for `rows` rows at once: each row's ID, then its
// 30 columns (BindObsRow), 31 parameters a row.
std::string ObsInsertSql(int rows = 1);

// "UPDATE Obs SET ... WHERE ID = ?": the 30 columns, then the ID as parameter 31.
std::string ObsUpdateSql();

// Binds the 30 columns of row to the parameters first, first + 1, ... Texts are bound without
// a copy: the row must stay unchanged until the statement has run.
void BindObsRow(ObsStatement& statement, const ObsRow& row, int first);

// Opens a connection to the working database at path with the settings of every connection
// to it. A connection serves one thread at a time, so it takes no lock of its own for each
// call (a fill makes a million calls a second). Throws SQLite::Exception when it cannot.
std::unique_ptr<SQLite::Database> OpenObsDatabase(const std::string& path);

// Adds to the table the later columns that it lacks (a table of an older template). Throws
// SQLite::Exception when the database refuses.
void AddMissingObsColumns(SQLite::Database& db);

// A statement that reads or writes rows, run up to a million times: values are bound and read
// straight through SQLite, with no wrapper object per value. Failures throw SQLite::Exception.
class ObsStatement {
  public:
    ObsStatement(SQLite::Database& db, const std::string& sql);
    ~ObsStatement();
    ObsStatement(const ObsStatement&) = delete;
    ObsStatement& operator=(const ObsStatement&) = delete;

    void bind(int index, int64_t value);
    void bind(int index, double value);
    // Binds NULL.
    void bindNull(int index);
    // Binds the bytes without a copy: text must stay unchanged until the statement has run.
    void bindText(int index, std::string_view text);
    // Steps to the next row; false when there is none.
    bool step();
    // Runs a statement that returns no row and makes it ready to run again; returns the
    // number of rows it changed. On failure the statement is ready to run again too.
    int64_t exec();
    // Makes the query ready to run again (bindings are kept).
    void reset();

    int64_t int64(int column) const;
    double real(int column) const;
    // The column's bytes, into a string whose room is reused.
    void text(int column, std::string& into) const;

  private:
    sqlite3* db_;
    sqlite3_stmt* statement_ = nullptr;
};

// A choice of columns read together: the SELECT naming them (ID first) and the reading of the
// current row of that SELECT into an ObsRow.
class ObsColumnSet {
  public:
    // Every column.
    static const ObsColumnSet& All();
    // The named columns; throws std::invalid_argument for a name that is no column.
    ObsColumnSet(std::initializer_list<std::string_view> names);

    // "SELECT ID, <columns> FROM <from> " + tail.
    std::string SelectSql(std::string_view tail, std::string_view from = "Obs") const;
    // Reads ID and the chosen columns of the current row into row, reusing its strings; the
    // other fields keep what they held.
    void Read(const ObsStatement& query, ObsRow& row) const;

  private:
    ObsColumnSet() = default;
    std::vector<const ObsColumn*> columns_;
};

}  // namespace sabrix
