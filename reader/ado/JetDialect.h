#pragma once
// The Jet SQL that the reader writes, as SQLite understands it:
//   SELECT TOP n ...            -> SELECT ... LIMIT n   (also inside a subquery)
//   #03/07/2009 10:15:30#       -> '2009-03-07 10:15:30' (the canonical date text)
//   "text"                      -> 'text'               (Jet's double-quoted strings)
// Quoted strings and [bracketed names] pass through untouched, so quotes and
// '#' inside them never count as syntax.

#include <string>
#include <string_view>

namespace qv::ado_detail {

// Raises Failure (a syntax error) for an unclosed literal, a date literal
// that is no date, or TOP without a number.
std::wstring TranslateJetToSqlite(std::wstring_view jet);

// The table that a row added to the result of this SELECT goes into: the one
// name after the outermost FROM; empty when there is none or several.
std::wstring FindUpdatableTable(std::wstring_view select);

// Names and keywords compare as Jet compares them: without regard to case.
bool SameWord(std::wstring_view a, std::wstring_view b);

}  // namespace qv::ado_detail
