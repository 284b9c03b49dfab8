#include "ReaderProcess.h"

#include <shellapi.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace qv::wine {
namespace {

constexpr wchar_t kMainTitle[] = L"Corvane Transactions Reader";

struct WindowSearch {
    DWORD pid;
    const std::wstring* title;  // null: any window
    bool visibleOnly;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM lParam) {
    auto& search = *reinterpret_cast<WindowSearch*>(lParam);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    if (pid != search.pid) return TRUE;
    if (search.visibleOnly && !::IsWindowVisible(hwnd)) return TRUE;
    if (search.title != nullptr) {
        std::array<wchar_t, 256> text{};
        ::GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()));
        if (*search.title != text.data()) return TRUE;
    }
    search.found = hwnd;
    return FALSE;
}

}  // namespace

HWND FindTopLevelWindow(DWORD pid, const std::wstring* title, bool visibleOnly) {
    WindowSearch search{pid, title, visibleOnly, nullptr};
    ::EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring BuildFolder() {
    std::array<wchar_t, MAX_PATH> path{};
    ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    std::wstring folder(path.data());
    return folder.substr(0, folder.rfind(L'\\') + 1);
}

TempFolder::TempFolder() {
    std::array<wchar_t, MAX_PATH> temp{};
    ::GetTempPathW(static_cast<DWORD>(temp.size()), temp.data());
    static int counter = 0;
    for (;;) {
        path_ = std::wstring(temp.data()) + L"qvreader-test-" +
                std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(++counter) +
                L"\\";
        if (::CreateDirectoryW(path_.c_str(), nullptr)) break;
    }
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::path(path_), ignored);
}

void InstallReader(const TempFolder& folder, bool withSibling) {
    ::CopyFileW((BuildFolder() + L"QVReader.exe").c_str(), folder.File(L"QVReader.exe").c_str(),
                FALSE);
    if (withSibling) {
        ::CopyFileW((BuildFolder() + L"Corvane.exe").c_str(), folder.File(L"Corvane.exe").c_str(),
                    FALSE);
    }
}

ReaderProcess::ReaderProcess(const TempFolder& folder, const std::wstring& arguments)
    : ReaderProcess(folder.File(L"QVReader.exe"), arguments, folder.Path()) {}

ReaderProcess::ReaderProcess(const std::wstring& program, const std::wstring& arguments,
                             const std::wstring& workingFolder) {
    std::wstring commandLine = L"\"" + program + L"\"";
    if (!arguments.empty()) commandLine += L" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          workingFolder.c_str(), &startup, &info)) {
        error_ = ::GetLastError();
        return;
    }
    ::CloseHandle(info.hThread);
    process_ = info.hProcess;
    pid_ = info.dwProcessId;
}

ReaderProcess::~ReaderProcess() {
    if (process_ == nullptr) return;
    if (Running()) {
        ::TerminateProcess(process_, 1);
        ::WaitForSingleObject(process_, 10000);
    }
    ::CloseHandle(process_);
}

bool ReaderProcess::Running() const {
    return process_ != nullptr && ::WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

bool ReaderProcess::WaitForExit(std::chrono::milliseconds timeout, DWORD* exitCode) {
    if (process_ == nullptr) return false;
    if (::WaitForSingleObject(process_, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) {
        return false;
    }
    if (exitCode != nullptr) ::GetExitCodeProcess(process_, exitCode);
    return true;
}

HWND ReaderProcess::FindWindowTitled(const std::wstring& title) const {
    return FindTopLevelWindow(pid_, &title, false);
}

HWND ReaderProcess::WaitForWindowTitled(const std::wstring& title,
                                        std::chrono::milliseconds timeout) const {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindWindowTitled(title)) != nullptr; }, timeout);
    return found;
}

HWND ReaderProcess::WaitForMainWindow(std::chrono::milliseconds timeout) const {
    // The title is the last thing the window's initialisation sets. The
    // dialog loop shows the window once more when it first runs out of
    // messages, so the test waits for that too before it acts.
    HWND main = WaitForWindowTitled(kMainTitle, timeout);
    if (main != nullptr) ::WaitForInputIdle(process_, static_cast<DWORD>(timeout.count()));
    return main;
}

bool ReaderProcess::NoVisibleWindow() const {
    return FindTopLevelWindow(pid_, nullptr, true) == nullptr;
}

bool TrayIconExists(HWND owner, UINT id) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = owner;
    data.uID = id;
    data.uFlags = 0;
    return ::Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (condition()) return true;
        if (std::chrono::steady_clock::now() >= end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

std::wstring ArtifactFolder() {
    std::wstring folder;
    if (const wchar_t* fromEnvironment = _wgetenv(L"QV_ARTIFACTS")) {
        // The build runs on the host; Wine sees its paths through drive Z:.
        folder = fromEnvironment;
        if (!folder.empty() && folder[0] == L'/') {
            folder = L"Z:" + folder;
            for (auto& c : folder) {
                if (c == L'/') c = L'\\';
            }
        }
    } else {
        folder = BuildFolder() + L"artifacts";
    }
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(folder), ignored);
    if (folder.back() != L'\\') folder += L'\\';
    return folder;
}

std::string ReadWholeFile(const std::wstring& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteProfileValue(const std::wstring& path, const wchar_t* section, const wchar_t* key,
                       const wchar_t* value) {
    ::WritePrivateProfileStringW(section, key, value, path.c_str());
}

}  // namespace qv::wine
