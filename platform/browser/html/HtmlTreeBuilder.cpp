#include "HtmlTreeBuilder.h"

#include <algorithm>
#include <initializer_list>
#include <optional>
#include <string_view>
#include <unordered_map>

#include "HtmlTokenizer.h"

namespace qv::html {
namespace {

using Type = Token::Type;
using Names = std::initializer_list<std::wstring_view>;

bool In(std::wstring_view name, Names names) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

const Names kSpecial = {
    L"address", L"applet",     L"area",     L"article",    L"aside",     L"base",     L"basefont",
    L"bgsound", L"blockquote", L"body",     L"br",         L"button",    L"caption",  L"center",
    L"col",     L"colgroup",   L"dd",       L"details",    L"dir",       L"div",      L"dl",
    L"dt",      L"embed",      L"fieldset", L"figcaption", L"figure",    L"footer",   L"form",
    L"frame",   L"frameset",   L"h1",       L"h2",         L"h3",        L"h4",       L"h5",
    L"h6",      L"head",       L"header",   L"hgroup",     L"hr",        L"html",     L"iframe",
    L"img",     L"input",      L"keygen",   L"li",         L"link",      L"listing",  L"main",
    L"marquee", L"menu",       L"meta",     L"nav",        L"noembed",   L"noframes", L"noscript",
    L"object",  L"ol",         L"p",        L"param",      L"plaintext", L"pre",      L"script",
    L"search",  L"section",    L"select",   L"source",     L"style",     L"summary",  L"table",
    L"tbody",   L"td",         L"template", L"textarea",   L"tfoot",     L"th",       L"thead",
    L"title",   L"tr",         L"track",    L"ul",         L"wbr",       L"xmp"};
const Names kHeadings = {L"h1", L"h2", L"h3", L"h4", L"h5", L"h6"};
const Names kFormatting = {L"a",    L"b", L"big",   L"code",   L"em",     L"font", L"i",
                           L"nobr", L"s", L"small", L"strike", L"strong", L"tt",   L"u"};
const Names kImpliedEnd = {L"dd", L"dt", L"li", L"optgroup", L"option",
                           L"p",  L"rb", L"rp", L"rt",       L"rtc"};
const Names kDefaultScope = {L"applet", L"caption", L"html",   L"table",   L"td",
                             L"th",     L"marquee", L"object", L"template"};
const Names kListItemScope = {L"applet",  L"caption", L"html",     L"table", L"td", L"th",
                              L"marquee", L"object",  L"template", L"ol",    L"ul"};
const Names kButtonScope = {L"applet", L"caption", L"html",   L"table",    L"td",
                            L"th",     L"marquee", L"object", L"template", L"button"};
const Names kTableScope = {L"html", L"table", L"template"};
const Names kFormAssociated = {L"button", L"fieldset", L"input",    L"object",
                               L"output", L"select",   L"textarea", L"img"};

enum class Mode {
    Initial,
    BeforeHtml,
    BeforeHead,
    InHead,
    AfterHead,
    InBody,
    Text,
    InTable,
    InTableText,
    InCaption,
    InColumnGroup,
    InTableBody,
    InRow,
    InCell,
    InSelect,
    InSelectInTable,
    AfterBody,
    InFrameset,
    AfterFrameset,
    AfterAfterBody,
    AfterAfterFrameset,
};

bool IsWhitespaceOnly(std::wstring_view text) {
    return std::all_of(text.begin(), text.end(), IsHtmlWhitespace);
}

Token StartTag(std::wstring_view name) {
    Token token;
    token.type = Type::StartTag;
    token.name = name;
    return token;
}

bool QuirksDoctype(const Token& doctype) {
    if (doctype.forceQuirks || doctype.name != L"html") return true;
    const std::wstring publicId = AsciiLowerCopy(doctype.publicId);
    const std::wstring systemId = AsciiLowerCopy(doctype.systemId);
    if (publicId == L"-//w3o//dtd w3 html strict 3.0//en//" ||
        publicId == L"-/w3c/dtd html 4.0 transitional/en" || publicId == L"html" ||
        systemId == L"http://www.ibm.com/data/dtd/v11/ibmxhtml1-transitional.dtd") {
        return true;
    }
    static const Names kQuirkyPrefixes = {L"+//silmaril//dtd html pro v0r11 19970101//",
                                          L"-//as//dtd html 3.0 aswedit + extensions//",
                                          L"-//ietf//dtd html 2.0",
                                          L"-//ietf//dtd html 3",
                                          L"-//ietf//dtd html level",
                                          L"-//ietf//dtd html strict",
                                          L"-//ietf//dtd html//",
                                          L"-//metrius//dtd metrius presentational//",
                                          L"-//microsoft//dtd internet explorer",
                                          L"-//netscape comm. corp.//dtd",
                                          L"-//o'reilly and associates//dtd html",
                                          L"-//softquad",
                                          L"-//spyglass//dtd html 2.0 extended//",
                                          L"-//sun microsystems corp.//dtd hotjava html",
                                          L"-//w3c//dtd html 3",
                                          L"-//w3c//dtd html 4.0 frameset//",
                                          L"-//w3c//dtd html 4.0 transitional//",
                                          L"-//w3c//dtd html experimental",
                                          L"-//w3c//dtd w3 html//",
                                          L"-//w3o//dtd w3 html 3.0//",
                                          L"-//webtechs//dtd mozilla html"};
    for (std::wstring_view prefix : kQuirkyPrefixes) {
        if (publicId.compare(0, prefix.size(), prefix) == 0) return true;
    }
    if (!doctype.hasSystemId && (publicId.rfind(L"-//w3c//dtd html 4.01 frameset//", 0) == 0 ||
                                 publicId.rfind(L"-//w3c//dtd html 4.01 transitional//", 0) == 0)) {
        return true;
    }
    return false;
}

class TreeBuilder {
public:
    TreeBuilder(Node& root, std::wstring_view text) : root_(root), tokenizer_(text) {}

    void RunDocument() { Run(); }

    void RunFragment(const Element& context, Element* form) {
        context_ = &context;
        const std::wstring& name = context.LocalName();
        if (In(name, {L"title", L"textarea"})) {
            tokenizer_.SetState(Tokenizer::State::Rcdata);
        } else if (In(name, {L"style", L"xmp", L"iframe", L"noembed", L"noframes", L"noscript"})) {
            tokenizer_.SetState(Tokenizer::State::Rawtext);
        } else if (name == L"script") {
            tokenizer_.SetState(Tokenizer::State::ScriptData);
        } else if (name == L"plaintext") {
            tokenizer_.SetState(Tokenizer::State::Plaintext);
        }
        tokenizer_.SetLastStartTag(name);
        auto html = std::make_unique<Element>(L"html");
        open_.push_back(static_cast<Element*>(root_.AppendChild(std::move(html))));
        formPointer_ = form;
        ResetInsertionMode();
        Run();
    }

private:
    struct FormattingEntry {
        Element* element;  // null marks a boundary (applet, object, cells, captions)
        std::wstring name;
        std::vector<Attribute> attributes;
    };

