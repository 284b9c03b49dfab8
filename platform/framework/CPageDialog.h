#pragma once
// Base of the main window's child pages: a dialog from a template on which
// Enter and Esc do nothing. A page that paints its whole client area
// (PaintsWholePage) draws its background off-screen and copies it in one
// step, and never has it erased first, so it never flickers.

#include "DialogBase.h"
#include "Gdi.h"

namespace qv {

class CPageDialog : public win::DialogBase {
public:
    using DialogBase::DialogBase;

protected:
    virtual bool PaintsWholePage() const { return false; }

    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override {
        if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
            result = TRUE;
            return true;
        }
        if (PaintsWholePage() && message == WM_ERASEBKGND) {
            result = TRUE;
            return true;
        }
        if (PaintsWholePage() && message == WM_PAINT) {
            win::PaintScope paint(Handle());
            RECT client{};
            ::GetClientRect(Handle(), &client);
            win::DoubleBuffer buffer(paint.Dc(), client.right, client.bottom);
            if (buffer.Ready()) {
                PaintBackground(buffer.Dc(), client);
                buffer.CopyTo(paint.Dc());
            }
            result = 0;
            return true;
        }
        return DialogBase::OnMessage(message, wParam, lParam, result);
    }
};

}  // namespace qv
