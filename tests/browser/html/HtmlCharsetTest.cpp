#include <gtest/gtest.h>

#include <string>

#include "HtmlCharset.h"
#include "HtmlDocument.h"
#include "HtmlDom.h"
#include "TextConvert.h"

namespace qv::html {
namespace {

struct CharsetCase {
    const char* what;
    std::string contentType;
    std::string bytes;  // the text of the element with id "x" is compared
    Charset charset;
    std::wstring text;
};

void PrintTo(const CharsetCase& c, std::ostream* os) { *os << c.what; }

class DocumentCharset : public testing::TestWithParam<CharsetCase> {};

TEST_P(DocumentCharset, DecidesHowTheBytesAreRead) {
    const CharsetCase& c = GetParam();
    auto document = Document::Parse(c.bytes, c.contentType, L"https://market.localhost/");
    EXPECT_EQ(document->Charset(), c.charset);
    Element* x = document->GetElementById(L"x");
    ASSERT_NE(x, nullptr);
    EXPECT_EQ(WideToUtf8(TextContent(*x)), WideToUtf8(c.text));
}

const std::string kPadding(1100, ' ');

INSTANTIATE_TEST_SUITE_P(
    Cases, DocumentCharset,
    testing::Values(
        CharsetCase{"default windows-1252 with 0x80..0x9F", "", "<p id=x>\x80\x96\x9f\x81\xe9</p>",
                    Charset::Windows1252, L"\u20AC\u2013\u0178\u0081\u00E9"},
        CharsetCase{"header charset", "text/html; charset=UTF-8", "<p id=x>\xC3\xA9\xE2\x82\xAC</p>",
                    Charset::Utf8, L"\u00E9\u20AC"},
        CharsetCase{"quoted header charset", "text/html;charset=\"utf-8\"", "<p id=x>\xC3\xA9</p>",
                    Charset::Utf8, L"\u00E9"},
        CharsetCase{"latin-1 label reads as windows-1252", "text/html; charset=ISO-8859-1",
                    "<p id=x>\x80</p>", Charset::Windows1252, L"\u20AC"},
        CharsetCase{"meta charset", "text/html", "<head><meta charset=\"utf-8\"></head><p id=x>\xC3\xA9</p>",
                    Charset::Utf8, L"\u00E9"},
        CharsetCase{"meta http-equiv",
                    "", "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=utf-8\"><p id=x>\xC3\xA9",
                    Charset::Utf8, L"\u00E9"},
        CharsetCase{"meta content without http-equiv is no declaration", "",
                    "<meta content=\"text/html; charset=utf-8\"><p id=x>\xC3\xA9",
                    Charset::Windows1252, L"\u00C3\u00A9"},
        CharsetCase{"header wins over meta", "text/html; charset=windows-1252",
                    "<meta charset=utf-8><p id=x>\xC3\xA9", Charset::Windows1252, L"\u00C3\u00A9"},
        CharsetCase{"unknown header label falls through to meta", "text/html; charset=x-unknown",
                    "<meta charset=utf-8><p id=x>\xC3\xA9", Charset::Utf8, L"\u00E9"},
        CharsetCase{"meta past the first 1024 bytes is not seen", "",
                    "<!--" + kPadding + "--><meta charset=utf-8><p id=x>\xC3\xA9", Charset::Windows1252,
                    L"\u00C3\u00A9"},
        CharsetCase{"meta inside a comment is not seen", "",
                    "<!-- <meta charset=utf-8> --><p id=x>\xC3\xA9", Charset::Windows1252,
                    L"\u00C3\u00A9"},
        CharsetCase{"meta after other tags and attributes", "",
                    "<html lang='en'><head><title>t</title><meta name=x charset=utf-8></head><p id=x>\xC3\xA9",
                    Charset::Utf8, L"\u00E9"},
        CharsetCase{"UTF-8 byte order mark wins over the header", "text/html; charset=windows-1252",
                    "\xEF\xBB\xBF<p id=x>\xC3\xA9\xF0\x9F\x98\x80</p>", Charset::Utf8, L"\u00E9\U0001F600"},
        CharsetCase{"malformed UTF-8 becomes U+FFFD", "text/html; charset=utf-8", "<p id=x>a\xC3(</p>",
                    Charset::Utf8, L"a\uFFFD("},
        CharsetCase{"meta claiming UTF-16 means UTF-8", "", "<meta charset=utf-16><p id=x>\xC3\xA9",
                    Charset::Utf8, L"\u00E9"}));

TEST(CharsetParts, ContentTypeParameter) {
    EXPECT_EQ(CharsetParameter("text/html; charset=utf-8"), "utf-8");
    EXPECT_EQ(CharsetParameter("text/html;foo=bar; CHARSET = \"Windows-1252\" "), "windows-1252");
    EXPECT_EQ(CharsetParameter("text/html"), "");
    EXPECT_EQ(CharsetParameter(""), "");
}

}  // namespace
}  // namespace qv::html
