#include "HtmlForms.h"

#include <cwchar>

#include "TextConvert.h"
#include "Url.h"

namespace qv::html {
namespace {

const std::wstring_view kListed[] = {L"button", L"fieldset", L"input",
                                     L"object", L"output",   L"select", L"textarea"};

const std::wstring_view kInputTypes[] = {
    L"hidden", L"text",  L"search", L"tel",   L"url",      L"email",  L"password",
    L"date",   L"month", L"week",   L"time",  L"datetime-local", L"number", L"range",
    L"color",  L"checkbox", L"radio", L"file", L"submit",  L"image",  L"reset", L"button"};

std::wstring NormaliseLineBreaks(std::wstring_view text) {
    std::wstring out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\r') {
            out += L"\r\n";
            if (i + 1 < text.size() && text[i + 1] == L'\n') ++i;
        } else if (text[i] == L'\n') {
            out += L"\r\n";
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

std::wstring StripNewlines(std::wstring_view text) {
    std::wstring out;
    for (wchar_t c : text) {
        if (c != L'\r' && c != L'\n') out.push_back(c);
    }
    return out;
}

// Bytes of the text in the charset; characters it cannot hold become &#N;.
std::string EncodeText(std::wstring_view text, Charset charset) {
    if (charset != Charset::Windows1252) return WideToUtf8(text);
    std::string out;
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t start = i;
        const char32_t c = NextCodePoint(text, i);
        const std::string bytes = WideToCp1252(text.substr(start, i - start));
        if (bytes == "?" && c != U'?') {
            out += "&#" + std::to_string(static_cast<unsigned long>(c)) + ";";
        } else {
            out += bytes;
        }
    }
    return out;
}

void AppendUrlEncoded(std::string& out, std::string_view bytes) {
    static const char kHex[] = "0123456789ABCDEF";
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if ((b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') || (b >= '0' && b <= '9') ||
            b == '*' || b == '-' || b == '.' || b == '_') {
            out.push_back(static_cast<char>(b));
        } else if (b == ' ') {
            out.push_back('+');
        } else {
            out.push_back('%');
            out.push_back(kHex[b >> 4]);
            out.push_back(kHex[b & 15]);
        }
    }
}

bool InDatalist(const Element& element) { return NearestAncestor(element, L"datalist") != nullptr; }

bool IsOptionDisabled(const Element& option) {
    if (option.HasAttribute(L"disabled")) return true;
    const Node* parent = option.Parent();
    const Element* group = parent ? parent->AsElement() : nullptr;
    return group != nullptr && group->Is(L"optgroup") && group->HasAttribute(L"disabled");
}

// The options of a select: its option children and those of its optgroup children.
std::vector<const Element*> OptionList(const Element& select) {
    std::vector<const Element*> options;
    for (const auto& child : select.Children()) {
        const Element* element = child->AsElement();
        if (element == nullptr) continue;
        if (element->Is(L"option")) {
            options.push_back(element);
        } else if (element->Is(L"optgroup")) {
            for (const auto& grandchild : element->Children()) {
                const Element* option = grandchild->AsElement();
                if (option != nullptr && option->Is(L"option")) options.push_back(option);
            }
        }
    }
    return options;
}

std::optional<FormRequest> Navigate(const Url& target, std::wstring method, std::string body) {
    if (target.scheme != L"http" && target.scheme != L"https") return std::nullopt;
    FormRequest request;
    request.method = std::move(method);
    request.url = target.ToString();
    if (request.method == L"POST") {
        request.body = std::move(body);
        request.contentType = "application/x-www-form-urlencoded";
    }
    return request;
}

}  // namespace

bool IsListedElement(const Element& element) {
    for (std::wstring_view name : kListed) {
        if (element.Is(name)) return true;
    }
    return false;
}

std::wstring InputType(const Element& input) {
    const std::wstring* type = input.GetAttribute(L"type");
    if (type == nullptr) return L"text";
    const std::wstring lower = AsciiLowerCopy(*type);
    for (std::wstring_view known : kInputTypes) {
        if (lower == known) return lower;
    }
    return L"text";
}

bool IsSubmitButton(const Element& element) {
    if (element.Is(L"input")) {
        const std::wstring type = InputType(element);
        return type == L"submit" || type == L"image";
    }
    if (element.Is(L"button")) {
        const std::wstring* type = element.GetAttribute(L"type");
        if (type == nullptr) return true;
        const std::wstring lower = AsciiLowerCopy(*type);
        return lower != L"reset" && lower != L"button";
    }
    return false;
}

bool IsDisabledControl(const Element& element) {
    if (!IsListedElement(element) && !element.Is(L"option") && !element.Is(L"optgroup")) {
        return false;
    }
    if (element.Is(L"option")) return IsOptionDisabled(element);
    if (element.HasAttribute(L"disabled")) return true;
    // A disabled fieldset disables what it holds, except inside its first legend.
    for (const Node* p = element.Parent(); p != nullptr; p = p->Parent()) {
        const Element* fieldset = p->AsElement();
        if (fieldset == nullptr || !fieldset->Is(L"fieldset") || !fieldset->HasAttribute(L"disabled")) {
            continue;
        }
        const Element* firstLegend = nullptr;
        for (const auto& child : fieldset->Children()) {
            const Element* legend = child->AsElement();
            if (legend != nullptr && legend->Is(L"legend")) {
                firstLegend = legend;
                break;
            }
        }
        if (firstLegend == nullptr || !IsAncestorOf(*firstLegend, element)) return true;
    }
    return false;
}

Element* FindElementById(const Node& root, std::wstring_view id) {
    if (id.empty()) return nullptr;
    Element* found = nullptr;
    ForEachDescendant(root, [&](Node& node) {
        Element* element = node.AsElement();
        if (element == nullptr) return true;
        const std::wstring* value = element->GetAttribute(L"id");
        if (value != nullptr && *value == id) {
            found = element;
            return false;
        }
        return true;
    });
    return found;
}

Element* FormOwner(const Node& root, const Element& element) {
    if (const std::wstring* formId = element.GetAttribute(L"form")) {
        if (!IsListedElement(element)) return NearestAncestor(element, L"form");
        Element* form = FindElementById(root, *formId);
        return form != nullptr && form->Is(L"form") ? form : nullptr;
    }
    if (element.parserForm != nullptr && &TreeRoot(*element.parserForm) == &root &&
        &TreeRoot(element) == &root) {
        return element.parserForm;
    }
    return NearestAncestor(element, L"form");
}

std::wstring ControlValue(const Element& control) {
    if (control.Is(L"textarea")) {
        return control.dirtyValue ? *control.dirtyValue : TextContent(control);
    }
    if (control.Is(L"select")) {
        const auto selected = SelectedOptions(control);
        return selected.empty() ? std::wstring() : OptionValue(*selected.front());
    }
    if (control.Is(L"option")) return OptionValue(control);
    const std::wstring* attribute = control.GetAttribute(L"value");
    if (control.Is(L"button")) return attribute ? *attribute : std::wstring();
    const std::wstring type = InputType(control);
    if (type == L"checkbox" || type == L"radio") return attribute ? *attribute : L"on";
    if (type == L"hidden" || type == L"submit" || type == L"image" || type == L"reset" ||
        type == L"button") {
        return attribute ? *attribute : std::wstring();
    }
    if (type == L"file") return {};
    std::wstring value = control.dirtyValue ? *control.dirtyValue
                                            : (attribute ? *attribute : std::wstring());
    return StripNewlines(value);
}

bool ControlChecked(const Element& control) {
    if (control.checkedness) return *control.checkedness;
    return control.HasAttribute(L"checked");
}

std::vector<const Element*> SelectedOptions(const Element& select) {
    const std::vector<const Element*> options = OptionList(select);
    std::vector<const Element*> selected;
    for (const Element* option : options) {
        const bool on = option->selectedness ? *option->selectedness : option->HasAttribute(L"selected");
        if (on) selected.push_back(option);
    }
    if (select.HasAttribute(L"multiple")) return selected;
    // A single-choice list shows one option: the last one marked, else the
    // first enabled one unless the list is drawn as a box.
    if (!selected.empty()) return {selected.back()};
    const std::wstring* size = select.GetAttribute(L"size");
    if (size != nullptr && std::wcstol(size->c_str(), nullptr, 10) > 1) return {};
    for (const Element* option : options) {
        if (!IsOptionDisabled(*option)) return {option};
    }
    return {};
}

std::wstring OptionValue(const Element& option) {
    if (const std::wstring* value = option.GetAttribute(L"value")) return *value;
    // The text, with white space stripped and collapsed.
    std::wstring text;
    bool pendingSpace = false;
    for (wchar_t c : TextContent(option)) {
        if (IsHtmlWhitespace(c)) {
            pendingSpace = !text.empty();
            continue;
        }
        if (pendingSpace) text.push_back(L' ');
        pendingSpace = false;
        text.push_back(c);
    }
    return text;
}

FormEntries ConstructEntryList(const Node& root, const Element& form, const Element* submitter) {
    FormEntries entries;
    ForEachDescendant(root, [&](Node& node) {
        Element* control = node.AsElement();
        if (control == nullptr || !IsListedElement(*control)) return true;
        if (FormOwner(root, *control) != &form) return true;
        if (InDatalist(*control) || IsDisabledControl(*control)) return true;
        if (control->Is(L"object") || control->Is(L"fieldset") || control->Is(L"output")) return true;
        if (control->Is(L"button") && control != submitter) return true;
        const std::wstring type = control->Is(L"input") ? InputType(*control) : std::wstring();
        if (control->Is(L"input")) {
            if ((type == L"submit" || type == L"image") && control != submitter) return true;
            if (type == L"reset" || type == L"button") return true;
            if ((type == L"checkbox" || type == L"radio") && !ControlChecked(*control)) return true;
        }
        const std::wstring* nameAttribute = control->GetAttribute(L"name");
        const std::wstring name = nameAttribute ? *nameAttribute : std::wstring();
        if (type == L"image") {
            const std::wstring prefix = name.empty() ? std::wstring() : name + L".";
            entries.emplace_back(prefix + L"x", L"0");
            entries.emplace_back(prefix + L"y", L"0");
            return true;
        }
        if (name.empty()) return true;
        if (control->Is(L"select")) {
            for (const Element* option : SelectedOptions(*control)) {
                if (!IsOptionDisabled(*option)) entries.emplace_back(name, OptionValue(*option));
            }
            return true;
        }
        entries.emplace_back(name, ControlValue(*control));
        return true;
    });
    for (auto& [name, value] : entries) {
        name = NormaliseLineBreaks(name);
        value = NormaliseLineBreaks(value);
    }
    return entries;
}

std::string UrlEncodeEntries(const FormEntries& entries, Charset charset) {
    std::string out;
    for (const auto& [name, value] : entries) {
        if (!out.empty()) out.push_back('&');
        AppendUrlEncoded(out, EncodeText(name, charset));
        out.push_back('=');
        AppendUrlEncoded(out, EncodeText(value, charset));
    }
    return out;
}

std::optional<FormRequest> SubmitForm(const Node& root, const Element& form,
                                      const Element* submitter, std::wstring_view baseUrl,
                                      std::wstring_view documentUrl, Charset charset) {
    const auto attribute = [&](std::wstring_view formName,
                               std::wstring_view name) -> const std::wstring* {
        if (submitter != nullptr) {
            if (const std::wstring* value = submitter->GetAttribute(formName)) return value;
        }
        return form.GetAttribute(name);
    };
    const std::wstring* methodAttribute = attribute(L"formmethod", L"method");
    const std::wstring method = methodAttribute ? AsciiLowerCopy(*methodAttribute) : L"get";
    if (method == L"dialog") return std::nullopt;

    const std::wstring* actionAttribute = attribute(L"formaction", L"action");
    std::optional<Url> action;
    if (actionAttribute == nullptr || actionAttribute->empty()) {
        action = ParseUrl(documentUrl);
    } else {
        const std::optional<Url> base = ParseUrl(baseUrl);
        action = base ? ResolveUrl(*base, *actionAttribute) : ParseUrl(*actionAttribute);
    }
    if (!action) return std::nullopt;

    Charset formCharset = charset == Charset::Windows1252 ? Charset::Windows1252 : Charset::Utf8;
    if (const std::wstring* accept = form.GetAttribute(L"accept-charset")) {
        std::wstring_view labels = *accept;
        while (!labels.empty()) {
            const std::size_t space = labels.find_first_of(L" \t\n\f\r,");
            const std::wstring_view label = labels.substr(0, space);
            Charset candidate;
            if (!label.empty() && CharsetFromLabel(WideToUtf8(label), candidate)) {
                formCharset = candidate == Charset::Windows1252 ? candidate : Charset::Utf8;
                break;
            }
            if (space == std::wstring_view::npos) break;
            labels.remove_prefix(space + 1);
        }
    }
    const std::string data = UrlEncodeEntries(ConstructEntryList(root, form, submitter), formCharset);
    if (method == L"post") return Navigate(*action, L"POST", data);
    action->query = Utf8ToWide(data);
    return Navigate(*action, L"GET", {});
}

}  // namespace qv::html
