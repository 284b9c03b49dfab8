#include "LastLogin.h"

#include "SettingKeys.h"

namespace qv {

void WriteLastLogin(Settings& settings, const LastLoginFields& fields) {
    settings.Write(kLastLoginSection, L"y", fields.y);
    settings.Write(kLastLoginSection, L"mo", fields.mo);
    settings.Write(kLastLoginSection, L"d", fields.d);
    settings.Write(kLastLoginSection, L"h", fields.h);
    settings.Write(kLastLoginSection, L"mi", fields.mi);
    settings.Write(kLastLoginSection, L"s", fields.s);
}

LastLoginFields ReadLastLoginFields(const Settings& settings) {
    return {settings.Read(kLastLoginSection, L"y"),  settings.Read(kLastLoginSection, L"mo"),
            settings.Read(kLastLoginSection, L"d"),  settings.Read(kLastLoginSection, L"h"),
            settings.Read(kLastLoginSection, L"mi"), settings.Read(kLastLoginSection, L"s")};
}

}  // namespace qv
