// Times markup built to make a careless parser slow: the engine parsing one
// element with 200 000 attributes, half of them repeats of earlier names, and
// the report parser reading a table whose cell holds 200 000 tags, beside a
// few other long runs (an attribute value, character references, a comment).
// Each figure should grow with the size of its input, not with its square.
// Prints one line per figure, "NAME: MILLISECONDS ms"; exits 1 when a parse
// gives a wrong result.
//
//     markup_bench

#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "HtmlDocument.h"
#include "HtmlDom.h"
#include "ReportParser.h"
#include "Stopwatch.h"

namespace {

constexpr int kCount = 200000;

using qv::tools::Milliseconds;

void Report(const char* name, double ms) {
    std::printf("%s: %.1f ms\n", name, ms);
}

void Require(bool condition, const char* what) {
    if (!condition) throw std::runtime_error(what);
}

std::unique_ptr<qv::html::Document> Parse(const std::wstring& html) {
    return qv::html::Document::ParseText(html, L"http://bench.invalid/");
}

// kCount / 2 distinct names, then each of them again with another value:
// the repeats are dropped and the first values stay.
void ManyAttributes() {
    std::wstring html = L"<div id=\"target\"";
    for (int pass = 0; pass < 2; ++pass) {
        for (int n = 0; n < kCount / 2; ++n) {
            html += L" a" + std::to_wstring(n) + (pass == 0 ? L"=\"first\"" : L"=\"second\"");
        }
    }
    html += L">x</div>";
    std::unique_ptr<qv::html::Document> document;
    Report("attributes", Milliseconds([&] { document = Parse(html); }));
    const qv::html::Element* div = document->GetElementById(L"target");
    Require(div != nullptr, "the element with many attributes is missing");
    Require(div->Attributes().size() == kCount / 2 + 1, "repeated attributes were not dropped");
    Require(div->Attributes().back().value == L"first", "a repeated attribute replaced the first");
}

void LongAttributeValue() {
    const std::wstring html =
        L"<p id=\"target\" title=\"" + std::wstring(kCount * 10, L'v') + L"\">x</p>";
    std::unique_ptr<qv::html::Document> document;
    Report("attribute-value", Milliseconds([&] { document = Parse(html); }));
    const qv::html::Element* p = document->GetElementById(L"target");
    Require(p != nullptr && p->GetAttribute(L"title")->size() == kCount * 10u,
            "the long attribute value was not kept");
}

void ManyReferences() {
    std::wstring html = L"<p id=\"target\">";
    for (int n = 0; n < kCount; ++n) html += n % 2 == 0 ? L"&amp;" : L"&#x41;";
    html += L"</p><p title=\"";
    for (int n = 0; n < kCount; ++n) html += L"&lt";
    html += L"\">y</p>";
    std::unique_ptr<qv::html::Document> document;
    Report("references", Milliseconds([&] { document = Parse(html); }));
    const qv::html::Element* p = document->GetElementById(L"target");
    Require(p != nullptr && qv::html::TextContent(*p).size() == static_cast<std::size_t>(kCount),
            "the character references were not decoded");
}

void LongComment() {
    std::wstring html = L"<p id=\"target\"><!--";
    for (int n = 0; n < kCount; ++n) html += L"-- -!";
    html += L"--></p>";
    std::unique_ptr<qv::html::Document> document;
    Report("comment", Milliseconds([&] { document = Parse(html); }));
    const qv::html::Element* p = document->GetElementById(L"target");
    Require(p != nullptr && p->Children().size() == 1 &&
                p->Children()[0]->Kind() == qv::html::NodeKind::Comment,
            "the comment was not read as one");
}

// One row whose date cell holds kCount tags around its text.
void ManyTagsInACell() {
    std::wstring html =
        L"<table><tbody><tr><td><center><a href=\"mailto:buyer@example.com\">buyer</a>"
        L"</center></td><td>";
    for (int n = 0; n < kCount; ++n) html += n == kCount / 2 ? L"<b>03/19/2008" : L"<b>";
    html += L"</td>";
    for (int n = 0; n < 14; ++n) html += L"<td>x</td>";
    html += L"</tr></tbody></table>";
    std::vector<qv::TransactionRecord> rows;
    Report("cell-tags", Milliseconds([&] { rows = qv::ParseReportRows(html); }));
    Require(rows.size() == 1, "the row with many tags was not read");
    Require(rows[0].GetString(qv::RecordField::Date) == L"03/19/2008",
            "the cell's text was not kept whole");
}

}  // namespace

int main() {
    try {
        ManyAttributes();
        LongAttributeValue();
        ManyReferences();
        LongComment();
        ManyTagsInACell();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "markup_bench: %s\n", e.what());
        return 1;
    }
    return 0;
}
