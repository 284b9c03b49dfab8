#include "ScreenCapture.h"

#include <zlib.h>

#include <filesystem>
#include <fstream>

namespace qv::wine {
namespace {

void PutBigEndian(std::string& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>(value >> shift));
}

void PutChunk(std::string& out, const char* type, const std::string& data) {
    PutBigEndian(out, static_cast<std::uint32_t>(data.size()));
    const std::string typed = std::string(type, 4) + data;
    out += typed;
    PutBigEndian(out,
                 static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(typed.data()),
                                                  static_cast<uInt>(typed.size()))));
}

}  // namespace

Capture CaptureWindow(HWND hwnd) {
    Capture capture;
    RECT rect{};
    ::GetWindowRect(hwnd, &rect);
    capture.width = rect.right - rect.left;
    capture.height = rect.bottom - rect.top;
    if (capture.width <= 0 || capture.height <= 0) return {};

    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = capture.width;
    info.bmiHeader.biHeight = -capture.height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = ::CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, capture.width, capture.height, screen, rect.left, rect.top, SRCCOPY);
    ::GdiFlush();
    const auto* source = static_cast<const std::uint32_t*>(bits);
    capture.pixels.assign(source,
                          source + static_cast<std::size_t>(capture.width) * capture.height);
    for (auto& pixel : capture.pixels) pixel &= 0xFFFFFF;
    ::SelectObject(memory, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    return capture;
}

bool WritePng(const Capture& capture, const std::wstring& path) {
    std::string raw;
    raw.reserve(static_cast<std::size_t>(capture.height) * (1 + capture.width * 3));
    for (int y = 0; y < capture.height; ++y) {
        raw.push_back('\0');  // no filter
        for (int x = 0; x < capture.width; ++x) {
            const std::uint32_t p = capture.At(x, y);
            raw.push_back(static_cast<char>(p >> 16));
            raw.push_back(static_cast<char>(p >> 8));
            raw.push_back(static_cast<char>(p));
        }
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::string packed(packedSize, '\0');
    if (compress2(reinterpret_cast<Bytef*>(packed.data()), &packedSize,
                  reinterpret_cast<const Bytef*>(raw.data()), static_cast<uLong>(raw.size()),
                  Z_BEST_COMPRESSION) != Z_OK) {
        return false;
    }
    packed.resize(packedSize);

    std::string header;
    PutBigEndian(header, static_cast<std::uint32_t>(capture.width));
    PutBigEndian(header, static_cast<std::uint32_t>(capture.height));
    header += std::string("\x08\x02\x00\x00\x00", 5);  // 8-bit RGB, no interlace

    std::string png("\x89PNG\r\n\x1a\n", 8);
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", packed);
    PutChunk(png, "IEND", {});

    std::ofstream out(std::filesystem::path(path), std::ios::binary);
    out.write(png.data(), static_cast<std::streamsize>(png.size()));
    return static_cast<bool>(out);
}

HWND WaitForTopLevelWindow(const std::wstring& title, DWORD timeoutMs) {
    const ULONGLONG end = ::GetTickCount64() + timeoutMs;
    for (;;) {
        if (HWND found = ::FindWindowW(nullptr, title.c_str())) return found;
        if (::GetTickCount64() >= end) return nullptr;
        ::Sleep(100);
    }
}

int DifferingPixels(const Capture& a, const Capture& b) {
    if (a.width != b.width || a.height != b.height) return -1;
    int count = 0;
    for (std::size_t i = 0; i < a.pixels.size(); ++i) count += a.pixels[i] != b.pixels[i];
    return count;
}

}  // namespace qv::wine
