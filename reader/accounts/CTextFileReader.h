#pragma once
// Reads a text file line by line in the encoding its first bytes announce:
// a byte-order mark for UTF-8, UTF-16 or UTF-32, otherwise ANSI bytes (read
// with the OEM code page, as the file has always been read; account.ini
// itself only holds Base64, where the two pages agree).

#include <fstream>
#include <string>

namespace qv {

enum class TextFileEncoding { Ansi, Utf8, Utf16Le, Utf16Be, Utf32Le, Utf32Be };

class CTextFileReader {
public:
    CTextFileReader() = default;
    CTextFileReader(const CTextFileReader&) = delete;
    CTextFileReader& operator=(const CTextFileReader&) = delete;

    // Detects the encoding and leaves the file open just after its
    // byte-order mark. False when the file cannot be opened.
    bool Open(const std::wstring& path);

    // One line without its line feed (a carriage return before it stays).
    // True only when a line feed ended the line: at the end of the file the
    // result is false, and so is every read of a UTF-32 file.
    bool ReadLine(std::wstring& line);

    TextFileEncoding Encoding() const { return encoding_; }

private:
    bool ReadByteLine(std::string& bytes);

    std::ifstream file_;
    TextFileEncoding encoding_ = TextFileEncoding::Ansi;
};

}  // namespace qv
