#pragma once

#include <cstdint>
#include <string>

namespace qv {

class IRegistry {
public:
    virtual ~IRegistry() = default;
    // Sets a 32-bit value under an existing key of the current user; false
    // when the key does not open or the value cannot be written.
    virtual bool SetCurrentUserDword(const std::wstring& keyPath, const std::wstring& valueName,
                                     std::uint32_t value) = 0;
};

}  // namespace qv
