#pragma once
// account.ini as the sibling program writes it: one line per database group,
// each the Base64 of the group's ANSI (Windows-1252) record
//   FILE.mdb;DB-PASSWORD;;NICK;PASSWORD;;NICK;PASSWORD;;
// where every third field, which the reader skips, is left empty. Lines end
// in CRLF.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "AccountDescription.h"

namespace qv {

inline constexpr const char* kAccountFileName = "account.ini";

// Standard alphabet, '=' padding, no line breaks.
std::string EncodeBase64(std::string_view bytes);

// The decoded form of one line, in Windows-1252 bytes.
std::string GroupRecord(const DatabaseGroup& group);

// The whole file; no groups give an empty file.
std::string AccountFileBytes(const std::vector<DatabaseGroup>& groups);

struct CommandOutcome {
    int exitCode = 0;
    std::string message;  // UTF-8, for stderr; empty on success
};

// The write-accounts command, shared by the Windows and the native program.
// arguments: what follows "write-accounts" (DESCRIPTION-FILE [OUTPUT-FOLDER]);
// without OUTPUT-FOLDER the file goes into programFolder.
CommandOutcome RunWriteAccounts(const std::vector<std::filesystem::path>& arguments,
                                const std::filesystem::path& programFolder);

}  // namespace qv