    void Run() {
        for (;;) {
            Token token = tokenizer_.Next();
            if (token.type == Type::Characters && skipNextNewline_) {
                skipNextNewline_ = false;
                if (!token.data.empty() && token.data.front() == L'\n') token.data.erase(0, 1);
                if (token.data.empty()) continue;
            }
            skipNextNewline_ = false;
            Process(token);
            if (token.type == Type::EndOfFile) return;
        }
    }

    void Process(Token& token) { ProcessIn(mode_, token); }

    void ProcessIn(Mode mode, Token& token) {
        switch (mode) {
            case Mode::Initial:
                return Initial(token);
            case Mode::BeforeHtml:
                return BeforeHtml(token);
            case Mode::BeforeHead:
                return BeforeHead(token);
            case Mode::InHead:
                return InHead(token);
            case Mode::AfterHead:
                return AfterHead(token);
            case Mode::InBody:
                return InBody(token);
            case Mode::Text:
                return TextMode(token);
            case Mode::InTable:
                return InTable(token);
            case Mode::InTableText:
                return InTableText(token);
            case Mode::InCaption:
                return InCaption(token);
            case Mode::InColumnGroup:
                return InColumnGroup(token);
            case Mode::InTableBody:
                return InTableBody(token);
            case Mode::InRow:
                return InRow(token);
            case Mode::InCell:
                return InCell(token);
            case Mode::InSelect:
                return InSelect(token);
            case Mode::InSelectInTable:
                return InSelectInTable(token);
            case Mode::AfterBody:
                return AfterBody(token);
            case Mode::InFrameset:
                return InFrameset(token);
            case Mode::AfterFrameset:
                return AfterFrameset(token);
            case Mode::AfterAfterBody:
                return AfterAfterBody(token);
            case Mode::AfterAfterFrameset:
                return AfterAfterFrameset(token);
        }
    }

    // Hands the leading whitespace of a character token to `whitespace` and
    // leaves the rest in the token; true when something is left.
    template <typename F>
    bool SplitLeadingWhitespace(Token& token, F&& whitespace) {
        std::size_t n = 0;
        while (n < token.data.size() && IsHtmlWhitespace(token.data[n])) ++n;
        if (n > 0) {
            whitespace(std::wstring_view(token.data).substr(0, n));
            token.data.erase(0, n);
        }
        return !token.data.empty();
    }

    // ---- stack of open elements --------------------------------------------

    Element* Current() const { return open_.empty() ? nullptr : open_.back(); }
    bool CurrentIs(std::wstring_view name) const { return Current() && Current()->Is(name); }
    bool CurrentIsOneOf(Names names) const {
        return Current() && In(Current()->LocalName(), names);
    }
    bool OnStack(const Element* element) const {
        return std::find(open_.begin(), open_.end(), element) != open_.end();
    }
    bool OnStackNamed(std::wstring_view name) const {
        return std::any_of(open_.begin(), open_.end(), [&](Element* e) { return e->Is(name); });
    }
    void Pop() {
        if (open_.size() > 1) open_.pop_back();
    }
    void PopUntil(Names names) {
        while (open_.size() > 1) {
            const bool hit = In(open_.back()->LocalName(), names);
            open_.pop_back();
            if (hit) return;
        }
    }
    void PopUntil(std::wstring_view name) { PopUntil({name}); }
    void RemoveFromStack(const Element* element) {
        auto it = std::find(open_.begin(), open_.end(), element);
        if (it != open_.end() && it != open_.begin()) open_.erase(it);
    }

    bool InScopeOf(Names targets, Names boundaries) const {
        for (auto it = open_.rbegin(); it != open_.rend(); ++it) {
            if (In((*it)->LocalName(), targets)) return true;
            if (In((*it)->LocalName(), boundaries)) return false;
        }
        return false;
    }
    bool InScope(std::wstring_view name) const { return InScopeOf({name}, kDefaultScope); }
    bool InButtonScope(std::wstring_view name) const { return InScopeOf({name}, kButtonScope); }
    bool InTableScope(std::wstring_view name) const { return InScopeOf({name}, kTableScope); }
    bool InSelectScope(std::wstring_view name) const {
        for (auto it = open_.rbegin(); it != open_.rend(); ++it) {
            if ((*it)->Is(name)) return true;
            if (!(*it)->Is(L"optgroup") && !(*it)->Is(L"option")) return false;
        }
        return false;
    }

    void GenerateImpliedEndTags(std::wstring_view except = {}) {
        while (Current() && In(Current()->LocalName(), kImpliedEnd) &&
               Current()->LocalName() != except) {
            Pop();
        }
    }
    void ClosePElement() {
        GenerateImpliedEndTags(L"p");
        PopUntil(L"p");
    }
    void ClosePIfInButtonScope() {
        if (InButtonScope(L"p")) ClosePElement();
    }

    // ---- insertion ----------------------------------------------------------

    struct Place {
        Node* parent;
        Node* before;
    };

    Place AppropriatePlace(Element* override = nullptr) {
        Node* target = override ? override : Current();
        if (target == nullptr) return {&root_, nullptr};
        Element* targetElement = target->AsElement();
        if (fosterParenting_ && targetElement &&
            In(targetElement->LocalName(), {L"table", L"tbody", L"tfoot", L"thead", L"tr"})) {
            for (std::size_t i = open_.size(); i-- > 0;) {
                if (!open_[i]->Is(L"table")) continue;
                if (open_[i]->Parent() != nullptr) return {open_[i]->Parent(), open_[i]};
                return {i > 0 ? open_[i - 1] : open_[0], nullptr};
            }
            return {open_[0], nullptr};
        }
        return {target, nullptr};
    }

    void InsertText(std::wstring_view text) {
        if (text.empty()) return;
        const Place place = AppropriatePlace();
        if (place.parent->Kind() == NodeKind::Document) return;
        Node* previous = nullptr;
        if (place.before == nullptr) {
            previous = place.parent->LastChild();
        } else {
            const std::size_t index = place.parent->IndexOf(place.before);
            if (index > 0) previous = place.parent->Children()[index - 1].get();
        }
        if (previous != nullptr && previous->Kind() == NodeKind::Text) {
            previous->data += text;
            return;
        }
        auto node = std::make_unique<Node>(NodeKind::Text);
        node->data = text;
        place.parent->InsertBefore(std::move(node), place.before);
    }

    void InsertComment(const Token& token, Node* parent = nullptr) {
        auto node = std::make_unique<Node>(NodeKind::Comment);
        node->data = token.data;
        if (parent != nullptr) {
            parent->AppendChild(std::move(node));
            return;
        }
        const Place place = AppropriatePlace();
        place.parent->InsertBefore(std::move(node), place.before);
    }

    std::unique_ptr<Element> CreateElement(std::wstring_view name,
                                           const std::vector<Attribute>& attributes) {
        auto element = std::make_unique<Element>(std::wstring(name));
        element->AddAttributesIfMissing(attributes);
        // The fragment parser's nodes live outside the document, so only the
        // document parser associates them with the form it has open.
        if (formPointer_ != nullptr && context_ == nullptr && In(name, kFormAssociated) &&
            !element->HasAttribute(L"form")) {
            element->parserForm = formPointer_;
        }
        return element;
    }

