#pragma once
// Building the account list from account.ini, which the sibling program
// writes: one line per database group, each the Base64 of ANSI text made of
// fields that end in ';', in triples. The first triple of a line is the group
// (database file, its password, an unused field), every further triple one
// vendor account (nickname, password, an unused field).

#include <string>
#include <string_view>
#include <vector>

#include "AccountList.h"

namespace qv {

inline constexpr const wchar_t* kAccountFile = L"account.ini";

// The fields of a decoded line: the text before each ';'. Text after the last
// ';' is no field.
std::vector<std::wstring> SplitAccountFields(std::wstring_view text);

// Appends the nodes of one decoded line. A triple that lacks a field the
// node needs (a nickname without its password, a database file without its
// password) gives no node; the rest of the line still does. Returns the
// number of nodes appended.
std::size_t AddAccountLine(AccountList& list, std::wstring_view decodedText);

// Reads programFolder + "account.ini" (programFolder ends with its
// separator) and appends its nodes in file order. A missing file adds
// nothing; so does a line that is not ended by a line feed.
void LoadAccounts(const std::wstring& programFolder, AccountList& list);

// Brings the list in line with the accounts of `fresh` (a list just read
// from the file): a group that is still there (same name and database file)
// and an account still in it (same nickname) keep their node, with its
// ON/OFF state and its recent list, and take the file's passwords; new ones
// get new nodes (ON), and the nodes the file no longer names are unlinked.
// True when the list changed.
bool MergeAccounts(AccountList& list, const AccountList& fresh);

// Reads account.ini again and merges it; true when the list changed.
bool ReloadAccounts(const std::wstring& programFolder, AccountList& list);

}  // namespace qv
