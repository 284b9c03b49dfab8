#pragma once
// Splits markup into tokens as the HTML tokenizer does: tags with their
// attributes (names lower-cased, the first of duplicate names kept), text
// runs with character references decoded, comments and doctypes. The tree
// builder switches the state for raw-text and escapable raw-text elements.

#include <string>
#include <string_view>
#include <vector>

#include "HtmlDom.h"

namespace qv::html {

struct Token {
    enum class Type { Doctype, StartTag, EndTag, Comment, Characters, EndOfFile };
    Type type = Type::EndOfFile;
    std::wstring name;  // tag or doctype name
    std::wstring data;  // text or comment
    std::vector<Attribute> attributes;
    bool selfClosing = false;
    // Doctype only.
    bool forceQuirks = false;
    bool hasPublicId = false;
    bool hasSystemId = false;
    std::wstring publicId;
    std::wstring systemId;

    const std::wstring* GetAttribute(std::wstring_view attributeName) const;
};

class Tokenizer {
public:
    enum class State { Data, Rcdata, Rawtext, ScriptData, Plaintext };

    // Line breaks are normalised (CR LF and lone CR become LF) before tokenizing.
    explicit Tokenizer(std::wstring_view input);

    Token Next();
    void SetState(State state) { state_ = state; }
    // The start tag whose end tag closes raw text (set for fragment contexts).
    void SetLastStartTag(std::wstring_view name) { lastStartTag_ = name; }

private:
    Token DataToken();
    Token RawTextToken(bool decodeReferences);
    bool AtAppropriateEndTag(std::size_t at) const;
    std::size_t ScriptEnd() const;
    bool TagOpen(Token& token);
    bool EndTagOpen(Token& token);
    bool ReadTagRest(Token& token);
    Token MarkupDeclaration();
    Token Comment();
    Token BogusComment(std::size_t from);
    Token Doctype();
    void ReadQuotedId(std::wstring& into, bool& has, Token& token);
    // Decodes the reference at input_[pos_] == '&' into `out`.
    void CharacterReference(std::wstring& out, bool inAttribute);

    bool AtEnd() const { return pos_ >= input_.size(); }
    wchar_t Peek(std::size_t ahead = 0) const {
        return pos_ + ahead < input_.size() ? input_[pos_ + ahead] : L'\0';
    }
    void SkipWhitespace();

    std::wstring input_;
    std::size_t pos_ = 0;
    State state_ = State::Data;
    std::wstring lastStartTag_;
};

}  // namespace qv::html
