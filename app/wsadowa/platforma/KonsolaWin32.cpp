#include <windows.h>

#include <atomic>
#include <cstdio>
#include <string>

#include "app/wsadowa/platforma/Konsola.h"

namespace zuv {

namespace {

// The console's handler runs on a thread of its own: the flag lives here, read by the program's
// loop.
std::atomic<bool> zatrzymanie{false};

BOOL WINAPI PoZdarzeniuKonsoli(DWORD zdarzenie) {
    switch (zdarzenie) {
        case CTRL_C_EVENT:
        case CTRL_BREAK_EVENT:
        case CTRL_CLOSE_EVENT:
            // Asked twice: the administrator will not wait for the roll back; the server
            // finishes it.
            if (zatrzymanie.exchange(true)) ExitProcess(5);
            return TRUE;
        default:
            return FALSE;
    }
}

bool JestKonsola(DWORD uchwyt) {
    DWORD tryb = 0;
    return GetConsoleMode(GetStdHandle(uchwyt), &tryb) != 0;
}

}  // namespace

bool PrzygotujKonsole() {
    SetConsoleOutputCP(CP_UTF8);
    SetConsoleCP(CP_UTF8);
    const HANDLE wyjscie = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD tryb = 0;
    if (GetConsoleMode(wyjscie, &tryb) == 0) return false;
    return SetConsoleMode(wyjscie, tryb | ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
}

bool WejscieZTerminala() { return JestKonsola(STD_INPUT_HANDLE); }

int SzerokoscTerminala() {
    CONSOLE_SCREEN_BUFFER_INFO opis{};
    if (GetConsoleScreenBufferInfo(GetStdHandle(STD_OUTPUT_HANDLE), &opis) != 0)
        return opis.srWindow.Right - opis.srWindow.Left + 1;
    return 80;
}

std::optional<std::string> CzytajZTerminala(const std::string& zacheta, bool bezEcha) {
    std::fputs(zacheta.c_str(), stderr);
    std::fflush(stderr);
    const HANDLE wejscie = GetStdHandle(STD_INPUT_HANDLE);
    DWORD dawny = 0;
    GetConsoleMode(wejscie, &dawny);
    SetConsoleMode(wejscie, bezEcha ? (dawny & ~static_cast<DWORD>(ENABLE_ECHO_INPUT)) : dawny);
    // Read as UTF-16, so that Polish letters arrive whatever the console's code page.
    std::wstring wiersz;
    wchar_t znak = 0;
    DWORD przeczytane = 0;
    bool koniec = false;
    while (true) {
        if (ReadConsoleW(wejscie, &znak, 1, &przeczytane, nullptr) == 0 || przeczytane == 0) {
            koniec = true;
            break;
        }
        if (znak == L'\n') break;
        if (znak != L'\r') wiersz.push_back(znak);
    }
    SetConsoleMode(wejscie, dawny);
    if (bezEcha) std::fputs("\n", stderr);
    if (koniec && wiersz.empty()) return std::nullopt;
    const int dlugosc = WideCharToMultiByte(
        CP_UTF8, 0, wiersz.data(), static_cast<int>(wiersz.size()), nullptr, 0, nullptr, nullptr);
    std::string tekst(static_cast<std::size_t>(dlugosc), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wiersz.data(), static_cast<int>(wiersz.size()), tekst.data(),
                        dlugosc, nullptr, nullptr);
    return tekst;
}

void PrzechwytujZatrzymanie() { SetConsoleCtrlHandler(PoZdarzeniuKonsoli, TRUE); }

bool ZatrzymanieZadane() noexcept { return zatrzymanie; }

}  // namespace zuv
