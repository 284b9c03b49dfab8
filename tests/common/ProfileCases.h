#pragma once
// One table of private-profile cases, run both against the portable store and
// against the system functions, so the two cannot drift apart unnoticed.

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "ProfileStore.h"

namespace qv::test {

struct ProfileOp {
    enum class Kind { Write, Read };
    Kind kind = Kind::Read;
    std::wstring section;
    std::wstring key;
    std::wstring value;     // Write
    int defaultValue = -1;  // Read
    int expected = -1;      // Read
};

ProfileOp Write(std::wstring section, std::wstring key, std::wstring value);
ProfileOp Read(std::wstring section, std::wstring key, int defaultValue, int expected);

struct ProfileCase {
    std::string name;                      // a test-name-safe identifier
    std::optional<std::string> startFile;  // file bytes before the first step; none: no file
    std::vector<ProfileOp> ops;
    std::optional<std::string> endFile;    // file bytes after the last step; none: no file
};

// Names the case in test output instead of dumping its bytes.
inline void PrintTo(const ProfileCase& profileCase, std::ostream* out) { *out << profileCase.name; }

struct ProfileRun {
    std::vector<int> reads;    // one per Read, in order
    std::vector<bool> writes;  // one per Write, in order
    std::optional<std::string> endFile;
};

const std::vector<ProfileCase>& ProfileCases();

std::vector<int> ExpectedReads(const ProfileCase& profileCase);

// Puts the case's starting file at path (or removes any file there), runs the
// steps against store and reports what it saw, final file bytes included.
ProfileRun RunProfileCase(const ProfileCase& profileCase, IProfileStore& store,
                          const std::wstring& path);

}  // namespace qv::test
