#include "app/win32/CzcionkaOkna.h"

namespace zuv {

int DpiOkna(HWND okno) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    const auto funkcja = reinterpret_cast<GetDpiForWindowFn>(
        reinterpret_cast<void*>(GetProcAddress(user32, "GetDpiForWindow")));
    if (funkcja != nullptr && okno != nullptr) {
        if (const UINT dpi = funkcja(okno); dpi != 0) return static_cast<int>(dpi);
    }
    const KontekstOkna ekran(nullptr);
    const int dpi = GetDeviceCaps(ekran.Dc(), LOGPIXELSY);
    return dpi > 0 ? dpi : 96;
}

Czcionka UtworzCzcionke(int dpi) {
    return Czcionka(CreateFontW(-MulDiv(8, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                EASTEUROPE_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"MS Sans Serif"));
}

}  // namespace zuv
