#pragma once
// Every file of the reader is found relative to the folder of its program.

#include <string>
#include <string_view>

#include "ProcessEnvironment.h"

namespace qv {

// The module path cut just after its last backslash; "" when it has none.
std::wstring ProgramFolderOf(std::wstring_view modulePath);

std::wstring GetProgramFolder(const IProcessEnvironment& process);

// A name with a colon after its first character (a drive path such as
// C:\x.ini) is used as it stands; any other name lies in the program folder.
std::wstring ResolveSettingsPath(std::wstring_view programFolder, std::wstring_view file);

}  // namespace qv
