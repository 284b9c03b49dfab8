#include "CDlgQVLiveLog.h"

#include "PagePanel.h"

namespace qv {

void CDlgQVLiveLog::InsertLine(int position, const std::wstring& text) {
    // Inserting at a position bypasses the list's sort style, which is
    // what keeps the newest line on top.
    ::SendDlgItemMessageW(Handle(), IDC_LOG_LIST, LB_INSERTSTRING, static_cast<WPARAM>(position),
                          reinterpret_cast<LPARAM>(text.c_str()));
}

void CDlgQVLiveLog::PaintBackground(HDC dc, const RECT& client) {
    PaintPagePanel(dc, client);
}

}  // namespace qv
