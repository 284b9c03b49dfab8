#pragma once
// The reader's application object: start-up, single instance, and the
// modal run of the main window.

#include <windows.h>

#include "ReaderState.h"
#include "Win32SystemPorts.h"

namespace qv {

class CQVLiveApp {
public:
    explicit CQVLiveApp(HINSTANCE instance) : instance_(instance) {}

    // Runs the reader; returns the process exit code.
    int InitInstance();

private:
    HINSTANCE instance_;
    ReaderState state_;
    win::Win32NamedMutex mutex_;
};

}  // namespace qv
