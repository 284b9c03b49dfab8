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
    // Creates the key of the current user if need be and sets a string
    // value (stored with its terminating null); false when that fails.
    virtual bool SetCurrentUserString(const std::wstring& keyPath, const std::wstring& valueName,
                                      const std::wstring& data) = 0;
    // Deletes a value of the current user; a key or value that is not
    // there counts as deleted. False when the value stays.
    virtual bool DeleteCurrentUserValue(const std::wstring& keyPath,
                                        const std::wstring& valueName) = 0;
};

}  // namespace qv