    Element* InsertElement(std::wstring_view name, const std::vector<Attribute>& attributes,
                           bool push = true) {
        const Place place = AppropriatePlace();
        auto element = CreateElement(name, attributes);
        Element* raw = element.get();
        place.parent->InsertBefore(std::move(element), place.before);
        if (push && (open_.size() < kMaxOpenElements || tokenizerSwitchPending_)) {
            open_.push_back(raw);
        }
        return raw;
    }
    Element* Insert(const Token& token) { return InsertElement(token.name, token.attributes); }
    void InsertVoid(const Token& token) { InsertElement(token.name, token.attributes, false); }

    void InsertRawText(const Token& token, Tokenizer::State state) {
        tokenizerSwitchPending_ = true;
        Insert(token);
        tokenizerSwitchPending_ = false;
        tokenizer_.SetState(state);
        originalMode_ = mode_;
        mode_ = Mode::Text;
    }

    // ---- active formatting elements ----------------------------------------

    bool InFormattingList(const Element* element) const {
        return std::any_of(formatting_.begin(), formatting_.end(),
                           [&](const FormattingEntry& e) { return e.element == element; });
    }
    std::size_t FormattingIndex(const Element* element) const {
        for (std::size_t i = 0; i < formatting_.size(); ++i) {
            if (formatting_[i].element == element) return i;
        }
        return formatting_.size();
    }
    void RemoveFromFormatting(const Element* element) {
        const std::size_t index = FormattingIndex(element);
        if (index < formatting_.size()) {
            formatting_.erase(formatting_.begin() + static_cast<std::ptrdiff_t>(index));
        }
    }
    void InsertMarker() { formatting_.push_back({nullptr, {}, {}}); }
    void ClearFormattingToMarker() {
        while (!formatting_.empty()) {
            const bool marker = formatting_.back().element == nullptr;
            formatting_.pop_back();
            if (marker) return;
        }
    }

    // Both lists hold each name once, as the tokenizer leaves them.
    static bool SameAttributes(const std::vector<Attribute>& a, const std::vector<Attribute>& b) {
        if (a.size() != b.size()) return false;
        std::unordered_map<std::wstring_view, std::wstring_view> values;
        values.reserve(b.size());
        for (const Attribute& y : b) values.emplace(y.name, y.value);
        return std::all_of(a.begin(), a.end(), [&](const Attribute& x) {
            const auto found = values.find(x.name);
            return found != values.end() && found->second == x.value;
        });
    }

    void PushFormatting(Element* element, const Token& token) {
        if (Current() != element) return;  // not opened: too deep
        std::size_t same = 0;
        std::size_t earliest = formatting_.size();
        for (std::size_t i = formatting_.size(); i-- > 0;) {
            const FormattingEntry& entry = formatting_[i];
            if (entry.element == nullptr) break;
            if (entry.name == token.name && SameAttributes(entry.attributes, token.attributes)) {
                ++same;
                earliest = i;
            }
        }
        if (same >= 3)
            formatting_.erase(formatting_.begin() + static_cast<std::ptrdiff_t>(earliest));
        formatting_.push_back({element, token.name, token.attributes});
    }

    void ReconstructFormatting() {
        if (formatting_.empty()) return;
        const FormattingEntry& last = formatting_.back();
        if (last.element == nullptr || OnStack(last.element)) return;
        std::size_t index = formatting_.size() - 1;
        while (index > 0) {
            const FormattingEntry& previous = formatting_[index - 1];
            if (previous.element == nullptr || OnStack(previous.element)) break;
            --index;
        }
        for (; index < formatting_.size(); ++index) {
            if (open_.size() >= kMaxOpenElements) return;
            FormattingEntry& entry = formatting_[index];
            entry.element = InsertElement(entry.name, entry.attributes);
        }
    }

    // Returns false when the token is to be handled as "any other end tag".
    bool AdoptionAgency(const Token& token) {
        const std::wstring& subject = token.name;
        if (CurrentIs(subject) && !InFormattingList(Current())) {
            Pop();
            return true;
        }
        for (int outer = 0; outer < 8; ++outer) {
            Element* formattingElement = nullptr;
            for (std::size_t i = formatting_.size(); i-- > 0;) {
                if (formatting_[i].element == nullptr) break;
                if (formatting_[i].name == subject) {
                    formattingElement = formatting_[i].element;
                    break;
                }
            }
            if (formattingElement == nullptr) return false;
            if (!OnStack(formattingElement)) {
                RemoveFromFormatting(formattingElement);
                return true;
            }
            if (!InScope(formattingElement->LocalName())) return true;
            const std::size_t formattingStackIndex = static_cast<std::size_t>(
                std::find(open_.begin(), open_.end(), formattingElement) - open_.begin());
            Element* furthestBlock = nullptr;
            std::size_t furthestIndex = 0;
            for (std::size_t i = formattingStackIndex + 1; i < open_.size(); ++i) {
                if (In(open_[i]->LocalName(), kSpecial)) {
                    furthestBlock = open_[i];
                    furthestIndex = i;
                    break;
                }
            }
            if (furthestBlock == nullptr) {
                while (open_.size() > formattingStackIndex) open_.pop_back();
                RemoveFromFormatting(formattingElement);
                return true;
            }
            Element* commonAncestor = open_[formattingStackIndex - 1];
            std::size_t bookmark = FormattingIndex(formattingElement);
            Node* lastNode = furthestBlock;
            std::size_t nodeIndex = furthestIndex;
            for (int inner = 1;; ++inner) {
                --nodeIndex;
                Element* node = open_[nodeIndex];
                if (node == formattingElement) break;
                const std::size_t listIndex = FormattingIndex(node);
                if (inner > 3 && listIndex < formatting_.size()) {
                    formatting_.erase(formatting_.begin() + static_cast<std::ptrdiff_t>(listIndex));
                    if (listIndex < bookmark) --bookmark;
                    open_.erase(open_.begin() + static_cast<std::ptrdiff_t>(nodeIndex));
                    continue;
                }
                if (listIndex >= formatting_.size()) {
                    open_.erase(open_.begin() + static_cast<std::ptrdiff_t>(nodeIndex));
                    continue;
                }
                FormattingEntry& entry = formatting_[listIndex];
                auto replacement = CreateElement(entry.name, entry.attributes);
                Element* replacementRaw = replacement.get();
                // Parked under the common ancestor until it is moved into place.
                commonAncestor->AppendChild(std::move(replacement));
                entry.element = replacementRaw;
                open_[nodeIndex] = replacementRaw;
                if (lastNode == furthestBlock) bookmark = listIndex + 1;
                replacementRaw->AppendChild(lastNode->Parent()->RemoveChild(lastNode));
                lastNode = replacementRaw;
            }
            std::unique_ptr<Node> moved = lastNode->Parent()->RemoveChild(lastNode);
            const Place place = AppropriatePlace(commonAncestor);
            place.parent->InsertBefore(std::move(moved), place.before);

            const std::size_t formattingListIndex = FormattingIndex(formattingElement);
            FormattingEntry entry = formatting_[formattingListIndex];
            auto wrapper = CreateElement(entry.name, entry.attributes);
            Element* wrapperRaw = wrapper.get();
            while (!furthestBlock->Children().empty()) {
                wrapperRaw->AppendChild(
                    furthestBlock->RemoveChild(furthestBlock->Children().front().get()));
            }
            furthestBlock->AppendChild(std::move(wrapper));
            formatting_.erase(formatting_.begin() +
                              static_cast<std::ptrdiff_t>(formattingListIndex));
            if (formattingListIndex < bookmark) --bookmark;
            entry.element = wrapperRaw;
            formatting_.insert(formatting_.begin() + static_cast<std::ptrdiff_t>(
                                                         std::min(bookmark, formatting_.size())),
                               entry);
            RemoveFromStack(formattingElement);
            const auto blockIt = std::find(open_.begin(), open_.end(), furthestBlock);
            open_.insert(blockIt + 1, wrapperRaw);
        }
        return true;
    }

