#include "Win32SystemPorts.h"

#include <array>

namespace qv::win {

bool Win32FileSystem::PathExists(const std::wstring& path) const {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::wstring Win32ProcessEnvironment::ModuleFileName() const {
    std::array<wchar_t, 520> buffer{};
    const DWORD length =
        ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    return std::wstring(buffer.data(), length < buffer.size() ? length : buffer.size() - 1);
}

std::wstring Win32ProcessEnvironment::CommandLine() const {
    const wchar_t* line = ::GetCommandLineW();
    return line != nullptr ? line : L"";
}

MutexResult Win32NamedMutex::Create(const std::wstring& name) {
    mutex_.reset(::CreateMutexW(nullptr, FALSE, name.c_str()));
    if (!mutex_) return MutexResult::Failed;
    return ::GetLastError() == ERROR_ALREADY_EXISTS ? MutexResult::AlreadyExisted
                                                    : MutexResult::Created;
}

void Win32MessageBox::Show(const std::wstring& text, const std::wstring& caption,
                           MessageIcon icon) {
    UINT style = MB_OK;
    if (icon == MessageIcon::Warning) style |= MB_ICONWARNING;
    if (icon == MessageIcon::Information) style |= MB_ICONINFORMATION;
    ::MessageBoxW(nullptr, text.c_str(), caption.c_str(), style);
}

bool Win32Registry::SetCurrentUserDword(const std::wstring& keyPath, const std::wstring& valueName,
                                        std::uint32_t value) {
    HKEY raw = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, keyPath.c_str(), 0, KEY_SET_VALUE, &raw) !=
        ERROR_SUCCESS) {
        return false;
    }
    UniqueHkey key(raw);
    const DWORD data = value;
    return ::RegSetValueExW(key.get(), valueName.c_str(), 0, REG_DWORD,
                            reinterpret_cast<const BYTE*>(&data), sizeof(data)) == ERROR_SUCCESS;
}

bool Win32Registry::SetCurrentUserString(const std::wstring& keyPath, const std::wstring& valueName,
                                         const std::wstring& data) {
    HKEY raw = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, keyPath.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                          &raw, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    UniqueHkey key(raw);
    const DWORD bytes = static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t));
    return ::RegSetValueExW(key.get(), valueName.c_str(), 0, REG_SZ,
                            reinterpret_cast<const BYTE*>(data.c_str()), bytes) == ERROR_SUCCESS;
}

bool Win32Registry::DeleteCurrentUserValue(const std::wstring& keyPath,
                                           const std::wstring& valueName) {
    HKEY raw = nullptr;
    const LONG opened = ::RegOpenKeyExW(HKEY_CURRENT_USER, keyPath.c_str(), 0, KEY_SET_VALUE, &raw);
    if (opened == ERROR_FILE_NOT_FOUND) return true;
    if (opened != ERROR_SUCCESS) return false;
    UniqueHkey key(raw);
    const LONG deleted = ::RegDeleteValueW(key.get(), valueName.c_str());
    return deleted == ERROR_SUCCESS || deleted == ERROR_FILE_NOT_FOUND;
}

}  // namespace qv::win
