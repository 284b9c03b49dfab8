#pragma once

#include <string>

namespace qv {

enum class MessageIcon { None, Warning, Information };

class IMessageBox {
public:
    virtual ~IMessageBox() = default;
    // An OK box without owner; returns when the user dismisses it.
    virtual void Show(const std::wstring& text, const std::wstring& caption, MessageIcon icon) = 0;
};

}  // namespace qv