    void AnyOtherEndTag(const Token& token) {
        for (std::size_t i = open_.size(); i-- > 0;) {
            Element* node = open_[i];
            if (node->Is(token.name)) {
                GenerateImpliedEndTags(token.name);
                while (open_.size() > i && open_.size() > 1) open_.pop_back();
                return;
            }
            if (In(node->LocalName(), kSpecial)) return;
        }
    }

    void ResetInsertionMode() {
        for (std::size_t i = open_.size(); i-- > 0;) {
            const bool last = i == 0;
            const Element* node = open_[i];
            if (last && context_ != nullptr) node = context_;
            const std::wstring& name = node->LocalName();
            if (name == L"select") {
                mode_ = Mode::InSelect;
                for (std::size_t j = i; !last && j-- > 0;) {
                    if (open_[j]->Is(L"table")) {
                        mode_ = Mode::InSelectInTable;
                        break;
                    }
                }
                return;
            }
            if ((name == L"td" || name == L"th") && !last) return void(mode_ = Mode::InCell);
            if (name == L"tr") return void(mode_ = Mode::InRow);
            if (In(name, {L"tbody", L"thead", L"tfoot"})) return void(mode_ = Mode::InTableBody);
            if (name == L"caption") return void(mode_ = Mode::InCaption);
            if (name == L"colgroup") return void(mode_ = Mode::InColumnGroup);
            if (name == L"table") return void(mode_ = Mode::InTable);
            if (name == L"head" && !last) return void(mode_ = Mode::InHead);
            if (name == L"body") return void(mode_ = Mode::InBody);
            if (name == L"frameset") return void(mode_ = Mode::InFrameset);
            if (name == L"html") {
                mode_ = head_ == nullptr ? Mode::BeforeHead : Mode::AfterHead;
                return;
            }
            if (last) return void(mode_ = Mode::InBody);
        }
        mode_ = Mode::InBody;
    }

    // ---- insertion modes ----------------------------------------------------

    void Initial(Token& token) {
        if (token.type == Type::Characters && !SplitLeadingWhitespace(token, [](auto) {})) return;
        if (token.type == Type::Comment) return InsertComment(token, &root_);
        if (token.type == Type::Doctype) {
            auto node = std::make_unique<Node>(NodeKind::Doctype);
            node->data = token.name;
            root_.AppendChild(std::move(node));
            quirks_ = QuirksDoctype(token);
            mode_ = Mode::BeforeHtml;
            return;
        }
        quirks_ = true;
        mode_ = Mode::BeforeHtml;
        Process(token);
    }

    void BeforeHtml(Token& token) {
        if (token.type == Type::Doctype) return;
        if (token.type == Type::Comment) return InsertComment(token, &root_);
        if (token.type == Type::Characters && !SplitLeadingWhitespace(token, [](auto) {})) return;
        if (token.type == Type::StartTag && token.name == L"html") {
            open_.push_back(
                static_cast<Element*>(root_.AppendChild(CreateElement(L"html", token.attributes))));
            mode_ = Mode::BeforeHead;
            return;
        }
        if (token.type == Type::EndTag && !In(token.name, {L"head", L"body", L"html", L"br"}))
            return;
        open_.push_back(static_cast<Element*>(root_.AppendChild(CreateElement(L"html", {}))));
        mode_ = Mode::BeforeHead;
        Process(token);
    }

    void BeforeHead(Token& token) {
        if (token.type == Type::Characters && !SplitLeadingWhitespace(token, [](auto) {})) return;
        if (token.type == Type::Comment) return InsertComment(token);
        if (token.type == Type::Doctype) return;
        if (token.type == Type::StartTag && token.name == L"html") return InBody(token);
        if (token.type == Type::StartTag && token.name == L"head") {
            head_ = Insert(token);
            mode_ = Mode::InHead;
            return;
        }
        if (token.type == Type::EndTag && !In(token.name, {L"head", L"body", L"html", L"br"}))
            return;
        head_ = InsertElement(L"head", {});
        mode_ = Mode::InHead;
        Process(token);
    }

    void InHead(Token& token) {
        if (token.type == Type::Characters &&
            !SplitLeadingWhitespace(token, [&](std::wstring_view ws) { InsertText(ws); })) {
            return;
        }
        if (token.type == Type::Comment) return InsertComment(token);
        if (token.type == Type::Doctype) return;
        if (token.type == Type::StartTag) {
            const std::wstring& name = token.name;
            if (name == L"html") return InBody(token);
            if (In(name, {L"base", L"basefont", L"bgsound", L"link", L"meta"})) {
                return InsertVoid(token);
            }
            if (name == L"title") return InsertRawText(token, Tokenizer::State::Rcdata);
            if (In(name, {L"noframes", L"style", L"noscript"})) {
                return InsertRawText(token, Tokenizer::State::Rawtext);
            }
            if (name == L"script") return InsertRawText(token, Tokenizer::State::ScriptData);
            if (name == L"template") {
                // Template contents are kept as ordinary children.
                Insert(token);
                InsertMarker();
                return;
            }
            if (name == L"head") return;
        }
        if (token.type == Type::EndTag) {
            if (token.name == L"head") {
                Pop();
                mode_ = Mode::AfterHead;
                return;
            }
            if (token.name == L"template") {
                if (!OnStackNamed(L"template")) return;
                GenerateImpliedEndTags();
                PopUntil(L"template");
                ClearFormattingToMarker();
                ResetInsertionMode();
                return;
            }
            if (!In(token.name, {L"body", L"html", L"br"})) return;
        }
        if (CurrentIs(L"head")) Pop();
        mode_ = Mode::AfterHead;
        Process(token);
    }

