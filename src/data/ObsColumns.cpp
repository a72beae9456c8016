#include "data/ObsColumns.h"

#include <SQLiteCpp/Database.h>
#include <SQLiteCpp/Statement.h>

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
const std::array<ObsColumn, 30> kColumns = {
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

std::span<const ObsColumn> ObsColumns() {
    return kColumns;
}

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

void BindObsRow(SQLite::Statement& s, const ObsRow& row, int first) {
    int index = first;
    for (const ObsColumn& c : kColumns) {
        switch (c.type) {
            case Type::Text:
                s.bindNoCopy(index, row.*c.text);
                break;
            case Type::Real:
                s.bind(index, row.*c.real);
                break;
            case Type::Integer:
                s.bind(index, row.*c.integer);
                break;
        }
        ++index;
    }
}

void ConfigureObsConnection(SQLite::Database& db) {
    // The working database is a scratch copy, deleted at exit: durability buys nothing.
    db.exec("PRAGMA synchronous = OFF");
    db.exec("PRAGMA journal_mode = MEMORY");
    db.exec("PRAGMA cache_size = -65536");
}

void AddMissingObsColumns(SQLite::Database& db) {
    std::vector<std::string> present;
    {
        SQLite::Statement q(db, "SELECT name FROM pragma_table_info('Obs')");
        while (q.executeStep()) present.push_back(q.getColumn(0).getString());
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

std::string ObsColumnSet::SelectSql(std::string_view tail) const {
    std::string sql = "SELECT ID";
    for (const ObsColumn* c : columns_) sql += std::string(", ") + c->name;
    return sql + " FROM Obs " + std::string(tail);
}

void ObsColumnSet::Read(const SQLite::Statement& q, ObsRow& row) const {
    row.ID = q.getColumn(0).getInt64();
    int index = 1;
    for (const ObsColumn* c : columns_) {
        const SQLite::Column column = q.getColumn(index++);
        switch (c->type) {
            case Type::Text: {
                // As bytes: a Latin-1 text is kept as it was written.
                std::string& text = row.*c->text;
                const auto bytes = static_cast<size_t>(column.getBytes());
                if (bytes == 0)
                    text.clear();
                else
                    text.assign(static_cast<const char*>(column.getBlob()), bytes);
                break;
            }
            case Type::Real:
                row.*c->real = column.getDouble();
                break;
            case Type::Integer:
                row.*c->integer = column.getInt();
                break;
        }
    }
}

}  // namespace sabrix
