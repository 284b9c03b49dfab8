#pragma once
// "Last Login" in QVSetting.ini: the local time the last check ended, kept
// as six integer keys ("y", "mo", "d", "h", "mi", "s").

#include "Settings.h"

namespace qv {

struct LastLoginFields {
    int y, mo, d, h, mi, s;
};

// Writes the six keys in their fixed order.
void WriteLastLogin(Settings& settings, const LastLoginFields& fields);
// The six keys as they stand; a missing key reads as -1.
LastLoginFields ReadLastLoginFields(const Settings& settings);

}  // namespace qv
