#pragma once
// What the reader's windows stand on, made once at start by the
// application object and handed down to the main window and its pages.

#include <string>

#include "Clock.h"
#include "FileSystem.h"
#include "InternetState.h"
#include "NetworkConfig.h"
#include "PacificClock.h"
#include "PacificZoneSource.h"
#include "ReaderState.h"
#include "Registry.h"
#include "Settings.h"

namespace qv {

struct ReaderPorts {
    Settings& settings;
    const IFileSystem& files;
    IRegistry& registry;
    const IClock& clock;
    const IPacificZoneSource& zone;
    PacificClock& pacific;
    const IInternetState& internet;
    ReaderState& state;
    const NetworkConfig& network;
    std::wstring programFolder;  // ends with its separator
    std::wstring programPath;    // the running program's file
};

}  // namespace qv
