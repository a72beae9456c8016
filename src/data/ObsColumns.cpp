// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/ObsColumns.h"

#include <SQLiteCpp/Database.h>
#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <stdexcept>

namespace sabrix {

namespace {

using Type = ObsColumn::Type;

ObsColumn Text(const char* name, std::string ObsRow::*member, bool later = false) {
    return ObsColumn{name, Type::Text, member, nullptr, nullptr, false, later};
}

ObsColumn Real(const char* name, double ObsRow::*member, bool required) {
    return ObsColumn{name, Type::Real, nullptr, member, nullptr, required, false};
}

// The order is the table's: a template of an older build has the first 24, and the later six
// are appended to it in this order.
const std::array<ObsColumn, kObsColumnCount> kColumns = {
    Text("Desig", &ObsRow::Desig),
    Text("Star", &ObsRow::Star),
    Real("JD", &ObsRow::JD, true),
    Text("Faint", &ObsRow::Faint),
    Real("Mag", &ObsRow::Mag, true),
    Text("Uncertain", &ObsRow::Uncertain),
    Text("HQUncertain", &ObsRow::HQUncertain),
    Text("Band", &ObsRow::Band),
    Text("Init", &ObsRow::Init),
    Text("ComCod", &ObsRow::ComCod),
    Text("Comp1", &ObsRow::Comp1),
    Text("Comp2", &ObsRow::Comp2),
    Text("Charts", &ObsRow::Charts),
    Text("Comments", &ObsRow::Comments),
    Text("XForm", &ObsRow::XForm),
    Text("AirMass", &ObsRow::AirMass),
    Text("Valid", &ObsRow::Valid),
    Text("CMag", &ObsRow::CMag),
    Text("KMag", &ObsRow::KMag),
    Text("HQJD", &ObsRow::HQJD),
    ObsColumn{"PunktFarb", Type::Integer, nullptr, nullptr, &ObsRow::PunktFarb},
    Text("Marked", &ObsRow::Marked),
    Text("Edited", &ObsRow::Edited),
    Real("Error", &ObsRow::Error, false),
    Text("ObserverAffiliation", &ObsRow::ObserverAffiliation, true),
    Text("MeasurementMethod", &ObsRow::MeasurementMethod, true),
    Text("GroupingMethod", &ObsRow::GroupingMethod, true),
    Text("ADSReference", &ObsRow::ADSReference, true),
    Text("Digitizer", &ObsRow::Digitizer, true),
    Text("Credit", &ObsRow::Credit, true),
};

std::string Definition(const ObsColumn& c) {
    std::string d = c.name;
    switch (c.type) {
        case Type::Text:
            return d + " TEXT NOT NULL DEFAULT ''";
        case Type::Real:
            return d + (c.required ? " REAL NOT NULL" : " REAL NOT NULL DEFAULT 0");
        case Type::Integer:
            return d + " INTEGER NOT NULL DEFAULT 0";
    }
    return d;
}

}  // namespace

std::string ObsSchemaSql() {
    std::string sql = "CREATE TABLE Obs (\n    ID INTEGER PRIMARY KEY";
    for (const ObsColumn& c : kColumns) sql += ",\n    " + Definition(c);
    return sql + "\n);\nCREATE INDEX ObsJD ON Obs (JD);\nCREATE INDEX ObsInit ON Obs (Init);\n";
}

std::string ObsInsertSql(int rows) {
    std::string sql = "INSERT INTO Obs (ID";
    std::string values = "(?";
    for (const ObsColumn& c : kColumns) {
        sql += std::string(", ") + c.name;
        values += ",?";
    }
    values += ")";
    sql += ") VALUES " + values;
    for (int i = 1; i < rows; ++i) sql += "," + values;
    return sql;
}

std::string ObsUpdateSql() {
    std::string sql = "UPDATE Obs SET ";
    for (const ObsColumn& c : kColumns) {
        if (&c != &kColumns.front()) sql += ", ";
        sql += std::string(c.name) + " = ?";
    }
    return sql + " WHERE ID = ?";
}

void BindObsRow(ObsStatement& s, const ObsRow& row, int first) {
    int index = first;
    for (const ObsColumn& c : kColumns) {
        switch (c.type) {
            case Type::Text:
                s.bindText(index, row.*c.text);
                break;
            case Type::Real:
                s.bind(index, row.*c.real);
                break;
            case Type::Integer:
                s.bind(index, static_cast<int64_t>(row.*c.integer));
                break;
        }
        ++index;
    }
}

std::unique_ptr<SQLite::Database> OpenObsDatabase(const std::string& path) {
    // SQLite counts the memory it takes under a lock of the whole process; the program never
    // asks for the count. Possible only before SQLite's first use: later it changes nothing.
    static const bool uncounted = sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0) == SQLITE_OK;
    (void)uncounted;
    auto db =
        std::make_unique<SQLite::Database>(path, SQLite::OPEN_READWRITE | SQLite::OPEN_NOMUTEX);
    // The working database is a scratch copy, deleted at exit: durability buys nothing.
    db->exec("PRAGMA synchronous = OFF");
    db->exec("PRAGMA journal_mode = MEMORY");
    db->exec("PRAGMA cache_size = -65536");
    return db;
}

