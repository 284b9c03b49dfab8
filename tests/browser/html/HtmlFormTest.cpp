#include <gtest/gtest.h>

#include <string>

#include "HtmlDocument.h"
#include "HtmlDom.h"
#include "TextConvert.h"

namespace qv::html {
namespace {

const std::wstring kLoginUrl = L"https://market.localhost/login.htm";

const wchar_t kLoginPage[] =
    L"<html><body><form name=f method=POST action=\"/session.htm?from=login\">"
    L"<input type=hidden name=token value=\"t&amp;1\">"
    L"<input id=nick class=loginInput tabIndex=1 maxLength=10 name=old value=x>"
    L"<input id=pass class=loginInput tabIndex=2 type=password name=pass>"
    L"<input type=checkbox name=keep checked><input type=checkbox name=other value=o>"
    L"<input type=radio name=r value=1><input type=radio name=r value=2 checked>"
    L"<select name=s><option value=a>A<option selected>  B\n b </select>"
    L"<textarea name=t>\nline1\nline2</textarea>"
    L"<input name=off value=gone disabled>"
    L"<fieldset disabled><input name=fs value=gone></fieldset>"
    L"<input name=nameless-is-fine value=v><input value=no-name>"
    L"<input type=submit name=cancel value=No>"
    L"<input id=login type=submit name=login value=\"Sign in\">"
    L"<a id=help href=\"/help.htm\">help</a><a id=js href=\"javascript:go()\">go</a>"
    L"</form><span id=outside>x</span></body></html>";

class LoginForm : public testing::Test {
protected:
    void SetUp() override { document = Document::ParseText(kLoginPage, kLoginUrl); }
    Element& ById(const wchar_t* id) {
        Element* element = document->GetElementById(id);
        EXPECT_NE(element, nullptr) << WideToUtf8(id);
        return *element;
    }
    std::unique_ptr<Document> document;
};

TEST_F(LoginForm, ReplacedFieldsAreSubmittedWithTheClickedButton) {
    ASSERT_TRUE(document->SetOuterHtml(ById(L"nick"),
                                       L"<input id=\"nick\" name=\"nick\" value=\"a b&quot;>\">"));
    ASSERT_TRUE(document->SetOuterHtml(
        ById(L"pass"), L"<INPUT id=pass class=loginInput tabIndex=2 value=p\u00E9+&amp;~*-._ "
                       L"type=password name=pass>"));

    const auto request = document->Click(ById(L"login"));
    ASSERT_TRUE(request);
    EXPECT_EQ(WideToUtf8(request->method), "POST");
    EXPECT_EQ(WideToUtf8(request->url), "https://market.localhost/session.htm?from=login");
    EXPECT_EQ(request->contentType, "application/x-www-form-urlencoded");
    EXPECT_EQ(request->body,
              "token=t%261&nick=a+b%22%3E&pass=p%C3%A9%2B%26%7E*-._&keep=on&r=2&s=B+b"
              "&t=line1%0D%0Aline2&nameless-is-fine=v&login=Sign+in");
}

TEST_F(LoginForm, SubmitsCurrentValuesNotTheMarkup) {
    ASSERT_TRUE(document->SetValue(ById(L"nick"), L"typed"));
    document->Click(*document->GetElementById(L"nick"));  // a text field: nothing happens
    const auto request = document->Click(ById(L"login"));
    ASSERT_TRUE(request);
    EXPECT_NE(request->body.find("old=typed&"), std::string::npos) << request->body;
    // The serialised markup keeps the attribute value, as in a browser.
    EXPECT_NE(WideToUtf8(document->OuterHtml(ById(L"nick"))).find("value=\"x\""), std::string::npos);
}

TEST_F(LoginForm, CheckboxAndRadioClicksChangeWhatIsSent) {
    Element* form = NearestAncestor(ById(L"login"), L"form");
    ASSERT_NE(form, nullptr);
    Element* keep = nullptr;
    Element* other = nullptr;
    Element* radioOne = nullptr;
    ForEachDescendant(*form, [&](Node& node) {
        Element* e = node.AsElement();
        if (e == nullptr) return true;
        const std::wstring* name = e->GetAttribute(L"name");
        const std::wstring* value = e->GetAttribute(L"value");
        if (name && *name == L"keep") keep = e;
        if (name && *name == L"other") other = e;
        if (name && *name == L"r" && value && *value == L"1") radioOne = e;
        return true;
    });
    ASSERT_TRUE(keep && other && radioOne);
    EXPECT_FALSE(document->Click(*keep));
    EXPECT_FALSE(document->Click(*other));
    EXPECT_FALSE(document->Click(*radioOne));
    const auto request = document->Click(ById(L"login"));
    ASSERT_TRUE(request);
    EXPECT_NE(request->body.find("&other=o&r=1&s="), std::string::npos) << request->body;
    EXPECT_EQ(request->body.find("keep="), std::string::npos) << request->body;
}

TEST_F(LoginForm, OtherClicks) {
    // A link leads to its address; a link to script and plain elements in the
    // form submit it without a button; outside a form nothing happens.
    const auto help = document->Click(ById(L"help"));
    ASSERT_TRUE(help);
    EXPECT_EQ(WideToUtf8(help->method), "GET");
    EXPECT_EQ(WideToUtf8(help->url), "https://market.localhost/help.htm");
    EXPECT_TRUE(help->body.empty());

    const auto script = document->Click(ById(L"js"));
    ASSERT_TRUE(script);
    EXPECT_EQ(WideToUtf8(script->method), "POST");
    EXPECT_EQ(script->body.find("login="), std::string::npos);
    EXPECT_NE(script->body.find("token=t%261"), std::string::npos);

    EXPECT_FALSE(document->Click(ById(L"outside")));
    EXPECT_FALSE(document->Click(ById(L"pass")));
}

TEST(FormSubmission, DisabledSubmitButtonDoesNothing) {
    auto document = Document::ParseText(
        L"<form action=/a><button id=b disabled>go</button><input id=s type=submit></form>"
        L"<input id=loose type=submit>",
        kLoginUrl);
    EXPECT_FALSE(document->Click(*document->GetElementById(L"b")));
    EXPECT_FALSE(document->Click(*document->GetElementById(L"loose")));
    EXPECT_TRUE(document->Click(*document->GetElementById(L"s")));
}

struct GetCase {
    const char* what;
    std::wstring documentUrl;
    std::wstring markup;  // the element with id "go" is clicked
    std::string url;
};

void PrintTo(const GetCase& c, std::ostream* os) { *os << c.what; }

class GetForms : public testing::TestWithParam<GetCase> {};

TEST_P(GetForms, PutTheDataIntoTheQuery) {
    const GetCase& c = GetParam();
    auto document = Document::ParseText(c.markup, c.documentUrl);
    Element* go = document->GetElementById(L"go");
    ASSERT_NE(go, nullptr);
    const auto request = document->Click(*go);
    ASSERT_TRUE(request);
    EXPECT_EQ(WideToUtf8(request->method), "GET");
    EXPECT_EQ(WideToUtf8(request->url), c.url);
    EXPECT_TRUE(request->body.empty());
    EXPECT_TRUE(request->contentType.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GetForms,
    testing::Values(
        GetCase{"relative action, its query replaced, fragment kept", L"https://h.localhost/dir/p.htm",
                L"<form action=\"search.htm?old=1#frag\"><input name=q value=\"x y\">"
                L"<button id=go>Go</button></form>",
                "https://h.localhost/dir/search.htm?q=x+y#frag"},
        GetCase{"empty action is the document", L"https://h.localhost/p?z=9",
                L"<form action=\"\" method=get><input name=a value=1><input type=submit id=go></form>",
                "https://h.localhost/p?a=1"},
        GetCase{"unknown method is GET, span inside the button", L"https://h.localhost/",
                L"<form method=put action=/x><button name=b value=v><span id=go>Go</span></button>"
                L"</form>",
                "https://h.localhost/x?b=v"},
        GetCase{"image button sends coordinates", L"https://h.localhost/",
                L"<form action=/x><input type=image name=pic id=go src=i.png></form>",
                "https://h.localhost/x?pic.x=0&pic.y=0"},
        GetCase{"base element", L"https://h.localhost/a/b.htm",
                L"<head><base href=\"https://other.localhost/root/\"></head>"
                L"<form action=\"f\"><input type=submit id=go></form>",
                "https://other.localhost/root/f?"},
        GetCase{"controls tied by the form attribute", L"https://h.localhost/",
                L"<form id=f action=/x></form><input form=f name=n value=1>"
                L"<input name=stray value=2><button form=f id=go name=g value=3>",
                "https://h.localhost/x?n=1&g=3"},
        GetCase{"form inside a table still owns its controls", L"https://h.localhost/",
                L"<table><form action=/t><tr><td><input name=n value=v><select name=s>"
                L"<option disabled>d<option>first</select><input type=submit id=go>"
                L"</td></tr></form></table>",
                "https://h.localhost/t?n=v&s=first"},
        GetCase{"non-BMP character in UTF-8", L"https://h.localhost/",
                L"<form action=/x><input name=c value=\"&#x1D11E;\"><input type=submit id=go></form>",
                "https://h.localhost/x?c=%F0%9D%84%9E"},
        GetCase{"submitter overrides action and method", L"https://h.localhost/",
                L"<form action=/x method=post><input type=submit id=go formaction=/y "
                L"formmethod=get></form>",
                "https://h.localhost/y?"}));

TEST(FormSubmission, ReplacedFieldKeepsTheFormOfATableLayout) {
    // Forms written inside tables are left empty by the parser, which ties the
    // controls that follow to them; a replaced control keeps that tie.
    auto document = Document::ParseText(
        L"<table><form method=post action=/login><tr><td><input id=nick name=nick value=old>"
        L"</td></tr><tr><td><input id=login type=submit name=login value=Go></td></tr>"
        L"</form></table>",
        kLoginUrl);
    ASSERT_TRUE(document->SetOuterHtml(*document->GetElementById(L"nick"),
                                       L"<INPUT id=nick value=new name=nick>"));
    const auto request = document->Click(*document->GetElementById(L"login"));
    ASSERT_TRUE(request);
    EXPECT_EQ(request->body, "nick=new&login=Go");
}

TEST(FormSubmission, ReplacingTheFormUntiesItsControls) {
    auto document = Document::ParseText(
        L"<div id=d><table><form id=f action=/old><tr><td><input name=a value=1>"
        L"<input id=go type=submit></td></tr></form></table></div>",
        kLoginUrl);
    ASSERT_TRUE(document->SetOuterHtml(*document->GetElementById(L"f"), L""));
    EXPECT_FALSE(document->Click(*document->GetElementById(L"go")));
}

TEST(FormSubmission, Windows1252DocumentEncodesInWindows1252) {
    const std::string bytes =
        "<form action=/x method=post><input name=n value=\"\xE9\x80\"><input name=m value=\"&#x1D11E;&#x3A9;\">"
        "<input id=go type=submit></form>";
    auto document = Document::Parse(bytes, "text/html", kLoginUrl);
    ASSERT_EQ(document->Charset(), Charset::Windows1252);
    const auto request = document->Click(*document->GetElementById(L"go"));
    ASSERT_TRUE(request);
    EXPECT_EQ(request->body, "n=%E9%80&m=%26%23119070%3B%26%23937%3B");
}

TEST(FormSubmission, AcceptCharsetChoosesUtf8) {
    const std::string bytes =
        "<form action=/x method=post accept-charset=\"bogus UTF-8\"><input name=n value=\"\xE9\">"
        "<input id=go type=submit></form>";
    auto document = Document::Parse(bytes, "", kLoginUrl);
    const auto request = document->Click(*document->GetElementById(L"go"));
    ASSERT_TRUE(request);
    EXPECT_EQ(request->body, "n=%C3%A9");
}

TEST(FormControls, ValuesAsAFormReadsThem) {
    auto document = Document::ParseText(
        L"<select id=s><option>a<option value=b>B</select>"
        L"<select id=m multiple><option selected>1<option selected>2</select>"
        L"<textarea id=t>\ntext</textarea><input id=i value=\"a\nb\">",
        kLoginUrl);
    Element& select = *document->GetElementById(L"s");
    EXPECT_EQ(WideToUtf8(document->Value(select)), "a");
    EXPECT_TRUE(document->SetValue(select, L"b"));
    EXPECT_EQ(WideToUtf8(document->Value(select)), "b");
    EXPECT_FALSE(document->SetValue(select, L"none"));
    EXPECT_EQ(WideToUtf8(document->Value(*document->GetElementById(L"t"))), "text");
    EXPECT_EQ(WideToUtf8(document->Value(*document->GetElementById(L"i"))), "ab");
    EXPECT_FALSE(document->SetValue(*document->GetElementById(L"m")->Parent()->AsElement(), L"x"));
}

}  // namespace
}  // namespace qv::html
