#include "ReaderStartup.h"

#include "CommandLine.h"
#include "ProgramPaths.h"

namespace qv {

StartupOutcome RunReaderStartup(const StartupPorts& ports, ReaderState& state,
                                const std::function<void()>& runMainWindow) {
    const std::wstring sibling = GetProgramFolder(ports.process) + kSiblingProgram;
    if (!ports.files.PathExists(sibling)) {
        // The reader still works without it; the user is told once.
        ports.messages.Show(kSiblingMissingText, kMessageCaption, MessageIcon::Warning);
    }
    // Only "already exists" stops the start: a reader that cannot create the
    // mutex at all is still better running than not.
    if (ports.mutex.Create(kSingleInstanceMutex) == MutexResult::AlreadyExisted) {
        return StartupOutcome::AnotherReaderRunning;
    }
    if (HasStartHiddenSwitch(ports.process.CommandLine())) state.startHidden = 1;
    runMainWindow();
    return StartupOutcome::MainWindowRan;
}

}  // namespace qv
