#pragma once
// The notification-area icon record the main window keeps, and the shell
// calls that act on it. Field sizes follow the shell's record.

#include <cstddef>
#include <cstdint>
#include <string>

namespace qv {

struct NotifyIconRecord {
    static constexpr std::size_t kTipChars = 128;       // with terminator
    static constexpr std::size_t kInfoChars = 256;      // with terminator
    static constexpr std::size_t kInfoTitleChars = 64;  // with terminator

    // NIF_MESSAGE, NIF_ICON, NIF_TIP, NIF_INFO (checked in Win32NumberChecks.cpp)
    static constexpr std::uint32_t kMessage = 0x1;
    static constexpr std::uint32_t kIcon = 0x2;
    static constexpr std::uint32_t kTip = 0x4;
    static constexpr std::uint32_t kInfo = 0x10;

    std::uint32_t id = 0;
    std::uint32_t flags = 0;
    std::uint32_t callbackMessage = 0;
    int iconResource = 0;  // icon resource identifier
    std::wstring tip;
    std::wstring info;
    std::wstring infoTitle;
    std::uint32_t timeout = 0;
    std::uint32_t infoFlags = 0;
};

class INotifyIcon {
public:
    virtual ~INotifyIcon() = default;
    virtual bool Add(const NotifyIconRecord& record) = 0;
    virtual bool Modify(const NotifyIconRecord& record) = 0;
    virtual bool Delete(const NotifyIconRecord& record) = 0;
};

}  // namespace qv
