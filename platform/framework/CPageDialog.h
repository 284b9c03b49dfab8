#pragma once
// Base of the main window's child pages: a dialog from a template on which
// Enter and Esc do nothing.

#include "DialogBase.h"

namespace qv {

class CPageDialog : public win::DialogBase {
public:
    using DialogBase::DialogBase;

protected:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override {
        if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
            result = TRUE;
            return true;
        }
        return DialogBase::OnMessage(message, wParam, lParam, result);
    }
};

}  // namespace qv
