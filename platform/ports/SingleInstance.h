#pragma once

#include <string>

namespace qv {

enum class MutexResult { Created, AlreadyExisted, Failed };

class INamedMutex {
public:
    virtual ~INamedMutex() = default;
    // Creates (without owning) the named mutex; the implementation keeps it
    // open for the life of the process.
    virtual MutexResult Create(const std::wstring& name) = 0;
};

}  // namespace qv
