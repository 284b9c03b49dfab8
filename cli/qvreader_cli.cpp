// qvreader-cli: the reader's check without its windows, on the ports of the
// platform it runs on. See CliOptions.h for the command line. Log lines go
// to standard output as they are added, complaints to standard error.
// Exit status: 0 done, 1 the program could not run, 2 wrong arguments, 130 a
// manual check interrupted before its end.

#include <atomic>
#include <csignal>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "BrowserEngine.h"
#include "CliOptions.h"
#include "ConsoleReader.h"
#include "EngineBrowser.h"
#include "NetworkConfig.h"
#include "TextConvert.h"

#ifdef _WIN32
#include <windows.h>

#include "ProgramPaths.h"
#include "RegistryPacificZone.h"
#include "Win32Clock.h"
#include "Win32InternetState.h"
#include "Win32ProfileStore.h"
#include "Win32SystemPorts.h"
#include "Win32UiDispatcher.h"
#include "WinInetTransport.h"
#else
#include "BuiltInPacificZone.h"
#include "CurlTransport.h"
#include "EventLoop.h"
#include "IniFileStore.h"
#include "PosixClock.h"
#include "PosixFileSystem.h"
#include "PosixInternetState.h"
#endif

namespace {

namespace fs = std::filesystem;

constexpr std::uint32_t kInterruptPollTimer = 9002;
constexpr std::uint32_t kInterruptPollMs = 200;

std::atomic<bool> g_interrupted{false};

void WriteLine(std::FILE* stream, const std::wstring& line) {
    const std::string bytes = qv::WideToUtf8(line) + "\n";
    std::fwrite(bytes.data(), 1, bytes.size(), stream);
    std::fflush(stream);
}

void Complain(const std::wstring& message) {
    WriteLine(stderr, L"qvreader-cli: " + message);
}

// The folder as the reader's program folder: absolute, ending in its separator.
std::wstring FolderText(const fs::path& folder) {
    std::wstring text = qv::FromFsPath(fs::absolute(folder));
    if (!text.empty() && text.back() != L'\\' && text.back() != L'/') {
        text += static_cast<wchar_t>(fs::path::preferred_separator);
    }
    return text;
}

#ifdef _WIN32
BOOL WINAPI OnConsoleControl(DWORD) {
    g_interrupted = true;
    return TRUE;
}

std::wstring OwnFolder() {
    return qv::GetProgramFolder(qv::win::Win32ProcessEnvironment());
}

#else
void OnSignal(int) {
    g_interrupted = true;
}

std::wstring OwnFolder() {
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    return error ? FolderText(fs::current_path()) : FolderText(self.parent_path());
}
#endif

int Run(const std::vector<std::wstring>& arguments) {
    std::wstring problem;
    const auto options = qv::cli::ParseCliArguments(arguments, problem);
    if (!options) {
        Complain(problem);
        Complain(qv::cli::kUsage);
        return 2;
    }
    const std::wstring folder =
        options->folder.empty() ? OwnFolder() : FolderText(qv::ToFsPath(options->folder));
    const qv::NetworkConfig config = qv::LoadNetworkConfig(folder);
    qv::http::HttpTransportOptions transportOptions;
    transportOptions.extraCaFile = config.extraCa;

#ifdef _WIN32
    qv::Win32ProfileStore profiles;
    qv::win::Win32FileSystem files;
    qv::Win32Clock clock;
    qv::RegistryPacificZone zone;
    qv::win::Win32UiDispatcher loop;
    qv::win::Win32InternetState internet;
    // WinINet trusts the system's root store alone.
    transportOptions.extraCaFile.clear();
    qv::http::WinInetTransport transport(transportOptions);
#else
    qv::IniFileStore profiles;
    qv::PosixFileSystem files;
    qv::PosixClock clock;
    qv::BuiltInPacificZone zone;
    qv::EventLoop loop;
    qv::PosixInternetState internet(config.mainHost);
    qv::http::CurlTransport transport(transportOptions);
#endif
    qv::browser::BrowserEngine engine(transport, loop);
    qv::browser::EngineBrowser browser(engine);

    qv::cli::ConsoleReader reader(
        qv::cli::ConsolePorts{profiles, files, clock, zone, loop, browser, internet}, folder,
        config, [](const std::wstring& line) { WriteLine(stdout, line); }, Complain,
        [&] { loop.Quit(); });

#ifdef _WIN32
    ::SetConsoleCtrlHandler(OnConsoleControl, TRUE);
#else
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
#endif
    loop.SetTimer(kInterruptPollTimer, kInterruptPollMs, [&] {
        if (g_interrupted.exchange(false)) reader.Interrupt();
    });

    if (!reader.Start(*options)) return 1;
    loop.Run();
    loop.KillTimer(kInterruptPollTimer);
    return reader.ExitCode();
}

int Guarded(const std::vector<std::wstring>& arguments) {
    try {
        return Run(arguments);
    } catch (const std::exception& error) {
        Complain(qv::Utf8ToWide(error.what()));
        return 1;
    }
}

}  // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
    return Guarded(std::vector<std::wstring>(argv + 1, argv + argc));
}
#else
int main(int argc, char** argv) {
    std::vector<std::wstring> arguments;
    for (int i = 1; i < argc; ++i) arguments.push_back(qv::Utf8ToWide(argv[i]));
    return Guarded(arguments);
}
#endif
