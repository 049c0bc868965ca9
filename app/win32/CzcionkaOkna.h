#pragma once
// The density of the monitor a window lies on, and the font of the program's windows at it.

#include <windows.h>

#include <memory>
#include <type_traits>

namespace zuv {

// The monitor's dots per inch for a window: GetDpiForWindow where the system has it (Windows 10
// 1607 on), else the system's. Found at run time, so the program still starts on older systems.
// Without a window, the system's.
int DpiOkna(HWND okno);

// "MS Sans Serif" 8 point with the East European character set, so that Polish letters draw in
// it whatever the system's ANSI code page; its height follows `dpi`.
HFONT UtworzCzcionke(int dpi);

struct UsunObiektGdi {
    void operator()(HGDIOBJ obiekt) const { DeleteObject(obiekt); }
};
// A font deleted with its owner.
using Czcionka = std::unique_ptr<std::remove_pointer_t<HFONT>, UsunObiektGdi>;

}  // namespace zuv
