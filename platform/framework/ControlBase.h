#pragma once
// Base of the drawn controls: attaches to an existing dialog item through
// SetWindowSubclass, receives the messages its owner reflects back to it
// (MessageReflection.h), and tracks the mouse for hover and leave once for
// every control that asks for it.

#include <windows.h>

namespace qv::win {

class ControlBase {
public:
    ControlBase() = default;
    ControlBase(const ControlBase&) = delete;
    ControlBase& operator=(const ControlBase&) = delete;
    virtual ~ControlBase();

    // Subclasses the item `id` of `dialog` (or a given window); false when
    // there is no such item or it is attached to something else already.
    bool Attach(HWND dialog, int id);
    bool AttachWindow(HWND control);
    void Detach();

    HWND Handle() const { return hwnd_; }
    bool Hovered() const { return hovered_; }
    void Invalidate(bool erase = false) const;

    // The control attached to this window, or null.
    static ControlBase* FromHandle(HWND hwnd);

    // A message the owner reflected (WM_DRAWITEM, WM_CTLCOLOR*, ...); true
    // when handled, with the owner's return value in `result`.
    virtual bool OnReflected(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

protected:
    // With hover tracking on, the first mouse move asks for hover (after
    // 1 ms) and leave notifications; OnHoverChanged follows each change.
    explicit ControlBase(bool trackHover) : trackHover_(trackHover) {}

    virtual void OnAttached() {}
    // Every message of the window; the default runs the hover tracking and
    // then the window's own procedure.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual void OnHoverChanged() { Invalidate(); }
    // The window's original procedure.
    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR self);
    void TrackHover(UINT message);

    HWND hwnd_ = nullptr;
    bool trackHover_ = false;
    bool tracking_ = false;
    bool hovered_ = false;
};

}  // namespace qv::win
