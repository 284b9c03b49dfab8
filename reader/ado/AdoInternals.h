#pragma once
// The state behind CADODatabase and CADORecordset.

#include <map>
#include <string>
#include <vector>

#include "ADODatabase.h"
#include "DatabaseFile.h"
#include "OdbcHandles.h"

namespace qv::ado_detail {

struct Connection {
    OdbcHandle dbc;
    bool open = false;
    DatabaseKind kind = DatabaseKind::Unknown;
    std::wstring source = L"ODBC";
    bool inTransaction = false;
    // Prepared INSERT statements by their text: a page import adds many rows
    // with the same columns, and preparing once keeps that fast.
    std::map<std::wstring, OdbcHandle> inserts;

    bool TranslatesJet() const { return kind == DatabaseKind::Sqlite; }
    // Rolls back an unfinished transaction, frees statements, disconnects.
    void Close() noexcept;
    ~Connection() { Close(); }
};

struct Column {
    std::wstring name;
    bool isDate = false;
    bool isNumber = false;
};

struct PendingValue {
    bool set = false;
    bool null = false;
    std::wstring text;  // canonical date text for SQLite date columns
    CADODate date;      // date columns of a Jet file
};

struct Recordset {
    bool open = false;
    std::shared_ptr<Connection> connection;
    std::vector<Column> columns;
    bool hasRow = false;
    std::vector<CADOValue> row;
    std::wstring table;
    int editMode = 0;
    std::vector<PendingValue> pending;

    void Reset();
};

}  // namespace qv::ado_detail
