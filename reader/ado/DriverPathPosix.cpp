#include "DatabaseFile.h"

namespace qv::ado_detail {

std::wstring DriverPath(const std::wstring& path) { return path; }

bool RunningUnderWine() { return false; }

}  // namespace qv::ado_detail
