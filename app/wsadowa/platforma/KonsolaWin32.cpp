#include <io.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>
#include <string_view>

#include "app/wsadowa/platforma/Konsola.h"
#include "common/TekstWin32.h"

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

bool JestKonsola(HANDLE uchwyt) {
    DWORD tryb = 0;
    return GetConsoleMode(uchwyt, &tryb) != 0;
}

bool TaSamaPozycja(COORD a, COORD b) { return a.X == b.X && a.Y == b.Y; }

// Whether the console moves its cursor by escape sequences rather than showing them. Wine's
// console keeps ENABLE_VIRTUAL_TERMINAL_PROCESSING and reads it back, yet shows every sequence as
// text, the escape character included; so the cursor is saved and restored (ESC 7, ESC 8), which
// leaves it where it stood only on a console that acts on the sequences. On any other the four
// characters written are wiped again.
bool KursorWedlugSekwencji(HANDLE wyjscie) {
    CONSOLE_SCREEN_BUFFER_INFO przed{};
    if (GetConsoleScreenBufferInfo(wyjscie, &przed) == 0) return false;
    constexpr wchar_t proba[] = {L'\x1b', L'7', L'\x1b', L'8'};
    DWORD zapisane = 0;
    if (WriteConsoleW(wyjscie, proba, 4, &zapisane, nullptr) == 0) return false;
    CONSOLE_SCREEN_BUFFER_INFO po{};
    if (GetConsoleScreenBufferInfo(wyjscie, &po) != 0 &&
        TaSamaPozycja(po.dwCursorPosition, przed.dwCursorPosition))
        return true;
    DWORD wymazane = 0;
    FillConsoleOutputCharacterW(wyjscie, L' ', zapisane, przed.dwCursorPosition, &wymazane);
    SetConsoleCursorPosition(wyjscie, przed.dwCursorPosition);
    return false;
}

}  // namespace

bool PrzygotujKonsole() {
    // The console's code pages stay as they are: the program writes to it and reads from it in
    // UTF-16, and a code page set here would stay with the console window after the program ends,
    // for whatever runs in it next.
    const HANDLE wyjscie = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD dawny = 0;
    if (GetConsoleMode(wyjscie, &dawny) == 0) return false;
    // Windows before 10 refuses the flag; a console may also take it and drop it, or keep it and
    // do nothing, so only the cursor tells.
    DWORD tryb = 0;
    if (SetConsoleMode(wyjscie, dawny | ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0 &&
        GetConsoleMode(wyjscie, &tryb) != 0 && (tryb & ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0 &&
        KursorWedlugSekwencji(wyjscie))
        return true;
    SetConsoleMode(wyjscie, dawny);
    return false;
}

void WypiszTekst(std::FILE* strumien, const std::string& tekst) {
    const auto uchwyt = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(strumien)));
    if (!JestKonsola(uchwyt)) {
        std::fputs(tekst.c_str(), strumien);
        return;
    }
    // The C runtime hands a console its bytes in pieces (Wine's a byte at a time), which the
    // console decodes by its own code page: under any but UTF-8 every Polish letter comes out
    // wrong, and a letter cut between two pieces does even under UTF-8. The text goes as UTF-16
    // instead, after whatever the stream still holds.
    std::fflush(strumien);
    const std::wstring szeroki = NaUtf16(tekst);
    std::wstring_view reszta = szeroki;
    while (!reszta.empty()) {
        // Windows 7's console takes at most about 64 KB in one call; a letter beyond the basic
        // plane is never cut in two.
        auto porcja = static_cast<DWORD>(std::min<std::size_t>(reszta.size(), 8192));
        if (porcja < reszta.size() && IS_HIGH_SURROGATE(reszta[porcja - 1])) --porcja;
        DWORD zapisane = 0;
        if (WriteConsoleW(uchwyt, reszta.data(), porcja, &zapisane, nullptr) == 0 || zapisane == 0)
            return;
        reszta.remove_prefix(zapisane);
    }
}

bool WejscieZTerminala() { return JestKonsola(GetStdHandle(STD_INPUT_HANDLE)); }

int SzerokoscTerminala() {
    CONSOLE_SCREEN_BUFFER_INFO opis{};
    if (GetConsoleScreenBufferInfo(GetStdHandle(STD_OUTPUT_HANDLE), &opis) != 0)
        return opis.srWindow.Right - opis.srWindow.Left + 1;
    return 80;
}

std::optional<std::string> CzytajZTerminala(const std::string& zacheta, bool bezEcha) {
    WypiszTekst(stderr, zacheta);
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
    if (bezEcha) WypiszTekst(stderr, "\n");
    if (koniec && wiersz.empty()) return std::nullopt;
    return NaUtf8(wiersz);
}

void PrzechwytujZatrzymanie() { SetConsoleCtrlHandler(PoZdarzeniuKonsoli, TRUE); }

bool ZatrzymanieZadane() noexcept { return zatrzymanie; }

}  // namespace zuv
