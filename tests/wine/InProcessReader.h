#pragma once
// The reader's main window made in the test's own process, on the real
// Win32 ports and a program folder of its own, so a test can reach into
// its pages and read back what their controls show.

#include <windows.h>

#include "CQVLiveDlg.h"
#include "NetworkConfig.h"
#include "PacificClock.h"
#include "ReaderPorts.h"
#include "ReaderProcess.h"
#include "RegistryPacificZone.h"
#include "Settings.h"
#include "Win32Clock.h"
#include "Win32InternetState.h"
#include "Win32ProfileStore.h"
#include "Win32SystemPorts.h"

namespace qv::wine {

class InProcessReader {
public:
    InProcessReader() = default;
    InProcessReader(const InProcessReader&) = delete;
    InProcessReader& operator=(const InProcessReader&) = delete;

    const TempFolder& Folder() const { return folder_; }
    CQVLiveDlg& Main() { return main_; }
    ReaderState& State() { return state_; }

    // Creates the window (modeless, visible), as the application's modal
    // run would, and returns whether it exists.
    bool Create() { return main_.Create(nullptr); }

private:
    TempFolder folder_;
    Win32ProfileStore profiles_;
    Settings settings_{profiles_, folder_.Path()};
    win::Win32FileSystem files_;
    win::Win32Registry registry_;
    Win32Clock clock_;
    RegistryPacificZone zone_;
    PacificClock pacific_{zone_, clock_};
    win::Win32InternetState internet_;
    ReaderState state_;
    NetworkConfig network_ = LoadNetworkConfig(folder_.Path());
    CQVLiveDlg main_{
        ::GetModuleHandleW(nullptr),
        ReaderPorts{settings_, files_, registry_, clock_, zone_, pacific_, internet_, state_,
                    network_, folder_.Path(), win::Win32ProcessEnvironment().ModuleFileName()}};
};

}  // namespace qv::wine