    void AfterHead(Token& token) {
        if (token.type == Type::Characters &&
            !SplitLeadingWhitespace(token, [&](std::wstring_view ws) { InsertText(ws); })) {
            return;
        }
        if (token.type == Type::Comment) return InsertComment(token);
        if (token.type == Type::Doctype) return;
        if (token.type == Type::StartTag) {
            const std::wstring& name = token.name;
            if (name == L"html") return InBody(token);
            if (name == L"body") {
                Insert(token);
                framesetOk_ = false;
                mode_ = Mode::InBody;
                return;
            }
            if (name == L"frameset") {
                Insert(token);
                mode_ = Mode::InFrameset;
                return;
            }
            if (In(name, {L"base", L"basefont", L"bgsound", L"link", L"meta", L"noframes",
                          L"script", L"style", L"template", L"title"})) {
                if (head_ == nullptr) return;
                open_.push_back(head_);
                InHead(token);
                RemoveFromStack(head_);
                return;
            }
            if (name == L"head") return;
        }
        if (token.type == Type::EndTag) {
            if (token.name == L"template") return InHead(token);
            if (!In(token.name, {L"body", L"html", L"br"})) return;
        }
        InsertElement(L"body", {});
        mode_ = Mode::InBody;
        Process(token);
    }

    void InBodyCharacters(const Token& token) {
        std::wstring text;
        text.reserve(token.data.size());
        for (wchar_t c : token.data) {
            if (c != L'\0') text.push_back(c);
        }
        if (text.empty()) return;
        ReconstructFormatting();
        InsertText(text);
        if (!IsWhitespaceOnly(text)) framesetOk_ = false;
    }

    void InBody(Token& token) {
        switch (token.type) {
            case Type::Characters:
                return InBodyCharacters(token);
            case Type::Comment:
                return InsertComment(token);
            case Type::Doctype:
                return;
            case Type::EndOfFile:
                return;
            case Type::StartTag:
                return InBodyStartTag(token);
            case Type::EndTag:
                return InBodyEndTag(token);
        }
    }

    void InBodyStartTag(Token& token) {
        const std::wstring& name = token.name;
        if (name == L"html") {
            if (OnStackNamed(L"template") || open_.empty()) return;
            open_[0]->AddAttributesIfMissing(token.attributes);
            return;
        }
        if (In(name, {L"base", L"basefont", L"bgsound", L"link", L"meta", L"noframes", L"script",
                      L"style", L"template", L"title"})) {
            return InHead(token);
        }
        if (name == L"body") {
            if (open_.size() < 2 || !open_[1]->Is(L"body") || OnStackNamed(L"template")) return;
            framesetOk_ = false;
            open_[1]->AddAttributesIfMissing(token.attributes);
            return;
        }
        if (name == L"frameset") {
            if (open_.size() < 2 || !open_[1]->Is(L"body") || !framesetOk_) return;
            Element* body = open_[1];
            if (body->Parent() != nullptr) body->Parent()->RemoveChild(body);
            while (open_.size() > 1) open_.pop_back();
            Insert(token);
            mode_ = Mode::InFrameset;
            return;
        }
        if (In(name, {L"address",  L"article",    L"aside",   L"blockquote", L"center",
                      L"details",  L"dialog",     L"dir",     L"div",        L"dl",
                      L"fieldset", L"figcaption", L"figure",  L"footer",     L"header",
                      L"hgroup",   L"main",       L"menu",    L"nav",        L"ol",
                      L"p",        L"search",     L"section", L"summary",    L"ul"})) {
            ClosePIfInButtonScope();
            Insert(token);
            return;
        }
        if (In(name, kHeadings)) {
            ClosePIfInButtonScope();
            if (CurrentIsOneOf(kHeadings)) Pop();
            Insert(token);
            return;
        }
        if (name == L"pre" || name == L"listing") {
            ClosePIfInButtonScope();
            Insert(token);
            skipNextNewline_ = true;
            framesetOk_ = false;
            return;
        }
        if (name == L"form") {
            const bool inTemplate = OnStackNamed(L"template");
            if (formPointer_ != nullptr && !inTemplate) return;
            ClosePIfInButtonScope();
            Element* form = Insert(token);
            if (!inTemplate) formPointer_ = form;
            return;
        }
        if (name == L"li" || name == L"dd" || name == L"dt") {
            framesetOk_ = false;
            const bool listItem = name == L"li";
            for (std::size_t i = open_.size(); i-- > 0;) {
                Element* node = open_[i];
                if (listItem ? node->Is(L"li") : In(node->LocalName(), {L"dd", L"dt"})) {
                    const std::wstring closing = node->LocalName();
                    GenerateImpliedEndTags(closing);
                    PopUntil(closing);
                    break;
                }
                if (In(node->LocalName(), kSpecial) &&
                    !In(node->LocalName(), {L"address", L"div", L"p"})) {
                    break;
                }
            }
            ClosePIfInButtonScope();
            Insert(token);
            return;
        }
        if (name == L"plaintext") {
            ClosePIfInButtonScope();
            tokenizerSwitchPending_ = true;
            Insert(token);
            tokenizerSwitchPending_ = false;
            tokenizer_.SetState(Tokenizer::State::Plaintext);
            return;
        }
        if (name == L"button") {
            if (InScope(L"button")) {
                GenerateImpliedEndTags();
                PopUntil(L"button");
            }
            ReconstructFormatting();
            Insert(token);
            framesetOk_ = false;
            return;
        }
        if (name == L"a") {
            for (std::size_t i = formatting_.size(); i-- > 0;) {
                Element* element = formatting_[i].element;
                if (element == nullptr) break;
                if (element->Is(L"a")) {
                    Token end;
                    end.type = Type::EndTag;
                    end.name = L"a";
                    if (!AdoptionAgency(end)) AnyOtherEndTag(end);
                    RemoveFromFormatting(element);
                    RemoveFromStack(element);
                    break;
                }
            }
            ReconstructFormatting();
            PushFormatting(Insert(token), token);
            return;
        }
        if (In(name, kFormatting) && name != L"nobr") {
            ReconstructFormatting();
            PushFormatting(Insert(token), token);
            return;
        }
        if (name == L"nobr") {
            ReconstructFormatting();
            if (InScope(L"nobr")) {
                Token end;
                end.type = Type::EndTag;
                end.name = L"nobr";
                if (!AdoptionAgency(end)) AnyOtherEndTag(end);
                ReconstructFormatting();
            }
            PushFormatting(Insert(token), token);
            return;
        }
        if (In(name, {L"applet", L"marquee", L"object"})) {
            ReconstructFormatting();
            Insert(token);
            InsertMarker();
            framesetOk_ = false;
            return;
        }
        if (name == L"table") {
            if (!quirks_) ClosePIfInButtonScope();
            Insert(token);
            framesetOk_ = false;
            mode_ = Mode::InTable;
            return;
        }
        if (In(name, {L"area", L"br", L"embed", L"img", L"keygen", L"wbr"})) {
            ReconstructFormatting();
            InsertVoid(token);
            framesetOk_ = false;
            return;
        }
        if (name == L"input") {
            ReconstructFormatting();
            InsertVoid(token);
            const std::wstring* type = token.GetAttribute(L"type");
            if (type == nullptr || !EqualsIgnoringAsciiCase(*type, L"hidden")) framesetOk_ = false;
            return;
        }
        if (In(name, {L"param", L"source", L"track"})) return InsertVoid(token);
        if (name == L"hr") {
            ClosePIfInButtonScope();
            InsertVoid(token);
            framesetOk_ = false;
            return;
        }
        if (name == L"image") {
            token.name = L"img";
            return InBodyStartTag(token);
        }
        if (name == L"textarea") {
            skipNextNewline_ = true;
            framesetOk_ = false;
            return InsertRawText(token, Tokenizer::State::Rcdata);
        }
        if (name == L"xmp") {
            ClosePIfInButtonScope();
            ReconstructFormatting();
            framesetOk_ = false;
            return InsertRawText(token, Tokenizer::State::Rawtext);
        }
        if (name == L"iframe") {
            framesetOk_ = false;
            return InsertRawText(token, Tokenizer::State::Rawtext);
        }
        if (name == L"noembed" || name == L"noscript") {
            return InsertRawText(token, Tokenizer::State::Rawtext);
        }
        if (name == L"select") {
            ReconstructFormatting();
            Insert(token);
            framesetOk_ = false;
            mode_ = In(mode_, {Mode::InTable, Mode::InCaption, Mode::InTableBody, Mode::InRow,
                               Mode::InCell})
                        ? Mode::InSelectInTable
                        : Mode::InSelect;
            return;
        }
        if (name == L"optgroup" || name == L"option") {
            if (CurrentIs(L"option")) Pop();
            ReconstructFormatting();
            Insert(token);
            return;
        }
        if (name == L"rb" || name == L"rtc") {
            if (InScope(L"ruby")) GenerateImpliedEndTags();
            Insert(token);
            return;
        }
        if (name == L"rp" || name == L"rt") {
            if (InScope(L"ruby")) GenerateImpliedEndTags(L"rtc");
            Insert(token);
            return;
        }
        if (In(name, {L"caption", L"col", L"colgroup", L"frame", L"head", L"tbody", L"td", L"tfoot",
                      L"th", L"thead", L"tr"})) {
            return;
        }
        ReconstructFormatting();
        if (token.selfClosing && (name == L"svg" || name == L"math")) return InsertVoid(token);
        Insert(token);
    }

