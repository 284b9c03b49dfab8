#include "HtmlDocument.h"

#include "HtmlDom.h"
#include "HtmlForms.h"
#include "HtmlSerializer.h"
#include "HtmlTreeBuilder.h"
#include "Url.h"

namespace qv::html {
namespace {

bool IsTextEntry(const Element& element) {
    if (element.Is(L"select") || element.Is(L"textarea") || element.Is(L"option") ||
        element.Is(L"optgroup")) {
        return true;
    }
    if (!element.Is(L"input")) return false;
    const std::wstring type = InputType(element);
    return type != L"submit" && type != L"image" && type != L"button" && type != L"reset" &&
           type != L"checkbox" && type != L"radio";
}

bool IsNonSubmittingButton(const Element& element) {
    if (element.Is(L"input")) {
        const std::wstring type = InputType(element);
        return type == L"button" || type == L"reset";
    }
    return element.Is(L"button") && !IsSubmitButton(element);
}

}  // namespace

Document::Document(std::wstring url, qv::html::Charset charset)
    : url_(std::move(url)), charset_(charset), root_(std::make_unique<Node>(NodeKind::Document)) {}

Document::~Document() = default;

std::unique_ptr<Document> Document::Parse(std::string_view bytes, std::string_view contentType,
                                          const std::wstring& url) {
    DecodedText decoded = DecodeDocument(bytes, contentType);
    std::unique_ptr<Document> document(new Document(url, decoded.charset));
    BuildDocumentTree(*document->root_, decoded.text);
    return document;
}

std::unique_ptr<Document> Document::ParseText(std::wstring_view text, const std::wstring& url) {
    std::unique_ptr<Document> document(new Document(url, qv::html::Charset::Utf8));
    BuildDocumentTree(*document->root_, text);
    return document;
}

const std::wstring& Document::Url() const { return url_; }

std::wstring Document::BaseUrl() const {
    std::wstring base = url_;
    ForEachDescendant(*root_, [&](Node& node) {
        const Element* element = node.AsElement();
        if (element == nullptr || !element->Is(L"base")) return true;
        const std::wstring* href = element->GetAttribute(L"href");
        if (href == nullptr) return true;
        const std::wstring resolved = ResolveUrl(url_, *href);
        if (!resolved.empty()) base = resolved;
        return false;
    });
    return base;
}

Element* Document::GetElementById(std::wstring_view id) { return FindElementById(*root_, id); }

std::wstring Document::InnerHtml(const Element& element) const { return SerializeChildren(element); }

std::wstring Document::OuterHtml(const Element& element) const { return SerializeNode(element); }

std::wstring Document::Serialize() const { return SerializeChildren(*root_); }

bool Document::SetOuterHtml(Element& element, std::wstring_view markup) {
    Node* parent = element.Parent();
    if (parent == nullptr || !parent->IsElement()) return false;
    const Element& context = *parent->AsElement();
    Element* contextForm = context.Is(L"form") ? parent->AsElement() : NearestAncestor(context, L"form");
    // A control replaced where the parser had tied it to a form outside its
    // ancestors (a form inside a table) leaves that tie to its replacement, so
    // that the login fields still belong to the form being submitted.
    Element* inheritedForm = nullptr;
    if (&TreeRoot(element) == root_.get() && IsListedElement(element)) {
        inheritedForm = FormOwner(*root_, element);
    }

    std::vector<std::unique_ptr<Node>> nodes = BuildFragment(context, markup, contextForm);
    for (auto& node : nodes) {
        Node* inserted = parent->InsertBefore(std::move(node), &element);
        const auto tie = [&](Element& control) {
            if (inheritedForm != nullptr && IsListedElement(control) &&
                !control.HasAttribute(L"form") && NearestAncestor(control, L"form") == nullptr) {
                control.parserForm = inheritedForm;
            }
        };
        if (Element* insertedElement = inserted->AsElement()) tie(*insertedElement);
        ForEachDescendant(*inserted, [&](Node& descendant) {
            if (Element* control = descendant.AsElement()) tie(*control);
            return true;
        });
    }
    std::unique_ptr<Node> removed = parent->RemoveChild(&element);
    // Controls tied to a form that has just left the document fall back to
    // their ancestors.
    ForEachDescendant(*root_, [&](Node& node) {
        Element* control = node.AsElement();
        if (control != nullptr && control->parserForm != nullptr &&
            &TreeRoot(*control->parserForm) != root_.get()) {
            control->parserForm = nullptr;
        }
        return true;
    });
    detached_.push_back(std::move(removed));
    return true;
}

std::optional<FormRequest> Document::Click(Element& element) {
    if (&TreeRoot(element) != root_.get()) return std::nullopt;
    if (IsDisabledControl(element)) return std::nullopt;
    if (element.Is(L"input")) {
        const std::wstring type = InputType(element);
        if (type == L"checkbox") {
            element.checkedness = !ControlChecked(element);
            return std::nullopt;
        }
        if (type == L"radio") {
            const std::wstring* name = element.GetAttribute(L"name");
            if (name != nullptr && !name->empty()) {
                Element* owner = FormOwner(*root_, element);
                ForEachDescendant(*root_, [&](Node& node) {
                    Element* other = node.AsElement();
                    if (other != nullptr && other != &element && other->Is(L"input") &&
                        InputType(*other) == L"radio" && other->GetAttribute(L"name") &&
                        *other->GetAttribute(L"name") == *name &&
                        FormOwner(*root_, *other) == owner) {
                        other->checkedness = false;
                    }
                    return true;
                });
            }
            element.checkedness = true;
            return std::nullopt;
        }
    }
    if (IsTextEntry(element) || IsNonSubmittingButton(element)) return std::nullopt;

    // The click reaches the nearest element that acts on it: a submit button
    // or a link around the clicked element.
    for (Node* node = &element; node != nullptr; node = node->Parent()) {
        Element* target = node->AsElement();
        if (target == nullptr) break;
        if (IsSubmitButton(*target)) {
            if (IsDisabledControl(*target)) return std::nullopt;
            const Element* form = FormOwner(*root_, *target);
            if (form == nullptr) return std::nullopt;
            return SubmitForm(*root_, *form, target, BaseUrl(), url_, charset_);
        }
        if ((target->Is(L"a") || target->Is(L"area")) && target->HasAttribute(L"href")) {
            const std::wstring& href = *target->GetAttribute(L"href");
            const std::wstring_view trimmed = TrimHtmlWhitespace(href);
            if (trimmed.size() >= 11 && EqualsIgnoringAsciiCase(trimmed.substr(0, 11), L"javascript:")) {
                break;
            }
            const std::wstring resolved = ResolveUrl(BaseUrl(), href);
            if (resolved.rfind(L"http:", 0) != 0 && resolved.rfind(L"https:", 0) != 0) {
                return std::nullopt;
            }
            return FormRequest{L"GET", resolved, {}, {}};
        }
    }
    const Element* form = IsListedElement(element) ? FormOwner(*root_, element)
                                                   : NearestAncestor(element, L"form");
    if (form == nullptr) return std::nullopt;
    return SubmitForm(*root_, *form, nullptr, BaseUrl(), url_, charset_);
}

bool Document::SetValue(Element& element, std::wstring_view value) {
    if (element.Is(L"textarea")) {
        element.dirtyValue = std::wstring(value);
        return true;
    }
    if (element.Is(L"select")) {
        bool found = false;
        const bool multiple = element.HasAttribute(L"multiple");
        ForEachDescendant(element, [&](Node& node) {
            Element* option = node.AsElement();
            if (option == nullptr || !option->Is(L"option")) return true;
            const bool match = !found && OptionValue(*option) == value;
            if (match) found = true;
            if (match || !multiple) option->selectedness = match;
            return true;
        });
        return found;
    }
    if (!element.Is(L"input")) return false;
    const std::wstring type = InputType(element);
    if (type == L"file") return false;
    if (type == L"hidden" || type == L"submit" || type == L"image" || type == L"reset" ||
        type == L"button" || type == L"checkbox" || type == L"radio") {
        // These keep their value in the attribute, as the DOM's value setter does.
        element.SetAttribute(L"value", value);
        return true;
    }
    element.dirtyValue = std::wstring(value);
    return true;
}

std::wstring Document::Value(const Element& element) const { return ControlValue(element); }

}  // namespace qv::html
