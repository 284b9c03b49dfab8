#include "MessageReflection.h"

#include <unordered_map>

#include "ControlBase.h"

namespace qv::win {
namespace {

std::unordered_map<ULONG_PTR, IMenuItemOwner*>& MenuItems() {
    static std::unordered_map<ULONG_PTR, IMenuItemOwner*> items;
    return items;
}

IMenuItemOwner* MenuItemOwner(ULONG_PTR itemData) {
    const auto found = MenuItems().find(itemData);
    return found == MenuItems().end() ? nullptr : found->second;
}

bool Reflect(HWND child, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    ControlBase* control = child != nullptr ? ControlBase::FromHandle(child) : nullptr;
    return control != nullptr && control->OnReflected(message, wParam, lParam, result);
}

}  // namespace

void RegisterMenuItem(ULONG_PTR itemData, IMenuItemOwner& owner) {
    MenuItems()[itemData] = &owner;
}

void UnregisterMenuItem(ULONG_PTR itemData) {
    MenuItems().erase(itemData);
}

bool ReflectToChild(HWND parent, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
        case WM_DRAWITEM: {
            const auto& draw = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (draw.CtlType == ODT_MENU) {
                IMenuItemOwner* owner = MenuItemOwner(draw.itemData);
                if (owner == nullptr || !owner->OnDrawItem(draw)) return false;
                result = TRUE;
                return true;
            }
            return Reflect(draw.hwndItem, message, wParam, lParam, result);
        }
        case WM_MEASUREITEM: {
            auto& measure = *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            if (measure.CtlType == ODT_MENU) {
                IMenuItemOwner* owner = MenuItemOwner(measure.itemData);
                if (owner == nullptr || !owner->OnMeasureItem(measure)) return false;
                result = TRUE;
                return true;
            }
            return Reflect(::GetDlgItem(parent, static_cast<int>(measure.CtlID)), message, wParam,
                           lParam, result);
        }
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC:
            return Reflect(reinterpret_cast<HWND>(lParam), message, wParam, lParam, result);
        case WM_COMMAND:
            // lParam is 0 for menu commands and accelerators.
            return lParam != 0 &&
                   Reflect(reinterpret_cast<HWND>(lParam), message, wParam, lParam, result);
        case WM_NOTIFY: {
            const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
            return Reflect(header.hwndFrom, message, wParam, lParam, result);
        }
        default:
            return false;
    }
}

}  // namespace qv::win