    static bool In(Mode mode, std::initializer_list<Mode> modes) {
        return std::find(modes.begin(), modes.end(), mode) != modes.end();
    }
    static bool In(std::wstring_view name, Names names) { return qv::html::In(name, names); }

    void InBodyEndTag(Token& token) {
        const std::wstring& name = token.name;
        if (name == L"template") return InHead(token);
        if (name == L"body" || name == L"html") {
            if (!InScope(L"body")) return;
            mode_ = Mode::AfterBody;
            if (name == L"html") Process(token);
            return;
        }
        if (In(name, {L"address",    L"article", L"aside",  L"blockquote", L"button", L"center",
                      L"details",    L"dialog",  L"dir",    L"div",        L"dl",     L"fieldset",
                      L"figcaption", L"figure",  L"footer", L"header",     L"hgroup", L"listing",
                      L"main",       L"menu",    L"nav",    L"ol",         L"pre",    L"search",
                      L"section",    L"summary", L"ul"})) {
            if (!InScope(name)) return;
            GenerateImpliedEndTags();
            PopUntil(name);
            return;
        }
        if (name == L"form") {
            if (OnStackNamed(L"template")) {
                if (!InScope(L"form")) return;
                GenerateImpliedEndTags();
                PopUntil(L"form");
                return;
            }
            Element* node = formPointer_;
            formPointer_ = nullptr;
            if (node == nullptr || !OnStack(node)) return;
            for (auto it = open_.rbegin(); it != open_.rend(); ++it) {
                if (*it == node) break;
                if (In((*it)->LocalName(), kDefaultScope)) return;
            }
            GenerateImpliedEndTags();
            RemoveFromStack(node);
            return;
        }
        if (name == L"p") {
            if (!InButtonScope(L"p")) InsertElement(L"p", {});
            ClosePElement();
            return;
        }
        if (name == L"li") {
            if (!InScopeOf({L"li"}, kListItemScope)) return;
            GenerateImpliedEndTags(L"li");
            PopUntil(L"li");
            return;
        }
        if (name == L"dd" || name == L"dt") {
            if (!InScope(name)) return;
            GenerateImpliedEndTags(name);
            PopUntil(name);
            return;
        }
        if (In(name, kHeadings)) {
            if (!InScopeOf(kHeadings, kDefaultScope)) return;
            GenerateImpliedEndTags();
            PopUntil(kHeadings);
            return;
        }
        if (In(name, kFormatting)) {
            if (!AdoptionAgency(token)) AnyOtherEndTag(token);
            return;
        }
        if (In(name, {L"applet", L"marquee", L"object"})) {
            if (!InScope(name)) return;
            GenerateImpliedEndTags();
            PopUntil(name);
            ClearFormattingToMarker();
            return;
        }
        if (name == L"br") {
            Token start = StartTag(L"br");
            return InBodyStartTag(start);
        }
        AnyOtherEndTag(token);
    }

    void TextMode(Token& token) {
        if (token.type == Type::Characters) return InsertText(token.data);
        if (token.type == Type::EndOfFile) {
            Pop();
            mode_ = originalMode_;
            return Process(token);
        }
        if (token.type == Type::EndTag) {
            Pop();
            mode_ = originalMode_;
        }
    }

    void ClearStackBackTo(Names names) {
        while (open_.size() > 1 && !CurrentIsOneOf(names)) Pop();
    }

    void InTableAnythingElse(Token& token) {
        fosterParenting_ = true;
        InBody(token);
        fosterParenting_ = false;
    }

    void InTable(Token& token) {
        if (token.type == Type::Characters) {
            if (CurrentIsOneOf({L"table", L"tbody", L"template", L"tfoot", L"thead", L"tr"})) {
                pendingTableText_.clear();
                originalMode_ = mode_;
                mode_ = Mode::InTableText;
                return Process(token);
            }
            return InTableAnythingElse(token);
        }
        if (token.type == Type::Comment) return InsertComment(token);
        if (token.type == Type::Doctype) return;
        if (token.type == Type::EndOfFile) return InBody(token);
        const std::wstring& name = token.name;
        if (token.type == Type::StartTag) {
            if (name == L"caption") {
                ClearStackBackTo({L"table", L"template", L"html"});
                InsertMarker();
                Insert(token);
                mode_ = Mode::InCaption;
                return;
            }
            if (name == L"colgroup") {
                ClearStackBackTo({L"table", L"template", L"html"});
                Insert(token);
                mode_ = Mode::InColumnGroup;
                return;
            }
            if (name == L"col") {
                ClearStackBackTo({L"table", L"template", L"html"});
                InsertElement(L"colgroup", {});
                mode_ = Mode::InColumnGroup;
                return Process(token);
            }
            if (In(name, {L"tbody", L"tfoot", L"thead"})) {
                ClearStackBackTo({L"table", L"template", L"html"});
                Insert(token);
                mode_ = Mode::InTableBody;
                return;
            }
            if (In(name, {L"td", L"th", L"tr"})) {
                ClearStackBackTo({L"table", L"template", L"html"});
                InsertElement(L"tbody", {});
                mode_ = Mode::InTableBody;
                return Process(token);
            }
            if (name == L"table") {
                if (!InTableScope(L"table")) return;
                PopUntil(L"table");
                ResetInsertionMode();
                return Process(token);
            }
            if (In(name, {L"style", L"script", L"template"})) return InHead(token);
            if (name == L"input") {
                const std::wstring* type = token.GetAttribute(L"type");
                if (type != nullptr && EqualsIgnoringAsciiCase(*type, L"hidden")) {
                    return InsertVoid(token);
                }
                return InTableAnythingElse(token);
            }
            if (name == L"form") {
                if (formPointer_ != nullptr || OnStackNamed(L"template")) return;
                formPointer_ = InsertElement(L"form", token.attributes, false);
                return;
            }
        } else {
            if (name == L"table") {
                if (!InTableScope(L"table")) return;
                PopUntil(L"table");
                ResetInsertionMode();
                return;
            }
            if (In(name, {L"body", L"caption", L"col", L"colgroup", L"html", L"tbody", L"td",
                          L"tfoot", L"th", L"thead", L"tr"})) {
                return;
            }
            if (name == L"template") return InHead(token);
        }
        InTableAnythingElse(token);
    }

