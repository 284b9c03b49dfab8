// htmlprobe [--ca CA.pem] PATH-OR-ADDRESS ID
//
// Loads a local HTML file or an http(s) address with the browser engine and
// writes the inner HTML of the element with the given id to standard output,
// UTF-8, exactly as serialised and nothing added. Exit status: 0 done, 1 no
// element has that id, 2 bad arguments or the document could not be loaded.

#include <string>
#include <vector>

#include "PageLoader.h"
#include "TextConvert.h"
#include "html/HtmlDocument.h"

namespace {

constexpr char kProgram[] = "htmlprobe";

int Probe(std::vector<std::wstring>& arguments) {
    const std::wstring caFile = qv::probe::TakeCaOption(arguments);
    if (arguments.size() != 2) {
        qv::probe::Complain(kProgram, L"usage: htmlprobe [--ca CA.pem] PATH-OR-ADDRESS ID");
        return 2;
    }
    const std::wstring& target = arguments[0];
    const std::wstring& id = arguments[1];

    qv::probe::PageLoader loader(caFile);
    if (const auto failure = loader.Load(target)) {
        qv::probe::Complain(kProgram, *failure);
        return 2;
    }
    qv::html::Element* element = loader.Engine().GetElementById(id);
    if (!element) {
        qv::probe::Complain(kProgram, L"no element has the id \"" + id + L"\"");
        return 1;
    }
    return qv::probe::WriteResult(kProgram, qv::WideToUtf8(loader.Engine().InnerHtml(*element)));
}

}  // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
#else
int main(int argc, char** argv) {
#endif
    return qv::probe::RunProbe(kProgram, qv::probe::Arguments(argc, argv), Probe);
}
