#include "CommandLine.h"

namespace qv {

bool HasStartHiddenSwitch(std::wstring_view commandLine) {
    const auto at = commandLine.find(L"-A");
    return at != std::wstring_view::npos && at > 0;
}

}  // namespace qv
