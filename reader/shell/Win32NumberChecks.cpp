// The portable core keeps copies of a few Win32 numbers, since it cannot
// include <windows.h>; here each copy is held against the real one.

#include <windows.h>
// After <windows.h>, which it needs.
#include <shellapi.h>

#include "NotifyIcon.h"
#include "WindowMessages.h"

namespace qv {

static_assert(kUserMessageBase == WM_USER);
static_assert(kTrayCallbackMessage == WM_USER + 5);
static_assert(kShowPageMessage == WM_USER + 100);
static_assert(kMouseLeftDoubleClick == WM_LBUTTONDBLCLK);
static_assert(kMouseRightDown == WM_RBUTTONDOWN);

static_assert(NotifyIconRecord::kMessage == NIF_MESSAGE);
static_assert(NotifyIconRecord::kIcon == NIF_ICON);
static_assert(NotifyIconRecord::kTip == NIF_TIP);
static_assert(NotifyIconRecord::kInfo == NIF_INFO);
static_assert(NotifyIconRecord::kTipChars == sizeof(NOTIFYICONDATAW::szTip) / sizeof(wchar_t));
static_assert(NotifyIconRecord::kInfoChars == sizeof(NOTIFYICONDATAW::szInfo) / sizeof(wchar_t));
static_assert(NotifyIconRecord::kInfoTitleChars ==
              sizeof(NOTIFYICONDATAW::szInfoTitle) / sizeof(wchar_t));

}  // namespace qv