    void InTableText(Token& token) {
        if (token.type == Type::Characters) {
            for (wchar_t c : token.data) {
                if (c != L'\0') pendingTableText_.push_back(c);
            }
            return;
        }
        if (!IsWhitespaceOnly(pendingTableText_)) {
            Token text;
            text.type = Type::Characters;
            text.data = pendingTableText_;
            InTableAnythingElse(text);
        } else {
            InsertText(pendingTableText_);
        }
        pendingTableText_.clear();
        mode_ = originalMode_;
        Process(token);
    }

    bool CloseCaption() {
        if (!InTableScope(L"caption")) return false;
        GenerateImpliedEndTags();
        PopUntil(L"caption");
        ClearFormattingToMarker();
        mode_ = Mode::InTable;
        return true;
    }

    void InCaption(Token& token) {
        const std::wstring& name = token.name;
        if (token.type == Type::EndTag && name == L"caption") {
            CloseCaption();
            return;
        }
        if ((token.type == Type::StartTag && In(name, {L"caption", L"col", L"colgroup", L"tbody",
                                                       L"td", L"tfoot", L"th", L"thead", L"tr"})) ||
            (token.type == Type::EndTag && name == L"table")) {
            if (CloseCaption()) Process(token);
            return;
        }
        if (token.type == Type::EndTag && In(name, {L"body", L"col", L"colgroup", L"html", L"tbody",
                                                    L"td", L"tfoot", L"th", L"thead", L"tr"})) {
            return;
        }
        InBody(token);
    }

    void InColumnGroup(Token& token) {
        if (token.type == Type::Characters &&
            !SplitLeadingWhitespace(token, [&](std::wstring_view ws) { InsertText(ws); })) {
            return;
        }
        if (token.type == Type::Comment) return InsertComment(token);
        if (token.type == Type::Doctype) return;
        if (token.type == Type::StartTag && token.name == L"html") return InBody(token);
        if (token.type == Type::StartTag && token.name == L"col") return InsertVoid(token);
        if (token.type == Type::EndTag && token.name == L"colgroup") {
            if (!CurrentIs(L"colgroup")) return;
            Pop();
            mode_ = Mode::InTable;
            return;
        }
        if (token.type == Type::EndTag && token.name == L"col") return;
        if (token.name == L"template" && token.type != Type::Characters) return InHead(token);
        if (token.type == Type::EndOfFile) return InBody(token);
        if (!CurrentIs(L"colgroup")) return;
        Pop();
        mode_ = Mode::InTable;
        Process(token);
    }

    void InTableBody(Token& token) {
        const std::wstring& name = token.name;
        const Names context = {L"tbody", L"tfoot", L"thead", L"template", L"html"};
        if (token.type == Type::StartTag && name == L"tr") {
            ClearStackBackTo(context);
            Insert(token);
            mode_ = Mode::InRow;
            return;
        }
        if (token.type == Type::StartTag && (name == L"th" || name == L"td")) {
            ClearStackBackTo(context);
            InsertElement(L"tr", {});
            mode_ = Mode::InRow;
            return Process(token);
        }
        if (token.type == Type::EndTag && In(name, {L"tbody", L"tfoot", L"thead"})) {
            if (!InTableScope(name)) return;
            ClearStackBackTo(context);
            Pop();
            mode_ = Mode::InTable;
            return;
        }
        if ((token.type == Type::StartTag &&
             In(name, {L"caption", L"col", L"colgroup", L"tbody", L"tfoot", L"thead"})) ||
            (token.type == Type::EndTag && name == L"table")) {
            if (!InScopeOf({L"tbody", L"thead", L"tfoot"}, kTableScope)) return;
            ClearStackBackTo(context);
            Pop();
            mode_ = Mode::InTable;
            return Process(token);
        }
        if (token.type == Type::EndTag &&
            In(name, {L"body", L"caption", L"col", L"colgroup", L"html", L"td", L"th", L"tr"})) {
            return;
        }
        InTable(token);
    }

    bool CloseRow() {
        if (!InTableScope(L"tr")) return false;
        ClearStackBackTo({L"tr", L"template", L"html"});
        Pop();
        mode_ = Mode::InTableBody;
        return true;
    }

    void InRow(Token& token) {
        const std::wstring& name = token.name;
        if (token.type == Type::StartTag && (name == L"th" || name == L"td")) {
            ClearStackBackTo({L"tr", L"template", L"html"});
            Insert(token);
            mode_ = Mode::InCell;
            InsertMarker();
            return;
        }
        if (token.type == Type::EndTag && name == L"tr") {
            CloseRow();
            return;
        }
        if ((token.type == Type::StartTag &&
             In(name, {L"caption", L"col", L"colgroup", L"tbody", L"tfoot", L"thead", L"tr"})) ||
            (token.type == Type::EndTag && name == L"table")) {
            if (CloseRow()) Process(token);
            return;
        }
        if (token.type == Type::EndTag && In(name, {L"tbody", L"tfoot", L"thead"})) {
            if (!InTableScope(name)) return;
            if (CloseRow()) Process(token);
            return;
        }
        if (token.type == Type::EndTag &&
            In(name, {L"body", L"caption", L"col", L"colgroup", L"html", L"td", L"th"})) {
            return;
        }
        InTable(token);
    }

    void CloseCell() {
        GenerateImpliedEndTags();
        PopUntil({L"td", L"th"});
        ClearFormattingToMarker();
        mode_ = Mode::InRow;
    }

    void InCell(Token& token) {
        const std::wstring& name = token.name;
        if (token.type == Type::EndTag && (name == L"td" || name == L"th")) {
            if (!InTableScope(name)) return;
            CloseCell();
            return;
        }
        if (token.type == Type::StartTag && In(name, {L"caption", L"col", L"colgroup", L"tbody",
                                                      L"td", L"tfoot", L"th", L"thead", L"tr"})) {
            if (!InScopeOf({L"td", L"th"}, kTableScope)) return;
            CloseCell();
            return Process(token);
        }
        if (token.type == Type::EndTag &&
            In(name, {L"body", L"caption", L"col", L"colgroup", L"html"})) {
            return;
        }
        if (token.type == Type::EndTag &&
            In(name, {L"table", L"tbody", L"tfoot", L"thead", L"tr"})) {
            if (!InTableScope(name)) return;
            CloseCell();
            return Process(token);
        }
        InBody(token);
    }

