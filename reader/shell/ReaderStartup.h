#pragma once
// What the reader does between process start and its main window.

#include <functional>

#include "FileSystem.h"
#include "MessageBox.h"
#include "ProcessEnvironment.h"
#include "ReaderState.h"
#include "SingleInstance.h"

namespace qv {

inline constexpr wchar_t kSiblingProgram[] = L"Corvane.exe";
inline constexpr wchar_t kSiblingMissingText[] = L"File error! Please reinstall Corvane!";
inline constexpr wchar_t kMessageCaption[] = L"Corvane";
inline constexpr wchar_t kSingleInstanceMutex[] = L"XXXXXX_QVLIVE_TRANSACTION_READER";

struct StartupPorts {
    const IProcessEnvironment& process;
    const IFileSystem& files;
    IMessageBox& messages;
    INamedMutex& mutex;
};

enum class StartupOutcome { MainWindowRan, AnotherReaderRunning };

// Runs the start-up steps in order and then runMainWindow, which returns
// when the main window has ended.
StartupOutcome RunReaderStartup(const StartupPorts& ports, ReaderState& state,
                                const std::function<void()>& runMainWindow);

}  // namespace qv
