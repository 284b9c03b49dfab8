#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "HtmlDocument.h"
#include "HtmlDom.h"
#include "HtmlTreeBuilder.h"
#include "TextConvert.h"

namespace qv::html {
namespace {

// Markup made of pieces that drive the tokenizer and tree builder through
// their awkward corners: tables, formatting elements, raw text, references.
std::wstring RandomMarkup(std::mt19937& random, std::size_t pieces) {
    static const std::vector<std::wstring> kPieces = {
        L"<",           L">",           L"/",          L"=",
        L"\"",          L"'",           L"&",          L"#",
        L";",           L"x",           L" ",          L"\n",
        L"\r",          L"\0",          L"<!--",       L"-->",
        L"<!",          L"<?",          L"</",         L"<!DOCTYPE html>",
        L"&amp",        L"&#x",         L"&#1",        L"&nbsp;",
        L"<table>",     L"</table>",    L"<tr>",       L"<td>",
        L"</td>",       L"<th>",        L"<tbody>",    L"<caption>",
        L"<colgroup>",  L"<col>",       L"<b>",        L"</b>",
        L"<i>",         L"</i>",        L"<a href=x>", L"</a>",
        L"<font>",      L"</font>",     L"<nobr>",     L"<p>",
        L"</p>",        L"<div>",       L"</div>",     L"<li>",
        L"<ul>",        L"<select>",    L"<option>",   L"<optgroup>",
        L"</select>",   L"<form>",      L"</form>",    L"<input name=n>",
        L"<textarea>",  L"</textarea>", L"<script>",   L"</script>",
        L"<style>",     L"</style>",    L"<title>",    L"<html>",
        L"<head>",      L"</head>",     L"<body>",     L"</body>",
        L"</html>",     L"<frameset>",  L"<frame>",    L"<button>",
        L"<object>",    L"</object>",   L"<template>", L"</template>",
        L"<plaintext>", L"<h1>",        L"<h2>",       L"</h1>",
        L"<dd>",        L"<dt>",        L"<br/>",      L"</br>",
        L"<img>",       L"<svg/>",      L"<center>",   L"\xD83D",
        L"\xDE00",      L"\xFFFF",      L"\x00A0",     L"<input type=submit id=go>",
        L"<span id=go>"};
    std::uniform_int_distribution<std::size_t> pick(0, kPieces.size() - 1);
    std::wstring markup;
    for (std::size_t i = 0; i < pieces; ++i) {
        const std::wstring& piece = kPieces[pick(random)];
        markup += piece.empty() ? std::wstring(1, L'\0') : piece;
    }
    return markup;
}

TEST(HtmlRobustness, RandomMarkupParsesSerialisesAndSubmits) {
    std::mt19937 random(20240601);
    for (int round = 0; round < 1500; ++round) {
        const std::wstring markup = RandomMarkup(random, 1 + round % 200);
        auto document = Document::ParseText(markup, L"https://h.localhost/p");
        const std::wstring once = document->Serialize();
        // Serialised markup parses again without trouble.
        auto again = Document::ParseText(once, L"https://h.localhost/p");
        again->Serialize();
        if (Element* go = document->GetElementById(L"go")) {
            document->Click(*go);
            if (go->Parent() != nullptr && go->Parent()->IsElement()) {
                EXPECT_TRUE(document->SetOuterHtml(*go, RandomMarkup(random, 30)));
            }
            document->Serialize();
        }
    }
}

TEST(HtmlRobustness, RandomBytesInEveryCharset) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 300; ++round) {
        std::string bytes = round % 2 ? "<meta charset=utf-8>" : "";
        for (int i = 0; i < 400; ++i) bytes.push_back(static_cast<char>(byte(random)));
        auto document = Document::Parse(bytes, round % 3 ? "" : "text/html; charset=utf-8",
                                        L"https://h.localhost/");
        document->Serialize();
    }
}

std::wstring Repeat(std::wstring_view piece, std::size_t times) {
    std::wstring out;
    out.reserve(piece.size() * times);
    for (std::size_t i = 0; i < times; ++i) out += piece;
    return out;
}

TEST(HtmlRobustness, DeepNestingIsBoundedAndFast) {
    for (const wchar_t* piece : {L"<div>", L"<b>", L"<table><tr><td>", L"<a><p>", L"<i><div>",
                                 L"<select><option>", L"<font size=1>x"}) {
        auto document = Document::ParseText(Repeat(piece, 40000) + L"<p id=end>e", L"https://h/");
        Element* end = document->GetElementById(L"end");
        ASSERT_NE(end, nullptr) << "after " << piece;
        std::size_t depth = 0;
        for (const Node* p = end; p != nullptr; p = p->Parent()) ++depth;
        EXPECT_LE(depth, kMaxOpenElements + 8);
        EXPECT_FALSE(document->Serialize().empty());
    }
}

// Each name given twice on the body, on a formatting element opened twice
// (whose lists are compared) and on a repeated body tag: the first value of
// each name stays, once.
TEST(HtmlRobustness, ThousandsOfRepeatedAttributesKeepTheFirstOfEach) {
    constexpr int kNames = 5000;
    std::wstring attributes;
    for (int pass = 0; pass < 2; ++pass) {
        for (int n = 0; n < kNames; ++n) {
            attributes += L" a" + std::to_wstring(n) + (pass == 0 ? L"=first" : L"=second");
        }
    }
    auto document = Document::ParseText(L"<body" + attributes + L"><b id=one" + attributes +
                                            L">x</b><b id=two" + attributes + L">y</b><body" +
                                            attributes + L" z=last>",
                                        L"https://h/");
    const auto check = [&](const Element& element, std::size_t size) {
        ASSERT_EQ(element.Attributes().size(), size) << WideToUtf8(element.LocalName());
        for (int n = 0; n < kNames; ++n) {
            const std::wstring* value = element.GetAttribute(L"a" + std::to_wstring(n));
            ASSERT_NE(value, nullptr) << n;
            ASSERT_EQ(*value, L"first") << n;
        }
    };
    for (const wchar_t* id : {L"one", L"two"}) {
        const Element* b = document->GetElementById(id);
        ASSERT_NE(b, nullptr);
        check(*b, kNames + 1);
    }
    const Element* body = NearestAncestor(*document->GetElementById(L"one"), L"body");
    ASSERT_NE(body, nullptr);
    check(*body, kNames + 1);
    EXPECT_EQ(*body->GetAttribute(L"z"), L"last");
}

TEST(HtmlRobustness, RepeatedReplacementsDoNotGrowTheStack) {
    auto document = Document::ParseText(L"<div><span id=t></span></div>", L"https://h/");
    for (int i = 0; i < 200; ++i) {
        Element* target = document->GetElementById(L"t");
        ASSERT_NE(target, nullptr);
        ASSERT_TRUE(document->SetOuterHtml(*target, Repeat(L"<div>", 300) + L"<span id=t></span>"));
    }
    // 60000 levels: serialising and destroying must not recurse.
    EXPECT_GT(document->Serialize().size(), 60000u * 5);
}

}  // namespace
}  // namespace qv::html
