#pragma once
// The density of the monitor a window lies on, and the font of the program's windows at it.

#include <windows.h>

#include "app/win32/UchwytyWin32.h"

namespace zuv {

// The monitor's dots per inch for a window: GetDpiForWindow where the system has it (Windows 10
// 1607 on), else the system's. Found at run time, so the program still starts on older systems.
// Without a window, the system's.
int DpiOkna(HWND okno);

// "MS Sans Serif" 8 point with the East European character set, so that Polish letters draw in
// it whatever the system's ANSI code page; its height follows `dpi`.
Czcionka UtworzCzcionke(int dpi);

}  // namespace zuv
