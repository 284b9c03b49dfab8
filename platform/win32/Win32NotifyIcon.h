#pragma once
// The notification-area icon of one window, through the shell.

#include <map>

#include "NotifyIcon.h"
#include "WinHandles.h"

#include <shellapi.h>

namespace qv::win {

class Win32NotifyIcon final : public INotifyIcon {
public:
    Win32NotifyIcon(HINSTANCE instance, HWND owner) : instance_(instance), owner_(owner) {}

    bool Add(const NotifyIconRecord& record) override;
    bool Modify(const NotifyIconRecord& record) override;
    bool Delete(const NotifyIconRecord& record) override;

private:
    NOTIFYICONDATAW ToShellRecord(const NotifyIconRecord& record);
    HICON SmallIcon(int resource);

    HINSTANCE instance_;
    HWND owner_;
    std::map<int, UniqueIcon> icons_;  // loaded once, kept while the icon can show them
};

}  // namespace qv::win
