#include "DrawingRoutines.h"

#include "Gdi.h"
#include "WinHandles.h"

namespace qv::win {

void TransparentBlit(HDC target, int x, int y, int width, int height, HDC source, int sourceX,
                     int sourceY, int sourceWidth, int sourceHeight) {
    // A monochrome mask with 1 where the source is magenta: blitting colour
    // to monochrome maps the background colour to 1 and all else to 0.
    UniqueMemoryDc maskDc(::CreateCompatibleDC(target));
    UniqueBitmap mask(::CreateBitmap(sourceWidth, sourceHeight, 1, 1, nullptr));
    // The source's own copy, with its magenta blacked out, so an OR adds
    // nothing where the target must show through.
    UniqueMemoryDc copyDc(::CreateCompatibleDC(target));
    UniqueBitmap copy(::CreateCompatibleBitmap(target, sourceWidth, sourceHeight));
    if (!maskDc || !mask || !copyDc || !copy) return;
    SelectObjectScope maskSelected(maskDc.get(), mask.get());
    SelectObjectScope copySelected(copyDc.get(), copy.get());

    const COLORREF sourceBack = ::SetBkColor(source, kTransparentColour);
    ::BitBlt(maskDc.get(), 0, 0, sourceWidth, sourceHeight, source, sourceX, sourceY, SRCCOPY);
    ::SetBkColor(source, sourceBack);

    ::BitBlt(copyDc.get(), 0, 0, sourceWidth, sourceHeight, source, sourceX, sourceY, SRCCOPY);
    // Monochrome to colour: 1 becomes the background colour, 0 the text colour.
    ::SetBkColor(copyDc.get(), RGB(0, 0, 0));
    ::SetTextColor(copyDc.get(), RGB(255, 255, 255));
    ::BitBlt(copyDc.get(), 0, 0, sourceWidth, sourceHeight, maskDc.get(), 0, 0, SRCAND);

    const COLORREF targetBack = ::SetBkColor(target, RGB(255, 255, 255));
    const COLORREF targetText = ::SetTextColor(target, RGB(0, 0, 0));
    const int oldMode = ::SetStretchBltMode(target, COLORONCOLOR);
    // Cut the shape into the target, then add the source's pixels into it.
    ::StretchBlt(target, x, y, width, height, maskDc.get(), 0, 0, sourceWidth, sourceHeight,
                 SRCAND);
    ::StretchBlt(target, x, y, width, height, copyDc.get(), 0, 0, sourceWidth, sourceHeight,
                 SRCPAINT);
    ::SetStretchBltMode(target, oldMode);
    ::SetTextColor(target, targetText);
    ::SetBkColor(target, targetBack);
}

void CopyParentBackground(HWND control, HDC target) {
    const HWND parent = ::GetParent(control);
    if (parent == nullptr) return;
    POINT origin{0, 0};
    ::MapWindowPoints(control, parent, &origin, 1);
    POINT oldOrigin{};
    ::SetViewportOrgEx(target, -origin.x, -origin.y, &oldOrigin);
    ::SendMessageW(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(target),
                   PRF_CLIENT | PRF_ERASEBKGND);
    ::SetViewportOrgEx(target, oldOrigin.x, oldOrigin.y, nullptr);
}

}  // namespace qv::win
