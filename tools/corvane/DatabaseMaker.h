#pragma once
// The group databases that the sibling program provides: one SQLite file per
// group, under the program folder's "data" folder, holding one table per
// vendor account (named by its nickname) with the transaction columns, the
// indexes the duplicate test runs on, and the group's database password.
// The files are made through ODBC (the SQLite3 driver), the way the reader
// later opens them.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "AccountDescription.h"
#include "AccountFileWriter.h"

namespace qv {

inline constexpr const char* kDataFolderName = "data";

// The columns of an account table, in order. The first is filled by the
// database; "Date", "Time" and "DateTime" hold dates and times.
std::vector<std::wstring> AccountTableColumns();

// Creates the file when it is missing; otherwise adds the tables that are
// missing. An existing file must be an SQLite database with the same
// password. Raises std::runtime_error (UTF-8 text, no password) on failure.
void MakeGroupDatabase(const std::filesystem::path& file, const DatabaseGroup& group);

// The make-databases command: DESCRIPTION-FILE [OUTPUT-FOLDER]; the files go
// to OUTPUT-FOLDER/data (made when missing), or programFolder/data.
CommandOutcome RunMakeDatabases(const std::vector<std::filesystem::path>& arguments,
                                const std::filesystem::path& programFolder);

// The command named first on the command line ("write-accounts" or
// "make-databases") with the arguments after it; nothing for another name.
std::optional<CommandOutcome> RunCommand(std::wstring_view command,
                                         const std::vector<std::filesystem::path>& arguments,
                                         const std::filesystem::path& programFolder);
inline constexpr char kCommandsUsage[] =
    "write-accounts|make-databases DESCRIPTION-FILE [OUTPUT-FOLDER]";

}  // namespace qv
