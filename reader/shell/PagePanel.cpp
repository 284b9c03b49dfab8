#include "PagePanel.h"

#include "Gdi.h"
#include "WinHandles.h"

namespace qv {
namespace {

constexpr COLORREF kPageFill = RGB(0xE8, 0xE8, 0xE8);
constexpr COLORREF kPanelFrame = RGB(0xA3, 0xA3, 0xA3);
constexpr int kInset = 5;
constexpr int kCorner = 10;

}  // namespace

void PaintPagePanel(HDC dc, const RECT& client) {
    win::UniqueBrush fill(::CreateSolidBrush(kPageFill));
    ::FillRect(dc, &client, fill.get());

    const RECT panel{client.left + kInset, client.top + kInset, client.right - kInset,
                     client.bottom - kInset};
    win::UniquePen frame(::CreatePen(PS_INSIDEFRAME, 1, kPanelFrame));
    {
        win::SelectObjectScope pen(dc, frame.get());
        win::SelectObjectScope brush(dc, ::GetStockObject(WHITE_BRUSH));
        ::RoundRect(dc, panel.left, panel.top, panel.right, panel.bottom, kCorner, kCorner);
    }
    RECT inside = panel;
    ::InflateRect(&inside, -::GetSystemMetrics(SM_CXEDGE), -::GetSystemMetrics(SM_CYEDGE));
    ::FillRect(dc, &inside, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
}

}  // namespace qv
