// qvwindow-driver: drives the real QVReader.exe as a user would, for the
// end-to-end check of the native test program (tests/e2e), and prints what
// the windows show. One line a fact, fields separated by tabs:
//
//   qvwindow-driver READER-EXE ARTIFACT-FOLDER [--off ROW]... [--auto] [--stall]
//
// starts the reader in its folder, clicks the ON/OFF image of each tree row
// given (rows counted from 0 at the top, every group expanded), clicks Now
// (or, with --auto, Auto, and lets the clock start the check), asks for Exit
// while the check runs, waits for the check's end, saves screenshots, then
// asks for Exit again. Prints
// "exit-during-check\trunning|ended", every line of the log list box as
// "log\tTEXT" (top first) and "exit\tCODE". With --stall, how long messages
// to the main window waited during the check: "stall\tui-stall-max: N ms\t...". "error\tTEXT" and
// exit status 1 when something fails.

#include <windows.h>
// After <windows.h>, which it needs.
#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "AccountTreeRules.h"
#include "MouseInput.h"
#include "ReaderProcess.h"
#include "ScreenCapture.h"
#include "TextConvert.h"

namespace {

using namespace std::chrono_literals;
using qv::wine::ReaderProcess;

constexpr int kAccountPage = 152;
constexpr int kLogPage = 9;
constexpr int kTree = 1003;
constexpr int kLogList = 1004;
constexpr int kNow = 1006;
constexpr int kAuto = 1007;
constexpr int kTabStrip = 1002;
constexpr UINT kExitCommand = 20007;
const wchar_t kSeparatorStart[] = L"- - - - ";

void Print(const std::wstring& line) {
    const std::string bytes = qv::WideToUtf8(line) + "\n";
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    std::fflush(stdout);
}

int Fail(const std::wstring& why) {
    Print(L"error\t" + why);
    return 1;
}

std::vector<std::wstring> LogLines(HWND list) {
    std::vector<std::wstring> lines;
    const LRESULT count = ::SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = ::SendMessageW(list, LB_GETTEXTLEN, i, 0);
        std::wstring line(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
        const LRESULT got =
            ::SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line.data()));
        line.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
        lines.push_back(line);
    }
    return lines;
}

bool CheckEnded(HWND list) {
    const std::vector<std::wstring> lines = LogLines(list);
    return lines.size() >= 2 && lines[0].rfind(kSeparatorStart, 0) == 0 &&
           lines[1].find(L"Finish ") != std::wstring::npos;
}

// Where a row's ON/OFF image lies: at the right edge of the tree, left of
// the Data link, as the tree paints it.
POINT CheckImageCentre(HWND tree, int row) {
    RECT client{}, window{};
    ::GetClientRect(tree, &client);
    ::GetWindowRect(tree, &window);
    const int right = qv::ImageRightEdge(window.right - window.left, client.right,
                                         ::GetSystemMetrics(SM_CYHSCROLL));
    qv::CMyObject node;  // a row as the tree lays it out: its indent, the usual check offset
    node.m_nIndent = static_cast<int>(::SendMessageW(tree, TVM_GETINDENT, 0, 0));
    const int height = static_cast<int>(::SendMessageW(tree, TVM_GETITEMHEIGHT, 0, 0));
    const qv::Rect check =
        qv::PlaceRowImages(node, right, qv::Rect{0, row * height, right, (row + 1) * height}).check;
    return qv::wine::ClientToScreenPoint(tree, (check.left + check.right) / 2,
                                         (check.top + check.bottom) / 2);
}

POINT Centre(HWND hwnd) {
    RECT client{};
    ::GetClientRect(hwnd, &client);
    return qv::wine::ClientToScreenPoint(hwnd, client.right / 2, client.bottom / 2);
}

void Save(HWND hwnd, const std::wstring& folder, const wchar_t* name) {
    qv::wine::WritePng(qv::wine::CaptureWindow(hwnd), folder + L"\\" + name);
}

// While a check runs, a message sent to the main window every 20 ms: how
// long each waits for its answer is how long the window could not react.
class StallMeter {
public:
    StallMeter(HWND main, bool on) : main_(main) {
        if (on) worker_ = std::thread([this] { Measure(); });
    }
    ~StallMeter() { Stop(); }

    void Report() {
        if (!worker_.joinable()) return;
        Stop();
        std::vector<double> sorted = waits_;
        std::sort(sorted.begin(), sorted.end());
        const double max = sorted.empty() ? 0 : sorted.back();
        const double p99 =
            sorted.empty()
                ? 0
                : sorted[(sorted.size() * 99) / 100 < sorted.size() ? (sorted.size() * 99) / 100
                                                                    : sorted.size() - 1];
        wchar_t line[160];
        std::swprintf(line, 160,
                      L"stall\tui-stall-max: %.0f ms\tui-stall-p99: %.0f ms\tsamples: %zu", max,
                      p99, sorted.size());
        Print(line);
    }

private:
    void Stop() {
        stop_ = true;
        if (worker_.joinable()) worker_.join();
    }
    void Measure() {
        while (!stop_) {
            const auto sent = std::chrono::steady_clock::now();
            DWORD_PTR answer = 0;
            ::SendMessageTimeoutW(main_, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &answer);
            const std::chrono::duration<double, std::milli> waited =
                std::chrono::steady_clock::now() - sent;
            waits_.push_back(waited.count());
            std::this_thread::sleep_for(20ms);
        }
    }

    HWND main_;
    std::atomic<bool> stop_{false};
    std::vector<double> waits_;
    std::thread worker_;
};

int Count(const std::vector<std::wstring>& lines, const std::wstring& end) {
    int count = 0;
    for (const std::wstring& line : lines) {
        count += line.size() >= end.size() &&
                 line.compare(line.size() - end.size(), end.size(), end) == 0;
    }
    return count;
}

