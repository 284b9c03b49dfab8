// The one Windows-only piece of the layer: Wine's ODBC hands connections to
// the host's unixODBC, whose drivers know host paths only.

#include <windows.h>

#include <memory>

#include "DatabaseFile.h"
#include "TextConvert.h"

namespace qv::ado_detail {
namespace {

using UnixFileName = char*(CDECL*)(LPCWSTR);

UnixFileName WineUnixFileName() {
    const HMODULE kernel = GetModuleHandleW(L"kernel32");
    if (kernel == nullptr) return nullptr;
    return reinterpret_cast<UnixFileName>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "wine_get_unix_file_name")));
}

struct HeapFreer {
    void operator()(char* p) const { HeapFree(GetProcessHeap(), 0, p); }
};

}  // namespace

bool RunningUnderWine() { return WineUnixFileName() != nullptr; }

std::wstring DriverPath(const std::wstring& path) {
    const UnixFileName convert = WineUnixFileName();
    if (convert == nullptr) return path;
    const std::unique_ptr<char, HeapFreer> unixPath(convert(path.c_str()));
    if (!unixPath) return {};
    return Utf8ToWide(unixPath.get());
}

}  // namespace qv::ado_detail
