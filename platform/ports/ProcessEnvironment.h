#pragma once
// What the running process knows about itself.

#include <string>

namespace qv {

class IProcessEnvironment {
public:
    virtual ~IProcessEnvironment() = default;
    // Full path of the program file, as the system reports it for the
    // process's own module (at most 519 characters).
    virtual std::wstring ModuleFileName() const = 0;
    // The whole command line, program path and quotes included.
    virtual std::wstring CommandLine() const = 0;
};

}  // namespace qv
