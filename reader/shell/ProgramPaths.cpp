#include "ProgramPaths.h"

namespace qv {

std::wstring ProgramFolderOf(std::wstring_view modulePath) {
    const auto slash = modulePath.rfind(L'\\');
    if (slash == std::wstring_view::npos) return {};
    return std::wstring(modulePath.substr(0, slash + 1));
}

std::wstring GetProgramFolder(const IProcessEnvironment& process) {
    return ProgramFolderOf(process.ModuleFileName());
}

std::wstring ResolveSettingsPath(std::wstring_view programFolder, std::wstring_view file) {
    const auto colon = file.find(L':');
    if (colon != std::wstring_view::npos && colon > 0) return std::wstring(file);
    std::wstring path(programFolder);
    path += file;
    return path;
}

}  // namespace qv
