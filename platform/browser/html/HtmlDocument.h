#pragma once
// A parsed HTML document as a browser holds it: built by the HTML tree
// construction rules, serialised as browsers serialise inner and outer HTML,
// with forms that submit as a browser's do. Portable: no <windows.h>.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "HtmlCharset.h"
#include "../http/HttpTransport.h"

namespace qv::html {

class Element;  // HtmlDom.h
class Node;

// What a click sends: GET with the query in the absolute address, or POST
// with an application/x-www-form-urlencoded body.
using FormRequest = http::HttpRequest;

class Document {
public:
    // bytes as received; contentType is the HTTP Content-Type header value ("" if none)
    static std::unique_ptr<Document> Parse(std::string_view bytes, std::string_view contentType,
                                           const std::wstring& url);
    static std::unique_ptr<Document> ParseText(std::wstring_view text, const std::wstring& url);
    ~Document();
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    const std::wstring& Url() const;
    // The encoding the bytes were read in; also the encoding forms submit in.
    qv::html::Charset Charset() const { return charset_; }
    // The document URL, or the first <base href> resolved against it.
    std::wstring BaseUrl() const;

    Element* GetElementById(std::wstring_view id);
    std::wstring InnerHtml(const Element& element) const;
    std::wstring OuterHtml(const Element& element) const;
    // The whole document, doctype included.
    std::wstring Serialize() const;
    // Replaces the element (and its subtree) by the parsed markup; false when the element has no parent.
    // The replaced element stays valid (detached) for callers still holding it.
    bool SetOuterHtml(Element& element, std::wstring_view markup);
    // What a click on the element does: a form submission, or nothing.
    // Submit buttons submit their form; checkboxes and radio buttons toggle;
    // a link with an address leads there (as a GET); text fields, lists and
    // other buttons do nothing; any other element inside a form (a link to
    // script, an image, a span) submits that form, which is what such
    // elements are wired to do on the pages we read, whose scripts we do not run.
    std::optional<FormRequest> Click(Element& element);
    // Sets the value of a form control (input value / textarea text) — used by tests.
    // For a select, chooses the first option with that value.
    bool SetValue(Element& element, std::wstring_view value);
    // The current value of a form control, as a form submits it.
    std::wstring Value(const Element& element) const;

    Node& Root() { return *root_; }
    const Node& Root() const { return *root_; }

private:
    Document(std::wstring url, qv::html::Charset charset);

    std::wstring url_;
    qv::html::Charset charset_;
    std::unique_ptr<Node> root_;
    // Subtrees taken out by SetOuterHtml, kept so that pointers stay valid.
    std::vector<std::unique_ptr<Node>> detached_;
};

}  // namespace qv::html
