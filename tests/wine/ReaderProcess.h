#pragma once
// Runs copies of the real QVReader.exe in folders of their own and looks at
// them from outside, as the shell and the user would: top-level windows,
// the notification-area icon, the settings file and the exit code.

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>

namespace qv::wine {

// The folder of this test program, where the build puts QVReader.exe and
// Corvane.exe as well.
std::wstring BuildFolder();

// A fresh folder under the temporary folder, removed with its files.
class TempFolder {
public:
    TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder();
    const std::wstring& Path() const { return path_; }  // ends with a backslash
    std::wstring File(const std::wstring& name) const { return path_ + name; }

private:
    std::wstring path_;
};

// Copies the reader (and, when asked, the sibling stand-in) into a folder.
void InstallReader(const TempFolder& folder, bool withSibling);

class ReaderProcess {
public:
    ReaderProcess(const TempFolder& folder, const std::wstring& arguments);
    // Any program, started in a working folder.
    ReaderProcess(const std::wstring& program, const std::wstring& arguments,
                  const std::wstring& workingFolder);
    ReaderProcess(const ReaderProcess&) = delete;
    ReaderProcess& operator=(const ReaderProcess&) = delete;
    // Ends a reader the test left running, so the next test can start one.
    ~ReaderProcess();

    bool Started() const { return process_ != nullptr; }
    DWORD Error() const { return error_; }
    DWORD Pid() const { return pid_; }
    bool Running() const;
    // Waits for the end of the process; false on time-out.
    bool WaitForExit(std::chrono::milliseconds timeout, DWORD* exitCode = nullptr);
    // A top-level window of this process with exactly this title, or null.
    HWND FindWindowTitled(const std::wstring& title) const;
    HWND WaitForWindowTitled(const std::wstring& title, std::chrono::milliseconds timeout) const;
    // The reader's main window once its initialisation has finished.
    HWND WaitForMainWindow(std::chrono::milliseconds timeout = std::chrono::seconds(20)) const;
    // True while no top-level window of this process is visible.
    bool NoVisibleWindow() const;

private:
    HANDLE process_ = nullptr;
    DWORD pid_ = 0;
    DWORD error_ = 0;
};

// A top-level window of the process with exactly this title (any title
// when null), visible ones only when asked; null when there is none.
HWND FindTopLevelWindow(DWORD pid, const std::wstring* title, bool visibleOnly);

// Asks the shell about the icon without changing it: a modify with no
// fields succeeds only for an icon that is there.
bool TrayIconExists(HWND owner, UINT id);

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout);

// Where test artifacts go: $QV_ARTIFACTS, else an "artifacts" folder beside the tests.
std::wstring ArtifactFolder();

std::string ReadWholeFile(const std::wstring& path);
void WriteProfileValue(const std::wstring& path, const wchar_t* section, const wchar_t* key,
                       const wchar_t* value);

}  // namespace qv::wine
