#include "HtmlTokenizer.h"

#include "HtmlEntities.h"
#include "TextConvert.h"

namespace qv::html {
namespace {

constexpr wchar_t kReplacement = 0xFFFD;

bool IsAsciiAlnum(wchar_t c) {
    return IsAsciiAlpha(c) || IsAsciiDigit(c);
}
bool IsHexDigit(wchar_t c) {
    return IsAsciiDigit(c) || (c >= L'a' && c <= L'f') || (c >= L'A' && c <= L'F');
}

std::wstring NormaliseNewlines(std::wstring_view input) {
    std::wstring out;
    out.reserve(input.size());
    for (std::size_t i = 0; i < input.size(); ++i) {
        if (input[i] == L'\r') {
            out.push_back(L'\n');
            if (i + 1 < input.size() && input[i + 1] == L'\n') ++i;
        } else {
            out.push_back(input[i]);
        }
    }
    return out;
}

bool StartsWithIgnoringCase(std::wstring_view text, std::size_t at, std::wstring_view word) {
    if (at + word.size() > text.size()) return false;
    return EqualsIgnoringAsciiCase(text.substr(at, word.size()), word);
}

Token Characters(std::wstring text) {
    Token token;
    token.type = Token::Type::Characters;
    token.data = std::move(text);
    return token;
}

}  // namespace

const std::wstring* Token::GetAttribute(std::wstring_view attributeName) const {
    for (const Attribute& attribute : attributes) {
        if (attribute.name == attributeName) return &attribute.value;
    }
    return nullptr;
}

Tokenizer::Tokenizer(std::wstring_view input) : input_(NormaliseNewlines(input)) {}

void Tokenizer::SkipWhitespace() {
    while (!AtEnd() && IsHtmlWhitespace(input_[pos_])) ++pos_;
}

Token Tokenizer::Next() {
    while (!AtEnd()) {
        switch (state_) {
            case State::Data: {
                Token token = DataToken();
                if (token.type == Token::Type::Characters && token.data.empty()) continue;
                return token;
            }
            case State::Rcdata:
                return RawTextToken(true);
            case State::Rawtext:
            case State::ScriptData:
                return RawTextToken(false);
            case State::Plaintext: {
                std::wstring text = input_.substr(pos_);
                pos_ = input_.size();
                for (wchar_t& c : text) {
                    if (c == L'\0') c = kReplacement;
                }
                return Characters(std::move(text));
            }
        }
    }
    return Token{};
}

Token Tokenizer::DataToken() {
    std::wstring text;
    while (!AtEnd()) {
        const wchar_t c = input_[pos_];
        if (c == L'&') {
            CharacterReference(text, false);
            continue;
        }
        if (c == L'<') {
            if (!text.empty()) return Characters(std::move(text));
            Token token;
            const wchar_t next = Peek(1);
            if (IsAsciiAlpha(next)) {
                if (TagOpen(token)) return token;
                continue;  // the tag ran into the end of the input
            }
            if (next == L'/') {
                if (EndTagOpen(token)) return token;
                continue;
            }
            if (next == L'!') return MarkupDeclaration();
            if (next == L'?') return BogusComment(pos_ + 1);
            text.push_back(L'<');
            ++pos_;
            continue;
        }
        // U+0000 in text is dropped by every insertion mode that shows text.
        if (c != L'\0') text.push_back(c);
        ++pos_;
    }
    return Characters(std::move(text));
}

bool Tokenizer::AtAppropriateEndTag(std::size_t at) const {
    if (lastStartTag_.empty() || input_.compare(at, 2, L"</") != 0) return false;
    if (!StartsWithIgnoringCase(input_, at + 2, lastStartTag_)) return false;
    const std::size_t after = at + 2 + lastStartTag_.size();
    if (after >= input_.size()) return false;
    const wchar_t c = input_[after];
    return IsHtmlWhitespace(c) || c == L'/' || c == L'>';
}

// Where script text ends, following the script data states: inside "<!--"
// a nested "<script>" makes "</script>" part of the text until "-->" or the
// nested element's own end tag, as in document.write("<script>..</script>").
std::size_t Tokenizer::ScriptEnd() const {
    enum class S { Data, Escaped, DoubleEscaped };
    S state = S::Data;
    std::size_t i = pos_;
    const auto wordAt = [&](std::size_t at) -> std::wstring {
        std::wstring word;
        while (at < input_.size() && IsAsciiAlpha(input_[at]))
            word.push_back(AsciiLower(input_[at++]));
        if (at >= input_.size()) return {};
        const wchar_t c = input_[at];
        return IsHtmlWhitespace(c) || c == L'/' || c == L'>' ? word : std::wstring();
    };
    while (i < input_.size()) {
        const wchar_t c = input_[i];
        if (state != S::DoubleEscaped && c == L'<' && AtAppropriateEndTag(i)) return i;
        switch (state) {
            case S::Data:
                if (input_.compare(i, 4, L"<!--") == 0) {
                    state = S::Escaped;
                    // "<!--" may share its dashes with a closing "-->".
                    i += 2;
                    continue;
                }
                break;
            case S::Escaped:
                if (input_.compare(i, 3, L"-->") == 0) {
                    state = S::Data;
                    i += 3;
                    continue;
                }
                if (c == L'<' && i + 1 < input_.size() && IsAsciiAlpha(input_[i + 1]) &&
                    wordAt(i + 1) == L"script") {
                    state = S::DoubleEscaped;
                    i += 7;
                    continue;
                }
                break;
            case S::DoubleEscaped:
                if (input_.compare(i, 3, L"-->") == 0) {
                    state = S::Data;
                    i += 3;
                    continue;
                }
                if (input_.compare(i, 2, L"</") == 0 && wordAt(i + 2) == L"script") {
                    state = S::Escaped;
                    i += 8;
                    continue;
                }
                break;
        }
        ++i;
    }
    return std::wstring::npos;
}

Token Tokenizer::RawTextToken(bool decodeReferences) {
    std::wstring text;
    if (state_ == State::ScriptData) {
        const std::size_t end = ScriptEnd();
        text = input_.substr(pos_, end == std::wstring::npos ? std::wstring::npos : end - pos_);
        pos_ = end == std::wstring::npos ? input_.size() : end;
        if (end != std::wstring::npos) state_ = State::Data;
        for (wchar_t& c : text) {
            if (c == L'\0') c = kReplacement;
        }
        if (text.empty() && state_ == State::Data) return DataToken();
        return Characters(std::move(text));
    }
    while (!AtEnd()) {
        if (input_[pos_] == L'<' && AtAppropriateEndTag(pos_)) {
            state_ = State::Data;
            break;
        }
        if (decodeReferences && input_[pos_] == L'&') {
            CharacterReference(text, false);
            continue;
        }
        text.push_back(input_[pos_] == L'\0' ? kReplacement : input_[pos_]);
        ++pos_;
    }
    if (text.empty() && state_ == State::Data) return DataToken();
    return Characters(std::move(text));
}

bool Tokenizer::TagOpen(Token& token) {
    token.type = Token::Type::StartTag;
    ++pos_;  // '<'
    if (!ReadTagRest(token)) return false;
    // Once for the whole tag: checking each name as it is read would cost the
    // square of the number of attributes.
    DropRepeatedAttributes(token.attributes);
    lastStartTag_ = token.name;
    return true;
}

bool Tokenizer::EndTagOpen(Token& token) {
    pos_ += 2;  // "</"
    if (AtEnd()) {
        token = Characters(L"</");
        return true;
    }
    if (Peek() == L'>') {
        ++pos_;
        return false;
    }
    if (!IsAsciiAlpha(Peek())) {
        token = BogusComment(pos_);
        return true;
    }
    token.type = Token::Type::EndTag;
    if (!ReadTagRest(token)) return false;
    token.attributes.clear();
    token.selfClosing = false;
    return true;
}

// Reads the tag name and attributes up to '>'; false when the input ends first
// (the tag is then dropped, as the tokenizer does at end of file in a tag).
bool Tokenizer::ReadTagRest(Token& token) {
    while (!AtEnd()) {
        const wchar_t c = input_[pos_];
        if (IsHtmlWhitespace(c) || c == L'/' || c == L'>') break;
        token.name.push_back(c == L'\0' ? kReplacement : AsciiLower(c));
        ++pos_;
    }
    for (;;) {
        SkipWhitespace();
        if (AtEnd()) return false;
        wchar_t c = input_[pos_];
        if (c == L'>') {
            ++pos_;
            return true;
        }
        if (c == L'/') {
            ++pos_;
            if (Peek() == L'>') {
                ++pos_;
                token.selfClosing = true;
                return true;
            }
            continue;
        }
        Attribute attribute;
        // A leading '=' belongs to the name.
        attribute.name.push_back(AsciiLower(c));
        ++pos_;
        while (!AtEnd()) {
            c = input_[pos_];
            if (IsHtmlWhitespace(c) || c == L'/' || c == L'>' || c == L'=') break;
            attribute.name.push_back(c == L'\0' ? kReplacement : AsciiLower(c));
            ++pos_;
        }
        SkipWhitespace();
        if (Peek() == L'=') {
            ++pos_;
            SkipWhitespace();
            if (AtEnd()) return false;
            c = input_[pos_];
            if (c == L'"' || c == L'\'') {
                const wchar_t quote = c;
                ++pos_;
                for (;;) {
                    if (AtEnd()) return false;
                    c = input_[pos_];
                    if (c == quote) {
                        ++pos_;
                        break;
                    }
                    if (c == L'&') {
                        CharacterReference(attribute.value, true);
                        continue;
                    }
                    attribute.value.push_back(c == L'\0' ? kReplacement : c);
                    ++pos_;
                }
            } else {
                while (!AtEnd()) {
                    c = input_[pos_];
                    if (IsHtmlWhitespace(c) || c == L'>') break;
                    if (c == L'&') {
                        CharacterReference(attribute.value, true);
                        continue;
                    }
                    attribute.value.push_back(c == L'\0' ? kReplacement : c);
                    ++pos_;
                }
                if (AtEnd()) return false;
            }
        }
        token.attributes.push_back(std::move(attribute));
    }
}

Token Tokenizer::MarkupDeclaration() {
    if (input_.compare(pos_, 4, L"<!--") == 0) {
        pos_ += 4;
        return Comment();
    }
    if (StartsWithIgnoringCase(input_, pos_, L"<!doctype")) {
        pos_ += 9;
        return Doctype();
    }
    return BogusComment(pos_ + 2);
}

Token Tokenizer::Comment() {
    Token token;
    token.type = Token::Type::Comment;
    if (Peek() == L'>') {
        ++pos_;
        return token;
    }
    if (Peek() == L'-' && Peek(1) == L'>') {
        pos_ += 2;
        return token;
    }
    std::size_t end = pos_;
    for (;;) {
        end = input_.find(L"--", end);
        if (end == std::wstring::npos) {
            // Cut off by the end of the input: dashes that could have begun the
            // closing "-->" are not part of the text.
            token.data = input_.substr(pos_);
            pos_ = input_.size();
            for (int dash = 0; dash < 2 && !token.data.empty() && token.data.back() == L'-';
                 ++dash) {
                token.data.pop_back();
            }
            break;
        }
        if (end + 2 < input_.size() && input_[end + 2] == L'>') {
            token.data = input_.substr(pos_, end - pos_);
            pos_ = end + 3;
            break;
        }
        if (end + 3 < input_.size() && input_[end + 2] == L'!' && input_[end + 3] == L'>') {
            token.data = input_.substr(pos_, end - pos_);
            pos_ = end + 4;
            break;
        }
        ++end;
    }
    for (wchar_t& c : token.data) {
        if (c == L'\0') c = kReplacement;
    }
    return token;
}

Token Tokenizer::BogusComment(std::size_t from) {
    Token token;
    token.type = Token::Type::Comment;
    const std::size_t end = input_.find(L'>', from);
    if (end == std::wstring::npos) {
        token.data = input_.substr(from);
        pos_ = input_.size();
    } else {
        token.data = input_.substr(from, end - from);
        pos_ = end + 1;
    }
    for (wchar_t& c : token.data) {
        if (c == L'\0') c = kReplacement;
    }
    return token;
}

void Tokenizer::ReadQuotedId(std::wstring& into, bool& has, Token& token) {
    SkipWhitespace();
    const wchar_t quote = Peek();
    if (quote != L'"' && quote != L'\'') {
        token.forceQuirks = true;
        return;
    }
    ++pos_;
    has = true;
    while (!AtEnd() && input_[pos_] != quote) {
        if (input_[pos_] == L'>') {
            token.forceQuirks = true;
            return;
        }
        into.push_back(input_[pos_++]);
    }
    if (!AtEnd()) ++pos_;
}

Token Tokenizer::Doctype() {
    Token token;
    token.type = Token::Type::Doctype;
    SkipWhitespace();
    while (!AtEnd() && !IsHtmlWhitespace(input_[pos_]) && input_[pos_] != L'>') {
        token.name.push_back(input_[pos_] == L'\0' ? kReplacement : AsciiLower(input_[pos_]));
        ++pos_;
    }
    if (token.name.empty()) token.forceQuirks = true;
    SkipWhitespace();
    if (StartsWithIgnoringCase(input_, pos_, L"public")) {
        pos_ += 6;
        ReadQuotedId(token.publicId, token.hasPublicId, token);
        SkipWhitespace();
        if (Peek() == L'"' || Peek() == L'\'') {
            ReadQuotedId(token.systemId, token.hasSystemId, token);
        }
    } else if (StartsWithIgnoringCase(input_, pos_, L"system")) {
        pos_ += 6;
        ReadQuotedId(token.systemId, token.hasSystemId, token);
    } else if (!AtEnd() && Peek() != L'>') {
        token.forceQuirks = true;
    }
    const std::size_t end = input_.find(L'>', pos_);
    if (end == std::wstring::npos) {
        token.forceQuirks = true;
        pos_ = input_.size();
    } else {
        pos_ = end + 1;
    }
    return token;
}

void Tokenizer::CharacterReference(std::wstring& out, bool inAttribute) {
    const std::size_t start = pos_;
    ++pos_;  // '&'
    if (Peek() == L'#') {
        std::size_t at = pos_ + 1;
        const bool hex = at < input_.size() && (input_[at] == L'x' || input_[at] == L'X');
        if (hex) ++at;
        const std::size_t digitsStart = at;
        std::uint32_t value = 0;
        bool overflow = false;
        while (at < input_.size() && (hex ? IsHexDigit(input_[at]) : IsAsciiDigit(input_[at]))) {
            const wchar_t d = input_[at];
            const std::uint32_t digit = IsAsciiDigit(d) ? d - L'0' : (AsciiLower(d) - L'a' + 10);
            if (!overflow) {
                value = value * (hex ? 16 : 10) + digit;
                if (value > 0x10FFFF) overflow = true;
            }
            ++at;
        }
        if (at == digitsStart) {
            // "&#" or "&#x" without digits is text.
            out.append(input_, start, at - start);
            pos_ = at;
            return;
        }
        if (at < input_.size() && input_[at] == L';') ++at;
        pos_ = at;
        AppendCodePoint(out, NumericReferenceCharacter(overflow ? 0x110000 : value));
        return;
    }
    std::size_t end = pos_;
    while (end < input_.size() && end - pos_ < 40 && IsAsciiAlnum(input_[end])) ++end;
    if (end < input_.size() && input_[end] == L';') ++end;
    const std::wstring_view candidate = std::wstring_view(input_).substr(pos_, end - pos_);
    const auto match = MatchNamedReference(candidate);
    if (match) {
        const std::size_t after = pos_ + match->length;
        const wchar_t next = after < input_.size() ? input_[after] : L'\0';
        // In attribute values "&copy=1" and "&notx" stay as written.
        if (inAttribute && !match->endsWithSemicolon && (next == L'=' || IsAsciiAlnum(next))) {
            out.append(input_, start, after - start);
            pos_ = after;
            return;
        }
        AppendCodePoint(out, match->codePoint);
        pos_ = after;
        return;
    }
    out.push_back(L'&');
}

}  // namespace qv::html
