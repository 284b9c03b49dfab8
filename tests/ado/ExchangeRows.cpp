#include "ExchangeRows.h"

#include <vector>

#include "ADODatabase.h"
#include "TextConvert.h"

#if defined(QV_EXCHANGE_WRITER)
#include "DatabaseMaker.h"
#endif

namespace qv::adotest {
namespace {

struct ExchangeRow {
    const wchar_t* date;
    const wchar_t* time;
    const wchar_t* receipt;
    const wchar_t* lastName;
    CADODate storedDate;
    CADODate storedTime;
};

const std::vector<ExchangeRow>& Rows() {
    static const std::vector<ExchangeRow> rows{
        {L"03/07/2009", L"10:15:30 PM", L"RÉÇ-1", L"MÜLLER 中文",
         {2009, 3, 7, 0, 0, 0}, {1899, 12, 30, 22, 15, 30}},
        {L"12/31/2009", L"00:00:01", L"", L"O'BRIEN #2",
         {2009, 12, 31, 0, 0, 0}, {1899, 12, 30, 0, 0, 1}},
        {L"1/15/2010", L"7:05 AM", L"R3", L"ŁÓDŹ",
         {2010, 1, 15, 0, 0, 0}, {1899, 12, 30, 7, 5, 0}},
    };
    return rows;
}

std::wstring Quote(const std::wstring& text) {
    std::wstring out = L"'";
    for (const wchar_t ch : text) {
        out.push_back(ch);
        if (ch == L'\'') out.push_back(ch);
    }
    return out + L"'";
}

std::wstring ConnectionString(const std::filesystem::path& folder) {
    return L"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" +
           (folder / "data" / kExchangeFile).wstring() +
           L";Persist Security Info=true;Jet OLEDB:Database Password=" + kExchangePassword;
}

std::string Describe(const CADOException& error) {
    return "database error " + std::to_string(error.GetError()) + ": " +
           WideToUtf8(error.GetErrorMessage());
}

}  // namespace

#if defined(QV_EXCHANGE_WRITER)
std::string WriteExchangeRows(const std::filesystem::path& folder) {
    try {
        const auto file = folder / "data" / kExchangeFile;
        std::filesystem::create_directories(file.parent_path());
        std::filesystem::remove(file);
        MakeGroupDatabase(file, DatabaseGroup{kExchangeFile, kExchangePassword,
                                              {{kExchangeTable, L"pw"}}});
        CADODatabase db;
        if (!db.Open(ConnectionString(folder))) return "the new file did not open";
        db.BeginTrans();
        for (const ExchangeRow& row : Rows()) {
            CADORecordset rs(db);
            rs.Open(db, std::wstring(L"SELECT * FROM ") + kExchangeTable + L" WHERE ID = 0");
            rs.AddNew();
            rs.SetFieldValue(L"Date", row.date);
            rs.SetFieldValue(L"Time", row.time);
            rs.SetFieldValue(L"Receipt", row.receipt);
            rs.SetFieldValue(L"Last Name", row.lastName);
            if (!rs.Update()) return "a row was not written cleanly";
            rs.Close();
        }
        db.CommitTrans();
    } catch (const CADOException& error) {
        return Describe(error);
    } catch (const std::exception& error) {
        return error.what();
    }
    return {};
}
#endif

std::string CheckExchangeRows(const std::filesystem::path& folder) {
    try {
        CADODatabase db;
        if (!db.Open(ConnectionString(folder))) return "the file did not open";
        for (const ExchangeRow& row : Rows()) {
            const std::wstring receipt =
                *row.receipt ? L"= " + Quote(row.receipt) : std::wstring(L"is NULL");
            CADORecordset rs(db);
            rs.Open(db, std::wstring(L"SELECT * FROM ") + kExchangeTable + L" WHERE Date = (#" +
                            row.date + L"#) AND Time = (#" + row.time + L"#) AND Receipt " +
                            receipt + L" AND [Last Name] = " + Quote(row.lastName));
            const std::string which = WideToUtf8(row.lastName);
            if (rs.IsEOF()) return "row " + which + " was not found";
            if (rs.GetFieldValue(1) != CADOValue(row.storedDate)) return "row " + which + ": Date";
            if (rs.GetFieldValue(2) != CADOValue(row.storedTime)) return "row " + which + ": Time";
            const CADOValue name = rs.GetFieldValue(15);
            if (!name.IsText() || name.GetText() != row.lastName) return "row " + which + ": name";
        }
        CADORecordset newest(db);
        newest.Open(db, std::wstring(L"SELECT TOP 1 * FROM ") + kExchangeTable +
                            L" ORDER BY Date DESC");
        if (newest.IsEOF() || newest.GetFieldValue(1) != CADOValue(CADODate{2010, 1, 15, 0, 0, 0})) {
            return "the newest date is wrong";
        }
    } catch (const CADOException& error) {
        return Describe(error);
    }
    return {};
}

}  // namespace qv::adotest
