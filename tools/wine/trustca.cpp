// trustca CA.der
//
// Adds a certificate authority to the system's "Root" store, so that WinINet
// trusts the servers it signed: how a Wine prefix is made to trust the test
// CA of the marketplace simulator. Adding a certificate already there is not
// an error. Exit status 0 when the store holds it, 1 otherwise, with a message.

#include <windows.h>
#include <wincrypt.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

int Fail(const wchar_t* what, const wchar_t* path, DWORD error) {
    std::fwprintf(stderr, L"trustca: %ls %ls (error 0x%08lx)\n", what, path, error);
    return 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fwprintf(stderr, L"usage: trustca CA.der\n");
        return 1;
    }
    const wchar_t* path = argv[1];
    std::ifstream in(path, std::ios::binary);
    if (!in) return Fail(L"cannot read", path, ::GetLastError());
    std::vector<BYTE> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};

    if (bytes.empty()) return Fail(L"empty file", path, ERROR_INVALID_DATA);

    if (!::CertAddEncodedCertificateToSystemStoreW(L"Root", bytes.data(),
                                                   static_cast<DWORD>(bytes.size()))) {
        return Fail(L"cannot add to the Root store the certificate", path, ::GetLastError());
    }
    std::fwprintf(stdout, L"trustca: %ls added to the Root store\n", path);
    return 0;
}
