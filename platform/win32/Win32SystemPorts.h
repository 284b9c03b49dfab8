#pragma once
// The small system ports of the reader over the Win32 API.

#include "FileSystem.h"
#include "MessageBox.h"
#include "ProcessEnvironment.h"
#include "Registry.h"
#include "SingleInstance.h"
#include "WinHandles.h"

namespace qv::win {

class Win32FileSystem final : public IFileSystem {
public:
    bool PathExists(const std::wstring& path) const override;
};

class Win32ProcessEnvironment final : public IProcessEnvironment {
public:
    std::wstring ModuleFileName() const override;
    std::wstring CommandLine() const override;
};

class Win32NamedMutex final : public INamedMutex {
public:
    MutexResult Create(const std::wstring& name) override;

private:
    // Held for the life of the process: its existence is what tells a second
    // reader that this one runs.
    UniqueHandle mutex_;
};

class Win32MessageBox final : public IMessageBox {
public:
    void Show(const std::wstring& text, const std::wstring& caption, MessageIcon icon) override;
};

class Win32Registry final : public IRegistry {
public:
    bool SetCurrentUserDword(const std::wstring& keyPath, const std::wstring& valueName,
                             std::uint32_t value) override;
    bool SetCurrentUserString(const std::wstring& keyPath, const std::wstring& valueName,
                              const std::wstring& data) override;
    bool DeleteCurrentUserValue(const std::wstring& keyPath,
                                const std::wstring& valueName) override;
};

}  // namespace qv::win
