#include <gtest/gtest.h>

#include <string>

#include "HtmlDocument.h"
#include "HtmlDom.h"
#include "TextConvert.h"

namespace qv::html {
namespace {

const std::wstring kPageUrl = L"https://market.localhost/page.htm";

std::wstring BodyHtml(std::wstring_view markup) {
    auto document = Document::ParseText(markup, kPageUrl);
    const Element* html = nullptr;
    for (const auto& child : document->Root().Children()) {
        if (child->IsElement()) html = child->AsElement();
    }
    if (html == nullptr) return L"<no html element>";
    for (const auto& child : html->Children()) {
        const Element* element = child->AsElement();
        if (element != nullptr && element->Is(L"body")) return document->InnerHtml(*element);
    }
    return L"<no body>";
}

struct TreeCase {
    const char* what;
    std::wstring markup;
    std::wstring body;  // inner HTML of body
};

void PrintTo(const TreeCase& c, std::ostream* os) {
    *os << c.what;
}

class BodyInnerHtml : public testing::TestWithParam<TreeCase> {};

TEST_P(BodyInnerHtml, IsWhatABrowserSerialises) {
    EXPECT_EQ(WideToUtf8(BodyHtml(GetParam().markup)), WideToUtf8(GetParam().body));
}

INSTANTIATE_TEST_SUITE_P(
    Markup, BodyInnerHtml,
    testing::Values(
        TreeCase{"no-break space", L"<p>a&nbsp;b\u00A0c", L"<p>a&nbsp;b&nbsp;c</p>"},
        TreeCase{"p implied end by p", L"<p>one<p>two", L"<p>one</p><p>two</p>"},
        TreeCase{"p closed by div", L"<p>text<div>block</div>after",
                 L"<p>text</p><div>block</div>after"},
        TreeCase{"stray p end tag", L"<div></p></div>", L"<div><p></p></div>"},
        TreeCase{"li implied end", L"<ul><li>a<li>b</ul>", L"<ul><li>a</li><li>b</li></ul>"},
        TreeCase{"dt and dd", L"<dl><dt>a<dd>b<dt>c</dl>",
                 L"<dl><dt>a</dt><dd>b</dd><dt>c</dt></dl>"},
        TreeCase{"headings", L"<h1>a<h2>b", L"<h1>a</h1><h2>b</h2>"},
        TreeCase{"option implied end", L"<select name=s><option>a<option selected>b</select>",
                 L"<select name=\"s\"><option>a</option><option selected=\"\">b</option></select>"},
        TreeCase{"tbody and cell ends implied", L"<table><tr><td>1<td>2<tr><th>3</table>",
                 L"<table><tbody><tr><td>1</td><td>2</td></tr><tr><th>3</th></tr></tbody></table>"},
        TreeCase{"nested tables", L"<table><tr><td><table><tr><td>in</table>out</table>",
                 L"<table><tbody><tr><td><table><tbody><tr><td>in</td></tr></tbody></table>out"
                 L"</td></tr></tbody></table>"},
        TreeCase{
            "thead kept, rows after it get a tbody",
            L"<table><thead><tr><th>h</th></tr></thead><tr><td>d</td></tr></table>",
            L"<table><thead><tr><th>h</th></tr></thead><tbody><tr><td>d</td></tr></tbody></table>"},
        TreeCase{"foster-parented text", L"<table>x<tr><td>y</td></tr>z</table>",
                 L"xz<table><tbody><tr><td>y</td></tr></tbody></table>"},
        TreeCase{"foster-parented element", L"<table><b>bold</b><tr><td>c</td></tr></table>",
                 L"<b>bold</b><table><tbody><tr><td>c</td></tr></tbody></table>"},
        TreeCase{"whitespace in tables stays", L"<table> <tr> <td>a</td> </tr> </table>",
                 L"<table> <tbody><tr> <td>a</td> </tr> </tbody></table>"},
        TreeCase{
            "form inside a table is left empty",
            L"<table><form><tr><td><input name=a></td></tr></form></table>",
            L"<table><form></form><tbody><tr><td><input name=\"a\"></td></tr></tbody></table>"},
        TreeCase{"p around a table in quirks mode", L"<p>a<table><tr><td>b</table>",
                 L"<p>a<table><tbody><tr><td>b</td></tr></tbody></table></p>"},
        TreeCase{"p closed by a table in standards mode", L"<!DOCTYPE html><p>a<table></table>",
                 L"<p>a</p><table></table>"},
        TreeCase{"misnested formatting", L"<b>1<i>2</b>3</i>", L"<b>1<i>2</i></b><i>3</i>"},
        TreeCase{"link around a block", L"<a href=x>1<div>2</a>3</div>",
                 L"<a href=\"x\">1</a><div><a href=\"x\">2</a>3</div>"},
        TreeCase{"formatting reopened in the next cell",
                 L"<table><tr><td><font color=red>a</td><td>b</td></tr></table>",
                 L"<table><tbody><tr><td><font "
                 L"color=\"red\">a</font></td><td>b</td></tr></tbody></table>"},
        TreeCase{"unquoted attributes, names lower-cased, values kept",
                 L"<INPUT id=nick class=loginInput tabIndex=1 value=abc maxLength=10 name=nick>",
                 L"<input id=\"nick\" class=\"loginInput\" tabindex=\"1\" value=\"abc\" "
                 L"maxlength=\"10\" name=\"nick\">"},
        TreeCase{"element names lower-cased", L"<DIV CLASS=X><SpAn>t</SPAN></DIV>",
                 L"<div class=\"X\"><span>t</span></div>"},
        TreeCase{"first duplicate attribute wins", L"<a href=1 HREF=2 title='x' title=y>t</a>",
                 L"<a href=\"1\" title=\"x\">t</a>"},
        TreeCase{"a name given three times keeps its first value", L"<p x=1 x=2 X=3>t</p>",
                 L"<p x=\"1\">t</p>"},
        TreeCase{"repeats among other names keep the source order", L"<p a=1 b=2 a=3 c=4 b=5>t</p>",
                 L"<p a=\"1\" b=\"2\" c=\"4\">t</p>"},
        TreeCase{"a first attribute without value wins over a repeat with one",
                 L"<p a b a=1 b='2'>t</p>", L"<p a=\"\" b=\"\">t</p>"},
        TreeCase{"repeats on a self-closing void element", L"<br a=1 a=2/>", L"<br a=\"1\">"},
        TreeCase{"attributes of end tags are dropped", L"<p a=1>t</p a=2 a=3>",
                 L"<p a=\"1\">t</p>"},
        TreeCase{"formatting elements with the same attributes in another order are the same",
                 L"<p><b a=1 c=2><b c=2 a=1><b a=1 c=2><b c=2 a=1></p>x",
                 L"<p><b a=\"1\" c=\"2\"><b c=\"2\" a=\"1\"><b a=\"1\" c=\"2\">"
                 L"<b c=\"2\" a=\"1\"></b></b></b></b></p><b c=\"2\" a=\"1\"><b a=\"1\" "
                 L"c=\"2\"><b c=\"2\" a=\"1\">x</b></b></b>"},
        TreeCase{"formatting elements whose values differ are not the same",
                 L"<p><b a=1><b a=1><b a=1><b a=2></p>x",
                 L"<p><b a=\"1\"><b a=\"1\"><b a=\"1\"><b a=\"2\"></b></b></b></b></p>"
                 L"<b a=\"1\"><b a=\"1\"><b a=\"1\"><b a=\"2\">x</b></b></b></b>"},
        TreeCase{"attribute without value, attributes in source order", L"<input b=2 disabled a=1>",
                 L"<input b=\"2\" disabled=\"\" a=\"1\">"},
        TreeCase{"named references",
                 L"&lt;&gt;&amp;&quot;&apos;&copy;&reg;&euro;&eacute;&uuml;&Auml;",
                 L"&lt;&gt;&amp;\"'\u00A9\u00AE\u20AC\u00E9\u00FC\u00C4"},
        TreeCase{"legacy references without semicolon", L"&copy 2024 &notit; &amp x &bogus;",
                 L"\u00A9 2024 \u00ACit; &amp; x &amp;bogus;"},
        TreeCase{"numeric references", L"&#65;&#x42;&#X43;&#128;&#x9f;&#x81;&#0;&#x110000;&#55296;",
                 L"ABC\u20AC\u0178\u0081\uFFFD\uFFFD\uFFFD"},
        TreeCase{"numeric reference past the BMP", L"&#x1F600;|&#128512;",
                 L"\U0001F600|\U0001F600"},
        TreeCase{"bare ampersands", L"a & b &# &#x; &", L"a &amp; b &amp;# &amp;#x; &amp;"},
        TreeCase{"references in attributes", L"<a href=\"?a=1&copy=2&amp;b=3&lt\">t</a>",
                 L"<a href=\"?a=1&amp;copy=2&amp;b=3&lt;\">t</a>"},
        TreeCase{"attribute value escaping", L"<div title='a\"b<c>&amp;d\u00A0e'></div>",
                 L"<div title=\"a&quot;b&lt;c&gt;&amp;d&nbsp;e\"></div>"},
        TreeCase{"text escaping keeps quotes", L"<p>\"q\" 'a' 1 &lt; 2</p>",
                 L"<p>\"q\" 'a' 1 &lt; 2</p>"},
        TreeCase{"comments", L"<body><!--a--><p>x<!----><!-- b -- c --></p><!--->",
                 L"<!--a--><p>x<!----><!-- b -- c --></p><!---->"},
        TreeCase{"bogus comments", L"<body><?php x ?><!bogus>", L"<!--?php x ?--><!--bogus-->"},
        TreeCase{"script and style raw text",
                 L"<body><script>if (a < b && c > d) x = '</p>';</script>"
                 L"<style>p > i { content: \"&amp;\" }</style>",
                 L"<script>if (a < b && c > d) x = '</p>';</script>"
                 L"<style>p > i { content: \"&amp;\" }</style>"},
        TreeCase{"script ends only at its own end tag", L"<body><script>a</scripty>b</SCRIPT >c",
                 L"<script>a</scripty>b</script>c"},
        TreeCase{"script hidden in a comment keeps a nested script",
                 L"<body><script><!-- document.write(\"<script>x</script>\"); --></script>after",
                 L"<script><!-- document.write(\"<script>x</script>\"); --></script>after"},
        TreeCase{"script comment without a nested script", L"<body><script><!-- a </script>b",
                 L"<script><!-- a </script>b"},
        TreeCase{"comment cut off by the end of the input", L"<body>a<!--b--", L"a<!--b-->"},
        TreeCase{"textarea is escapable raw text",
                 L"<textarea name=t>\n<b>&amp;x</b>\nline</textarea>",
                 L"<textarea name=\"t\">&lt;b&gt;&amp;x&lt;/b&gt;\nline</textarea>"},
        TreeCase{"pre drops its first newline", L"<pre>\n\nx</pre>", L"<pre>\nx</pre>"},
        TreeCase{"noscript kept raw", L"<body><noscript><p>&amp;</p></noscript>",
                 L"<noscript><p>&amp;</p></noscript>"},
        TreeCase{"void elements", L"a<br>b<img src=x></img><hr/><input type=hidden><wbr>",
                 L"a<br>b<img src=\"x\"><hr><input type=\"hidden\"><wbr>"},
        TreeCase{"end tag br becomes a br", L"a</br>b", L"a<br>b"},
        TreeCase{"self-closing syntax on a normal element is ignored", L"<div/>x", L"<div>x</div>"},
        TreeCase{"line breaks normalised", L"a\r\nb\rc", L"a\nb\nc"},
        TreeCase{"tag at end of input dropped", L"a<div", L"a"},
        TreeCase{"lone less-than is text", L"1 < 2 <3 </ >", L"1 &lt; 2 &lt;3 <!-- -->"},
        TreeCase{"select closed by input", L"<select><option>a<input name=i>",
                 L"<select><option>a</option></select><input name=\"i\">"},
        TreeCase{"center cells as on the report page",
                 L"<table id=line><tr><center><a href=\"mailto:b@x.com\">b</a></center>"
                 L"<td>&nbsp;</td><td> Sale </td></tr></table>",
                 L"<center><a href=\"mailto:b@x.com\">b</a></center><table id=\"line\"><tbody><tr>"
                 L"<td>&nbsp;</td><td> Sale </td></tr></tbody></table>"}));

TEST(DocumentTree, ImpliesHtmlHeadAndBody) {
    auto document = Document::ParseText(L"<title>T &amp; U</title><meta charset=utf-8>x", kPageUrl);
    EXPECT_EQ(
        WideToUtf8(document->Serialize()),
        "<html><head><title>T &amp; U</title><meta charset=\"utf-8\"></head><body>x</body></html>");
}

TEST(DocumentTree, KeepsDoctypeCommentsAndWhitespaceWhereBrowsersPutThem) {
    auto document = Document::ParseText(
        L"<!-- top --><!doctype HTML><html> <head> </head> <body>x</body> </html><!--end-->",
        kPageUrl);
    EXPECT_EQ(WideToUtf8(document->Serialize()),
              "<!-- top --><!DOCTYPE html><html><head> </head> <body>x </body></html><!--end-->");
}

TEST(DocumentTree, MergesAttributesOfRepeatedHtmlAndBodyTags) {
    auto document = Document::ParseText(L"<body a=1>x<body a=2 b=3><html lang=en>", kPageUrl);
    EXPECT_EQ(WideToUtf8(document->Serialize()),
              "<html lang=\"en\"><head></head><body a=\"1\" b=\"3\">x</body></html>");
}

TEST(DocumentTree, MergesManyAttributesOfARepeatedBodyTag) {
    auto document = Document::ParseText(
        L"<body a=1 b=2>x<body c=3 a=4 d=5 e=6 f=7 g=8 h=9 i=10 b=11 j=12>", kPageUrl);
    EXPECT_EQ(WideToUtf8(document->Serialize()),
              "<html><head></head><body a=\"1\" b=\"2\" c=\"3\" d=\"5\" e=\"6\" f=\"7\" "
              "g=\"8\" h=\"9\" i=\"10\" j=\"12\">x</body></html>");
}

TEST(DocumentTree, FindsTheFirstElementWithAnId) {
    auto document = Document::ParseText(
        L"<div id=divbody><style>.f{}</style>Found <b>1,234</b> items</div><p id=divbody>2</p>",
        kPageUrl);
    Element* element = document->GetElementById(L"divbody");
    ASSERT_NE(element, nullptr);
    EXPECT_EQ(WideToUtf8(document->InnerHtml(*element)),
              "<style>.f{}</style>Found <b>1,234</b> items");
    EXPECT_EQ(document->GetElementById(L"DIVBODY"), nullptr);
    EXPECT_EQ(document->GetElementById(L"missing"), nullptr);
    EXPECT_EQ(document->GetElementById(L""), nullptr);
}

TEST(DocumentTree, OuterHtmlOfVoidAndNormalElements) {
    auto document = Document::ParseText(L"<p id=p>a<input id=i value='x\"y'></p>", kPageUrl);
    EXPECT_EQ(WideToUtf8(document->OuterHtml(*document->GetElementById(L"p"))),
              "<p id=\"p\">a<input id=\"i\" value=\"x&quot;y\"></p>");
    EXPECT_EQ(WideToUtf8(document->InnerHtml(*document->GetElementById(L"i"))), "");
}

// The reader replaces cells and fields; the replacement is parsed as the
// parent's content would be.
struct ReplaceCase {
    const char* what;
    std::wstring markup;
    std::wstring replacement;
    std::wstring body;
};

void PrintTo(const ReplaceCase& c, std::ostream* os) {
    *os << c.what;
}

class OuterHtmlReplacement : public testing::TestWithParam<ReplaceCase> {};

TEST_P(OuterHtmlReplacement, ParsesInTheParentsContext) {
    const ReplaceCase& c = GetParam();
    auto document = Document::ParseText(c.markup, kPageUrl);
    Element* target = document->GetElementById(L"t");
    ASSERT_NE(target, nullptr);
    ASSERT_TRUE(document->SetOuterHtml(*target, c.replacement));
    Element* body = document->GetElementById(L"b");
    ASSERT_NE(body, nullptr);
    EXPECT_EQ(WideToUtf8(document->InnerHtml(*body)), WideToUtf8(c.body));
}

INSTANTIATE_TEST_SUITE_P(
    Fragments, OuterHtmlReplacement,
    testing::Values(
        ReplaceCase{"input by input", L"<body id=b><form><input id=t name=a></form>",
                    L"<INPUT id=nick value=x name=nick>",
                    L"<form><input id=\"nick\" value=\"x\" name=\"nick\"></form>"},
        ReplaceCase{"cell by cells", L"<body id=b><table><tr><td id=t>old</td></tr></table>",
                    L"<td>1<td>2", L"<table><tbody><tr><td>1</td><td>2</td></tr></tbody></table>"},
        ReplaceCase{"row by rows", L"<body id=b><table><tr id=t><td>old</td></tr></table>",
                    L"<tr><td>a</td></tr><tr><td>b",
                    L"<table><tbody><tr><td>a</td></tr><tr><td>b</td></tr></tbody></table>"},
        ReplaceCase{"text and comments", L"<body id=b><p>a<span id=t>x</span>c</p>",
                    L"&amp;<!--n-->b", L"<p>a&amp;<!--n-->bc</p>"},
        ReplaceCase{"by nothing", L"<body id=b><p>a<span id=t>x</span>c</p>", L"", L"<p>ac</p>"},
        ReplaceCase{"inside a textarea's parent", L"<body id=b><div><b id=t>x</b></div>",
                    L"<textarea>\n<b>", L"<div><textarea>&lt;b&gt;</textarea></div>"},
        ReplaceCase{"block in a paragraph stays there (no p to close in the fragment)",
                    L"<body id=b><p><span id=t></span></p>", L"<div>d</div>",
                    L"<p><div>d</div></p>"}));

TEST(OuterHtmlReplacementErrors, RefusedWithoutAnElementParent) {
    auto document = Document::ParseText(L"<p id=p>x</p>", kPageUrl);
    Element* html = document->Root().Children().front()->AsElement();
    ASSERT_NE(html, nullptr);
    EXPECT_FALSE(document->SetOuterHtml(*html, L"<p>y</p>"));

    Element* p = document->GetElementById(L"p");
    ASSERT_TRUE(document->SetOuterHtml(*p, L"<p id=q>y</p>"));
    // The replaced element is detached but still usable; it has no parent now.
    EXPECT_EQ(WideToUtf8(document->OuterHtml(*p)), "<p id=\"p\">x</p>");
    EXPECT_FALSE(document->SetOuterHtml(*p, L"z"));
    EXPECT_EQ(document->GetElementById(L"p"), nullptr);
    EXPECT_NE(document->GetElementById(L"q"), nullptr);
}

}  // namespace
}  // namespace qv::html