// Auto on, two automatic checks, then Auto off: the face follows, and no
// check starts after it.
int DriveAutomatic(HWND main, HWND page, HWND list, const std::wstring& artifacts) {
    const HWND button = ::GetDlgItem(page, kAuto);
    const HWND tabs = ::GetDlgItem(main, kTabStrip);
    const qv::wine::Capture autoRun = qv::wine::CaptureWindow(button);
    if (!qv::wine::ClickAt(Centre(button))) return Fail(L"the pointer did not move");
    qv::wine::MoveMouseTo(POINT{1000, 900});

    const bool repeated = qv::wine::WaitUntil(
        [&] { return Count(LogLines(list), L"Start auto check of data.") >= 2; }, 180s);
    if (!repeated) return Fail(L"no second automatic check");
    // Back to the account page, where the Auto button is.
    if (!qv::wine::ClickAt(qv::wine::ClientToScreenPoint(tabs, 46, 14)))
        return Fail(L"the pointer did not move");
    qv::wine::MoveMouseTo(POINT{1000, 900});
    std::this_thread::sleep_for(300ms);
    Print(std::wstring(L"auto-face-on\t") +
          (qv::wine::CaptureWindow(button).pixels != autoRun.pixels ? L"changed" : L"same"));
    Save(main, artifacts, L"account-page-auto.png");

    if (!qv::wine::ClickAt(Centre(button))) return Fail(L"the pointer did not move");
    qv::wine::MoveMouseTo(POINT{1000, 900});
    const bool ended = qv::wine::WaitUntil([&] { return CheckEnded(list); }, 180s);
    std::this_thread::sleep_for(300ms);
    Print(std::wstring(L"auto-face-off\t") +
          (qv::wine::CaptureWindow(button).pixels == autoRun.pixels ? L"restored" : L"different"));
    const int startsAtOff = Count(LogLines(list), L"Start auto check of data.");
    std::this_thread::sleep_for(4s);
    Print(L"starts-at-off\t" + std::to_wstring(startsAtOff));
    for (const std::wstring& line : LogLines(list)) Print(L"log\t" + line);
    if (!ended) return Fail(L"the check did not end");
    return 0;
}

int Drive(const std::vector<std::wstring>& arguments) {
    if (arguments.size() < 2) return Fail(L"usage: qvwindow-driver READER-EXE ARTIFACT-FOLDER ...");
    const std::wstring& program = arguments[0];
    const std::wstring& artifacts = arguments[1];
    std::vector<int> offRows;
    bool automatic = false;
    bool measureStall = false;
    for (std::size_t i = 2; i < arguments.size(); ++i) {
        if (arguments[i] == L"--off" && i + 1 < arguments.size()) {
            offRows.push_back(std::stoi(arguments[++i]));
        } else if (arguments[i] == L"--auto") {
            automatic = true;
        } else if (arguments[i] == L"--stall") {
            measureStall = true;
        } else {
            return Fail(L"unknown argument " + arguments[i]);
        }
    }
    const std::wstring folder = program.substr(0, program.find_last_of(L'\\') + 1);
    ::CreateDirectoryW(artifacts.c_str(), nullptr);

    ReaderProcess reader(program, L"", folder);
    if (!reader.Started()) return Fail(L"QVReader did not start");
    const HWND main = reader.WaitForMainWindow();
    if (main == nullptr) return Fail(L"no main window");
    ::SetWindowPos(main, nullptr, 60, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    qv::wine::BringToTop(main);

    const HWND page = ::GetDlgItem(main, kAccountPage);
    const HWND tree = ::GetDlgItem(page, kTree);
    const HWND list = ::GetDlgItem(::GetDlgItem(main, kLogPage), kLogList);
    if (tree == nullptr || list == nullptr) return Fail(L"no tree or no log list");

    for (int row : offRows) {
        if (!qv::wine::ClickAt(CheckImageCentre(tree, row)))
            return Fail(L"the pointer did not move");
    }
    qv::wine::MoveMouseTo(POINT{1000, 900});
    std::this_thread::sleep_for(500ms);
    Save(main, artifacts, automatic ? L"account-page-before-auto.png" : L"account-page.png");

    if (automatic) {
        const int failed = DriveAutomatic(main, page, list, artifacts);
        if (failed != 0) return failed;
    } else {
        if (!qv::wine::ClickAt(Centre(::GetDlgItem(page, kNow))))
            return Fail(L"the pointer did not move");
        qv::wine::MoveMouseTo(POINT{1000, 900});

        StallMeter stall(main, measureStall);
        // Exit while the check runs is refused.
        qv::wine::WaitUntil([&] { return !LogLines(list).empty(); }, 60s);
        ::PostMessageW(main, WM_COMMAND, MAKEWPARAM(kExitCommand, 0), 0);
        std::this_thread::sleep_for(1s);
        Print(std::wstring(L"exit-during-check\t") + (reader.Running() ? L"running" : L"ended"));

        const bool ended = qv::wine::WaitUntil([&] { return CheckEnded(list); }, 180s);
        stall.Report();
        std::this_thread::sleep_for(500ms);
        Save(main, artifacts, L"log-page-after-check.png");
        for (const std::wstring& line : LogLines(list)) Print(L"log\t" + line);
        if (!ended) return Fail(L"the check did not end");
    }
    ::PostMessageW(main, WM_COMMAND, MAKEWPARAM(kExitCommand, 0), 0);
    DWORD code = 0;
    if (!reader.WaitForExit(20s, &code)) return Fail(L"the reader did not end");
    Print(L"exit\t" + std::to_wstring(static_cast<int>(code)));
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    return Drive(std::vector<std::wstring>(argv + 1, argv + argc));
}
