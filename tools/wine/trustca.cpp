// trustca CA.der|CA.pem
//
// Adds a certificate authority to the system's "Root" store, so that WinINet
// trusts the servers it signed: how a Wine prefix is made to trust the test
// CA of the marketplace simulator. Adding a certificate already there is not
// an error. Exit status 0 when the store holds it, 1 otherwise, with a message.

#include <windows.h>
#include <wincrypt.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
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

    // A PEM file is turned into the DER bytes the store takes.
    const std::string head(bytes.begin(), bytes.begin() + std::min<size_t>(bytes.size(), 64));
    if (head.find("-----BEGIN") != std::string::npos) {
        DWORD size = 0;
        const auto* text = reinterpret_cast<const char*>(bytes.data());
        const auto length = static_cast<DWORD>(bytes.size());
        if (!::CryptStringToBinaryA(text, length, CRYPT_STRING_BASE64HEADER, nullptr, &size,
                                    nullptr, nullptr)) {
            return Fail(L"not a PEM certificate:", path, ::GetLastError());
        }
        std::vector<BYTE> der(size);
        if (!::CryptStringToBinaryA(text, length, CRYPT_STRING_BASE64HEADER, der.data(), &size,
                                    nullptr, nullptr)) {
            return Fail(L"not a PEM certificate:", path, ::GetLastError());
        }
        der.resize(size);
        bytes.swap(der);
    }
    if (bytes.empty()) return Fail(L"empty file", path, ERROR_INVALID_DATA);

    if (!::CertAddEncodedCertificateToSystemStoreW(L"Root", bytes.data(),
                                                   static_cast<DWORD>(bytes.size()))) {
        return Fail(L"cannot add to the Root store the certificate", path, ::GetLastError());
    }
    std::fwprintf(stdout, L"trustca: %ls added to the Root store\n", path);
    return 0;
}
