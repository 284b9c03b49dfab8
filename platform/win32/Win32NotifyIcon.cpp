#include "Win32NotifyIcon.h"

#include <shellapi.h>

#include <algorithm>

namespace qv::win {
namespace {

// The record is handed over in its XP form (balloon fields, no balloon
// icon handle): 952 bytes in a 32-bit process.
static_assert(sizeof(void*) != 4 || NOTIFYICONDATAW_V3_SIZE == 952);

template <std::size_t N>
void CopyField(wchar_t (&field)[N], const std::wstring& text) {
    const std::size_t count = std::min(text.size(), N - 1);
    std::copy_n(text.data(), count, field);
    field[count] = L'\0';
}

}  // namespace

HICON Win32NotifyIcon::SmallIcon(int resource) {
    auto found = icons_.find(resource);
    if (found == icons_.end()) {
        auto* icon = static_cast<HICON>(::LoadImageW(
            instance_, MAKEINTRESOURCEW(resource), IMAGE_ICON, ::GetSystemMetrics(SM_CXSMICON),
            ::GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
        found = icons_.emplace(resource, UniqueIcon(icon)).first;
    }
    return found->second.get();
}

NOTIFYICONDATAW Win32NotifyIcon::ToShellRecord(const NotifyIconRecord& record) {
    NOTIFYICONDATAW data{};
    data.cbSize = NOTIFYICONDATAW_V3_SIZE;
    data.hWnd = owner_;
    data.uID = record.id;
    data.uFlags = record.flags;
    data.uCallbackMessage = record.callbackMessage;
    data.hIcon = SmallIcon(record.iconResource);
    CopyField(data.szTip, record.tip);
    CopyField(data.szInfo, record.info);
    CopyField(data.szInfoTitle, record.infoTitle);
    data.uTimeout = record.timeout;
    data.dwInfoFlags = record.infoFlags;
    return data;
}

bool Win32NotifyIcon::Add(const NotifyIconRecord& record) {
    NOTIFYICONDATAW data = ToShellRecord(record);
    return ::Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
}

bool Win32NotifyIcon::Modify(const NotifyIconRecord& record) {
    NOTIFYICONDATAW data = ToShellRecord(record);
    return ::Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

bool Win32NotifyIcon::Delete(const NotifyIconRecord& record) {
    NOTIFYICONDATAW data = ToShellRecord(record);
    return ::Shell_NotifyIconW(NIM_DELETE, &data) != FALSE;
}

}  // namespace qv::win
