#pragma once
// Notices that account.ini changed on disk. The sibling program rewrites
// the file while the reader runs; a change counts once the file reads the
// same on two polls in a row, so a file caught half-written is never taken.
// The file is small, so its content itself is compared: a time stamp can
// stay the same across two quick writes, and content cannot lie.

#include <optional>
#include <string>

namespace qv {

class AccountFileWatch {
public:
    explicit AccountFileWatch(std::wstring path) : path_(std::move(path)) {}

    // The content now on disk is the one the list was loaded from.
    void Accept();
    // True when the file's content differs from the accepted one and read
    // the same at the previous poll. A missing file reads as empty.
    bool Poll();

private:
    std::string Read() const;

    std::wstring path_;
    std::optional<std::string> accepted_;
    std::optional<std::string> previous_;
};

}  // namespace qv
