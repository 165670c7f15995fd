#include "screenshot.h"

#include <vector>

#include "png_file.h"

namespace {

// Copies the window's rectangle from the screen; the window is brought to the top
// and repainted first, so the screen holds what it shows.
bool CaptureScreenRect(const RECT& rc, HDC target) {
    HDC screen = GetDC(nullptr);
    if (!screen)
        return false;
    BOOL ok = BitBlt(target, 0, 0, rc.right - rc.left, rc.bottom - rc.top, screen, rc.left, rc.top,
                     SRCCOPY);
    ReleaseDC(nullptr, screen);
    return ok != 0;
}

} // namespace

bool SaveWindowScreenshot(HWND window, const std::string& path, std::string* error) {
    if (!IsWindow(window)) {
        *error = "no such window";
        return false;
    }
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    GdiFlush();
    RECT rc;
    GetWindowRect(window, &rc);
    int width = rc.right - rc.left;
    int height = rc.bottom - rc.top;
    if (width <= 0 || height <= 0) {
        *error = "window has no size";
        return false;
    }
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC memory = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!memory || !bitmap || !bits) {
        if (bitmap)
            DeleteObject(bitmap);
        if (memory)
            DeleteDC(memory);
        *error = "no bitmap";
        return false;
    }
    HGDIOBJ old = SelectObject(memory, bitmap);
    bool captured = CaptureScreenRect(rc, memory) || PrintWindow(window, memory, 0) != 0;
    GdiFlush();
    std::vector<uint8_t> rgb(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
    const uint8_t* bgra = static_cast<const uint8_t*>(bits);
    for (size_t i = 0, n = static_cast<size_t>(width) * static_cast<size_t>(height); i < n; ++i) {
        rgb[i * 3] = bgra[i * 4 + 2];
        rgb[i * 3 + 1] = bgra[i * 4 + 1];
        rgb[i * 3 + 2] = bgra[i * 4];
    }
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    if (!captured) {
        *error = "capture failed";
        return false;
    }
    if (!WritePngFile(path, width, height, rgb)) {
        *error = "cannot write " + path;
        return false;
    }
    return true;
}
