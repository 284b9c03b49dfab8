#pragma once
// A test that runs the real QVReader.exe in a folder of its own, beside the
// sibling stand-in, with a settings file that makes the start an ordinary one.

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "ReaderProcess.h"

namespace qv::wine {

class ReaderFixture : public testing::Test {
protected:
    TempFolder folder;
    std::optional<ReaderProcess> reader;

    std::wstring SettingsFile() const { return folder.File(L"QVSetting.ini"); }

    void WriteSettings(const wchar_t* tray) {
        WriteProfileValue(SettingsFile(), L"General Settings", L"Run", L"0");
        WriteProfileValue(SettingsFile(), L"Exit settings", L"Tray", tray);
        WriteProfileValue(SettingsFile(), L"Update Settings", L"Automaticly update", L"0");
    }

    // Installs the reader beside the sibling, writes the settings with this
    // "Tray" value, starts it and returns its main window (null on failure).
    HWND StartReader(const wchar_t* tray, const std::wstring& arguments = L"") {
        InstallReader(folder, true);
        WriteSettings(tray);
        reader.emplace(folder, arguments);
        if (!reader->Started()) {
            ADD_FAILURE() << "QVReader did not start: error " << reader->Error();
            return nullptr;
        }
        return reader->WaitForMainWindow();
    }
};

}  // namespace qv::wine
