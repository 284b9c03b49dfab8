#pragma once
// A dialog built from a resource template, modal or as a child page. The
// object lives in the window's DWLP_USER slot from WM_INITDIALOG on, and one
// virtual handler receives every message after that, except those about a
// drawn control, which go to the control first (MessageReflection.h).

#include <windows.h>

namespace qv::win {

class DialogBase {
public:
    DialogBase(HINSTANCE instance, int templateId) : instance_(instance), templateId_(templateId) {}
    DialogBase(const DialogBase&) = delete;
    DialogBase& operator=(const DialogBase&) = delete;
    virtual ~DialogBase();

    // Runs the dialog modally; returns the EndDialog result, or -1 when the
    // template could not be used.
    INT_PTR DoModal(HWND owner);
    // Creates the dialog as a modeless window (a child page when the
    // template has the child style).
    bool Create(HWND parent);

    HWND Handle() const { return hwnd_; }
    HINSTANCE Instance() const { return instance_; }

protected:
    virtual BOOL OnInitDialog() { return TRUE; }
    // Returns true when the message was handled; result then holds the
    // value the dialog procedure gives back.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result);
    // Paints what lies behind the controls. WM_PRINTCLIENT calls it, so a
    // control that copies its parent's background (a drawn check box, the
    // tab strip) gets this, never whatever the screen holds there. The
    // default is the dialog face colour.
    virtual void PaintBackground(HDC dc, const RECT& client);

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HINSTANCE instance_;
    int templateId_;
    HWND hwnd_ = nullptr;
    bool modeless_ = false;
};

}  // namespace qv::win
