#include "WindowFont.h"

namespace {

// Sized in pixels at 96 dpi and scaled with the window's DPI: the Qt window's 11 px. GDI rounds
// every advance to whole pixels, which makes a line wider than Qt's; drawn a tenth narrower, the
// longest category fits its box, and a space stays 3 px wide at 96 dpi. (At 10 px, the other way
// to make it fit, a space is 2 px and the words run together.)
constexpr int pixelSizeAt96 = 11;
constexpr int averageWidthAt96 = 5;

// Adds the carried face for this process only; false when the resource is not there.
bool addCarriedFace()
{
    const HMODULE module = GetModuleHandleW(nullptr);
    const HRSRC resource = FindResourceW(module, L"WINDOWFONT", MAKEINTRESOURCEW(10)); // RT_RCDATA
    const HGLOBAL loaded = resource ? LoadResource(module, resource) : nullptr;
    void *data = loaded ? LockResource(loaded) : nullptr;
    DWORD faces = 0;
    return data && AddFontMemResourceEx(data, SizeofResource(module, resource), nullptr, &faces) && faces > 0;
}

} // namespace

HFONT windowFont(UINT dpi)
{
    static const bool carried = addCarriedFace();
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi))
        return nullptr;
    LOGFONTW font = metrics.lfMessageFont;
    if (carried) {
        const int height = MulDiv(pixelSizeAt96, static_cast<int>(dpi), 96);
        font.lfHeight = -height;
        // From the rounded height, so that the face keeps its proportions at every DPI.
        font.lfWidth = MulDiv(height, averageWidthAt96, pixelSizeAt96);
        wcscpy_s(font.lfFaceName, L"Roboto Condensed");
    }
    return CreateFontIndirectW(&font);
}