void AddMissingObsColumns(SQLite::Database& db) {
    std::vector<std::string> present;
    {
        ObsStatement q(db, "SELECT name FROM pragma_table_info('Obs')");
        std::string name;
        while (q.step()) {
            q.text(0, name);
            present.push_back(name);
        }
    }
    for (const ObsColumn& c : kColumns)
        if (c.later && std::find(present.begin(), present.end(), c.name) == present.end())
            db.exec("ALTER TABLE Obs ADD COLUMN " + Definition(c));
}

const ObsColumnSet& ObsColumnSet::All() {
    static const ObsColumnSet all = [] {
        ObsColumnSet set;
        for (const ObsColumn& c : kColumns) set.columns_.push_back(&c);
        return set;
    }();
    return all;
}

ObsColumnSet::ObsColumnSet(std::initializer_list<std::string_view> names) {
    for (const std::string_view name : names) {
        const auto it = std::find_if(kColumns.begin(), kColumns.end(),
                                     [name](const ObsColumn& c) { return c.name == name; });
        if (it == kColumns.end()) throw std::invalid_argument("no column " + std::string(name));
        columns_.push_back(&*it);
    }
}

std::string ObsColumnSet::SelectSql(std::string_view tail, std::string_view from) const {
    std::string sql = "SELECT ID";
    for (const ObsColumn* c : columns_) sql += std::string(", ") + c->name;
    return sql + " FROM " + std::string(from) + " " + std::string(tail);
}

void ObsColumnSet::Read(const ObsStatement& q, ObsRow& row) const {
    row.ID = q.int64(0);
    int index = 1;
    for (const ObsColumn* c : columns_) {
        switch (c->type) {
            case Type::Text:
                // As bytes: a Latin-1 text is kept as it was written.
                q.text(index, row.*c->text);
                break;
            case Type::Real:
                row.*c->real = q.real(index);
                break;
            case Type::Integer:
                row.*c->integer = static_cast<int32_t>(q.int64(index));
                break;
        }
        ++index;
    }
}

ObsStatement::ObsStatement(SQLite::Database& db, const std::string& sql) : db_(db.getHandle()) {
    const int result = sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement_, nullptr);
    if (result != SQLITE_OK) throw SQLite::Exception(db_, result);
}

ObsStatement::~ObsStatement() {
    sqlite3_finalize(statement_);
}

namespace {
void Check(sqlite3* db, int result) {
    if (result != SQLITE_OK) throw SQLite::Exception(db, result);
}
}  // namespace

void ObsStatement::bind(int index, int64_t value) {
    Check(db_, sqlite3_bind_int64(statement_, index, value));
}

void ObsStatement::bind(int index, double value) {
    Check(db_, sqlite3_bind_double(statement_, index, value));
}

void ObsStatement::bindNull(int index) {
    Check(db_, sqlite3_bind_null(statement_, index));
}

void ObsStatement::bindText(int index, std::string_view text) {
    // A non-null pointer even for an empty text: null would bind NULL.
    Check(db_, sqlite3_bind_text(statement_, index, text.empty() ? "" : text.data(),
                                 static_cast<int>(text.size()), SQLITE_STATIC));
}

bool ObsStatement::step() {
    const int result = sqlite3_step(statement_);
    if (result == SQLITE_ROW) return true;
    if (result == SQLITE_DONE) return false;
    throw SQLite::Exception(db_, result);
}

int64_t ObsStatement::exec() {
    const int result = sqlite3_step(statement_);
    if (result != SQLITE_DONE) {
        // The description is taken before the reset, which would report the failure again.
        SQLite::Exception failure(db_, result);
        sqlite3_reset(statement_);
        throw failure;
    }
    sqlite3_reset(statement_);
    return sqlite3_changes64(db_);
}

void ObsStatement::reset() {
    sqlite3_reset(statement_);
}

int64_t ObsStatement::int64(int column) const {
    return sqlite3_column_int64(statement_, column);
}

double ObsStatement::real(int column) const {
    return sqlite3_column_double(statement_, column);
}

void ObsStatement::text(int column, std::string& into) const {
    const void* bytes = sqlite3_column_blob(statement_, column);
    const int size = sqlite3_column_bytes(statement_, column);
    if (bytes == nullptr || size <= 0)
        into.clear();
    else
        into.assign(static_cast<const char*>(bytes), static_cast<size_t>(size));
}

}  // namespace sabrix
