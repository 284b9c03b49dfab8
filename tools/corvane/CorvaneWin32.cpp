// Corvane.exe stand-in. The reader only looks for this program's traces: the
// file next to it, the top-level window titled "Corvane", the process named
// Corvane.exe, the account.ini it writes and the group databases it makes.
// Without arguments it shows that window until closed; "write-accounts"
// writes account.ini and "make-databases" the databases, then exit, with
// errors on stderr so scripts never meet a message box.

#include <windows.h>
// After <windows.h>, which it needs.
#include <shellapi.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "DatabaseMaker.h"
#include "Gdi.h"
#include "ProgramPaths.h"
#include "TextConvert.h"
#include "Win32SystemPorts.h"
#include "WinHandles.h"
#include "WindowBase.h"

namespace {

namespace fs = std::filesystem;

constexpr wchar_t kWindowClass[] = L"CorvaneStandInWindow";
constexpr wchar_t kWindowTitle[] = L"Corvane";
constexpr int kUsageExit = 2;

struct LocalFreeDeleter {
    void operator()(LPWSTR* block) const { LocalFree(block); }
};

bool IsUsable(HANDLE handle) {
    return handle != nullptr && handle != INVALID_HANDLE_VALUE;
}

// A GUI program has no console of its own: write to a redirected stderr if
// there is one, else to the console of whoever started it.
void ReportError(const std::string& utf8) {
    const std::string line = "Corvane: " + utf8 + "\r\n";
    HANDLE target = GetStdHandle(STD_ERROR_HANDLE);
    qv::win::UniqueHandle console;
    if (!IsUsable(target) && AttachConsole(ATTACH_PARENT_PROCESS)) {
        const HANDLE opened =
            CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                        OPEN_EXISTING, 0, nullptr);
        if (opened != INVALID_HANDLE_VALUE) console.reset(opened);
        target = console.get();
    }
    if (!IsUsable(target)) return;
    DWORD mode = 0;
    DWORD written = 0;
    if (GetConsoleMode(target, &mode)) {
        const std::wstring wide = qv::Utf8ToWide(line);
        WriteConsoleW(target, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    } else {
        WriteFile(target, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    }
}

fs::path ProgramFolder() {
    return qv::ToFsPath(qv::GetProgramFolder(qv::win::Win32ProcessEnvironment()));
}

// The stand-in's window: a caption the reader can find and a line of text.
class StandInWindow final : public qv::win::WindowBase {
protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
            case WM_PAINT: {
                qv::win::PaintScope paint(Handle());
                RECT client;
                GetClientRect(Handle(), &client);
                SetBkMode(paint.Dc(), TRANSPARENT);
                DrawTextW(paint.Dc(), L"Corvane stand-in for testing", -1, &client,
                          DT_CENTER | DT_VCENTER | DT_SINGLELINE);
                return 0;
            }
            case WM_DESTROY:
                PostQuitMessage(0);
                return 0;
            default:
                return WindowBase::OnMessage(message, wParam, lParam);
        }
    }
};

int RunWindow(int showCommand) {
    const qv::win::WindowClassInfo windowClass{kWindowClass, LoadIconW(nullptr, IDI_APPLICATION),
                                               LoadCursorW(nullptr, IDC_ARROW),
                                               reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1)};
    StandInWindow window;
    if (!window.CreateWindowOf(windowClass, kWindowTitle,
                               WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, 0,
                               CW_USEDEFAULT, CW_USEDEFAULT, 320, 120, nullptr)) {
        ReportError("the window cannot be created");
        return 1;
    }
    ShowWindow(window.Handle(), showCommand);
    UpdateWindow(window.Handle());

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int showCommand) {
    int count = 0;
    const std::unique_ptr<LPWSTR, LocalFreeDeleter> argv(
        CommandLineToArgvW(GetCommandLineW(), &count));
    if (!argv) {
        ReportError("the command line cannot be read");
        return 1;
    }
    // argv[0] is the program itself.
    const int first = count > 0 ? 1 : 0;
    std::vector<std::wstring> arguments(argv.get() + first, argv.get() + count);
    if (arguments.empty()) return RunWindow(showCommand);

    const std::vector<fs::path> paths(arguments.begin() + 1, arguments.end());
    const auto outcome = qv::RunCommand(arguments[0], paths, ProgramFolder());
    if (!outcome) {
        ReportError(std::string("usage: Corvane.exe [") + qv::kCommandsUsage + "]");
        return kUsageExit;
    }
    if (!outcome->message.empty()) ReportError(outcome->message);
    return outcome->exitCode;
}