    void CloseSelect() {
        PopUntil(L"select");
        ResetInsertionMode();
    }

    void InSelect(Token& token) {
        const std::wstring& name = token.name;
        switch (token.type) {
            case Type::Characters: {
                std::wstring text;
                for (wchar_t c : token.data) {
                    if (c != L'\0') text.push_back(c);
                }
                return InsertText(text);
            }
            case Type::Comment:
                return InsertComment(token);
            case Type::Doctype:
                return;
            case Type::EndOfFile:
                return InBody(token);
            case Type::StartTag:
                if (name == L"html") return InBody(token);
                if (name == L"option") {
                    if (CurrentIs(L"option")) Pop();
                    Insert(token);
                    return;
                }
                if (name == L"optgroup" || name == L"hr") {
                    if (CurrentIs(L"option")) Pop();
                    if (CurrentIs(L"optgroup")) Pop();
                    if (name == L"hr") return InsertVoid(token);
                    Insert(token);
                    return;
                }
                if (name == L"select") {
                    if (InSelectScope(L"select")) CloseSelect();
                    return;
                }
                if (In(name, {L"input", L"keygen", L"textarea"})) {
                    if (!InSelectScope(L"select")) return;
                    CloseSelect();
                    return Process(token);
                }
                if (name == L"script" || name == L"template") return InHead(token);
                return;
            case Type::EndTag:
                if (name == L"optgroup") {
                    if (CurrentIs(L"option") && open_.size() >= 2 &&
                        open_[open_.size() - 2]->Is(L"optgroup")) {
                        Pop();
                    }
                    if (CurrentIs(L"optgroup")) Pop();
                    return;
                }
                if (name == L"option") {
                    if (CurrentIs(L"option")) Pop();
                    return;
                }
                if (name == L"select") {
                    if (InSelectScope(L"select")) CloseSelect();
                    return;
                }
                if (name == L"template") return InHead(token);
                return;
        }
    }

    void InSelectInTable(Token& token) {
        const Names tableParts = {L"caption", L"table", L"tbody", L"tfoot",
                                  L"thead",   L"tr",    L"td",    L"th"};
        if (token.type == Type::StartTag && In(token.name, tableParts)) {
            CloseSelect();
            return Process(token);
        }
        if (token.type == Type::EndTag && In(token.name, tableParts)) {
            if (!InTableScope(token.name)) return;
            CloseSelect();
            return Process(token);
        }
        InSelect(token);
    }

    void AfterBody(Token& token) {
        if (token.type == Type::Characters &&
            !SplitLeadingWhitespace(token, [&](std::wstring_view ws) {
                // Chromium puts this whitespace where the body ends, without
                // reopening formatting elements first.
                InsertText(ws);
            })) {
            return;
        }
        if (token.type == Type::Comment) return InsertComment(token, open_[0]);
        if (token.type == Type::Doctype) return;
        if (token.type == Type::StartTag && token.name == L"html") return InBody(token);
        if (token.type == Type::EndTag && token.name == L"html") {
            if (context_ == nullptr) mode_ = Mode::AfterAfterBody;
            return;
        }
        if (token.type == Type::EndOfFile) return;
        mode_ = Mode::InBody;
        Process(token);
    }

    void AfterAfterBody(Token& token) {
        if (token.type == Type::Comment) return InsertComment(token, &root_);
        if (token.type == Type::Doctype ||
            (token.type == Type::StartTag && token.name == L"html") ||
            (token.type == Type::Characters && IsWhitespaceOnly(token.data))) {
            return InBody(token);
        }
        if (token.type == Type::EndOfFile) return;
        mode_ = Mode::InBody;
        Process(token);
    }

    void InFrameset(Token& token) {
        if (token.type == Type::Characters) {
            std::wstring ws;
            for (wchar_t c : token.data) {
                if (IsHtmlWhitespace(c)) ws.push_back(c);
            }
            return InsertText(ws);
        }
        if (token.type == Type::Comment) return InsertComment(token);
        if (token.type == Type::StartTag) {
            if (token.name == L"html") return InBody(token);
            if (token.name == L"frameset") return void(Insert(token));
            if (token.name == L"frame") return InsertVoid(token);
            if (token.name == L"noframes") return InHead(token);
            return;
        }
        if (token.type == Type::EndTag && token.name == L"frameset") {
            if (open_.size() <= 1) return;
            Pop();
            if (context_ == nullptr && !CurrentIs(L"frameset")) mode_ = Mode::AfterFrameset;
        }
    }

    void AfterFrameset(Token& token) {
        if (token.type == Type::Characters) {
            std::wstring ws;
            for (wchar_t c : token.data) {
                if (IsHtmlWhitespace(c)) ws.push_back(c);
            }
            return InsertText(ws);
        }
        if (token.type == Type::Comment) return InsertComment(token);
        if (token.type == Type::StartTag && token.name == L"html") return InBody(token);
        if (token.type == Type::StartTag && token.name == L"noframes") return InHead(token);
        if (token.type == Type::EndTag && token.name == L"html") mode_ = Mode::AfterAfterFrameset;
    }

    void AfterAfterFrameset(Token& token) {
        if (token.type == Type::Comment) return InsertComment(token, &root_);
        if (token.type == Type::Doctype ||
            (token.type == Type::StartTag && token.name == L"html") ||
            (token.type == Type::Characters && IsWhitespaceOnly(token.data))) {
            return InBody(token);
        }
        if (token.type == Type::StartTag && token.name == L"noframes") return InHead(token);
    }

    Node& root_;
    Tokenizer tokenizer_;
    Mode mode_ = Mode::Initial;
    Mode originalMode_ = Mode::InBody;
    std::vector<Element*> open_;
    std::vector<FormattingEntry> formatting_;
    Element* head_ = nullptr;
    Element* formPointer_ = nullptr;
    const Element* context_ = nullptr;
    std::wstring pendingTableText_;
    bool framesetOk_ = true;
    bool fosterParenting_ = false;
    bool quirks_ = false;
    bool skipNextNewline_ = false;
    bool tokenizerSwitchPending_ = false;
};

}  // namespace

void BuildDocumentTree(Node& document, std::wstring_view text) {
    TreeBuilder builder(document, text);
    builder.RunDocument();
}

std::vector<std::unique_ptr<Node>> BuildFragment(const Element& context, std::wstring_view markup,
                                                 Element* form) {
    Node holder(NodeKind::Document);
    {
        TreeBuilder builder(holder, markup);
        builder.RunFragment(context, form);
    }
    std::vector<std::unique_ptr<Node>> nodes;
    if (holder.Children().empty()) return nodes;
    Node* html = holder.Children().front().get();
    while (!html->Children().empty()) {
        nodes.push_back(html->RemoveChild(html->Children().front().get()));
    }
    return nodes;
}

}  // namespace qv::html
