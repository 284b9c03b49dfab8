#include "CQVLiveApp.h"

#include <commctrl.h>

#include "CQVLiveDlg.h"
#include "PacificClock.h"
#include "ProgramPaths.h"
#include "ReaderStartup.h"
#include "RegistryPacificZone.h"
#include "Settings.h"
#include "Win32Clock.h"
#include "Win32InternetState.h"
#include "Win32ProfileStore.h"

namespace qv {

int CQVLiveApp::InitInstance() {
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);

    win::Win32ProcessEnvironment process;
    win::Win32FileSystem files;
    win::Win32MessageBox messages;
    const StartupPorts ports{process, files, messages, mutex_};

    int exitCode = 0;
    RunReaderStartup(ports, state_, [&] {
        const std::wstring folder = GetProgramFolder(process);
        Win32ProfileStore profiles;
        Settings settings(profiles, folder);
        win::Win32Registry registry;
        Win32Clock clock;
        RegistryPacificZone zone;
        PacificClock pacific(zone, clock);
        win::Win32InternetState internet;
        const NetworkConfig network = LoadNetworkConfig(folder);
        CQVLiveDlg dialog(instance_,
                          ReaderPorts{settings, files, registry, clock, zone, pacific, internet,
                                      state_, network, folder, process.ModuleFileName()});
        dialog.DoModal(nullptr);
        exitCode = dialog.ExitCode();
    });
    return exitCode;
}

}  // namespace qv

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    qv::CQVLiveApp app(instance);
    return app.InitInstance();
}
