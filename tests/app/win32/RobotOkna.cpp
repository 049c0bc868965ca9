// Drives the Windows program from outside, as a user would, for the window tests: starts it,
// types into its fields, presses its buttons and keys, and reads back its controls and message
// boxes. Reads one command a line from standard input (fields separated by tabs) and writes one
// line for each thing it reads, so that a test compares the whole conversation at once.
//
//   start     PATH          start the program; waits for its main window
//   ustaw     ID TEXT       set a control's text
//   kliknij   ID            press a button (BM_CLICK to the button)
//   enter     ID            focus a control and press Enter in it
//   tekst     ID            -> tekst ID TEXT
//   widoczny  ID            -> widoczny ID 0|1
//   czekaj    ID            wait until a control is visible or a box comes up
//   komunikat BUTTON        wait for a message box; -> komunikat CAPTION TEXT BUTTONS ikona|brak
//                           OWNER;
//                           then press BUTTON (1 OK, 6 Yes, 7 No) in it
//   obszar                  wait for a message box; -> obszar INSIDE CENTRED WHOLE: 1 when the
//                           box lies inside the work area of the main window's monitor; 1 when
//                           its centre is within 3 pixels of the main window's in each direction
//                           where it does not touch the work area's edge; 1 when its text's last
//                           line is in view or the text has a scroll bar
//   kopiuj                  wait for a message box, press Ctrl+C on the keyboard;
//                           -> schowek TEXT on the clipboard
//   klawisz   VK            wait for a message box, press the key on the keyboard and wait for the
//                           box to close
//   fokus                   -> fokus ID of the control that has the keyboard (0: none of them)
//   tusz      ID            -> tusz ID HEIGHT: the height in pixels of the text the control
//                           shows on the screen, from its highest to its lowest dark pixel
//   zamknij                 close the main window; -> koniec EXIT_CODE
//
// Texts are UTF-8; CR, LF, tab and backslash in texts read back are written as \r, \n, \t, \\.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/win32/Identyfikatory.h"
#include "app/win32/UchwytyWin32.h"
#include "common/TekstWin32.h"

using namespace zuv;

namespace {

constexpr auto LimitCzekania = std::chrono::seconds(180);

// The started program; its process is ended with the robot if it still runs.
struct Program {
    PROCESS_INFORMATION proces{};
    HWND okno = nullptr;

    Program() = default;
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;
    ~Program() {
        if (proces.hProcess == nullptr) return;
        if (WaitForSingleObject(proces.hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(proces.hProcess, 1);
        CloseHandle(proces.hThread);
        CloseHandle(proces.hProcess);
    }
};

std::vector<std::string> Pola(const std::string& linia) {
    std::vector<std::string> pola;
    std::size_t poczatek = 0;
    for (;;) {
        const std::size_t tab = linia.find('\t', poczatek);
        pola.push_back(linia.substr(poczatek, tab - poczatek));
        if (tab == std::string::npos) return pola;
        poczatek = tab + 1;
    }
}

std::string Ucieczka(const std::string& tekst) {
    std::string wynik;
    for (const char znak : tekst) {
        switch (znak) {
            case '\r':
                wynik += "\\r";
                break;
            case '\n':
                wynik += "\\n";
                break;
            case '\t':
                wynik += "\\t";
                break;
            case '\\':
                wynik += "\\\\";
                break;
            default:
                wynik += znak;
        }
    }
    return wynik;
}

void Wypisz(const std::string& linia) {
    std::fwrite(linia.data(), 1, linia.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

std::string TekstOkna(HWND okno) {
    // WM_GETTEXT crosses processes with its buffer; GetWindowText would not ask another
    // process's controls.
    const auto dlugosc = SendMessageW(okno, WM_GETTEXTLENGTH, 0, 0);
    std::wstring tekst(static_cast<std::size_t>(dlugosc) + 1, L'\0');
    const auto skopiowane =
        SendMessageW(okno, WM_GETTEXT, tekst.size(), reinterpret_cast<LPARAM>(tekst.data()));
    tekst.resize(static_cast<std::size_t>(skopiowane));
    return NaUtf8(tekst);
}

std::wstring Klasa(HWND okno) {
    wchar_t nazwa[64] = {};
    GetClassNameW(okno, nazwa, 64);
    return nazwa;
}

struct Szukane {
    DWORD proces;
    const wchar_t* klasa;
    HWND znalezione = nullptr;
};

BOOL CALLBACK SprawdzOkno(HWND okno, LPARAM parametr) {
    auto* szukane = reinterpret_cast<Szukane*>(parametr);
    DWORD proces = 0;
    GetWindowThreadProcessId(okno, &proces);
    if (proces != szukane->proces || !IsWindowVisible(okno) || Klasa(okno) != szukane->klasa)
        return TRUE;
    szukane->znalezione = okno;
    return FALSE;
}

HWND OknoProcesu(const Program& program, const wchar_t* klasa) {
    Szukane szukane{program.proces.dwProcessId, klasa};
    EnumWindows(SprawdzOkno, reinterpret_cast<LPARAM>(&szukane));
    return szukane.znalezione;
}

template <typename Warunek>
bool Czekaj(Warunek warunek) {
    const auto koniec = std::chrono::steady_clock::now() + LimitCzekania;
    while (std::chrono::steady_clock::now() < koniec) {
        if (warunek()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

HWND Kontrolka(const Program& program, const std::string& id) {
    return GetDlgItem(program.okno, std::stoi(id));
}

// The message text of a box: its static or edit control with the longest text (a static one
// may hold the icon).
std::string TekstKomunikatu(HWND okno) {
    std::string najdluzszy;
    for (HWND dziecko = GetWindow(okno, GW_CHILD); dziecko != nullptr;
         dziecko = GetWindow(dziecko, GW_HWNDNEXT)) {
        if (_wcsicmp(Klasa(dziecko).c_str(), L"Static") != 0 &&
            _wcsicmp(Klasa(dziecko).c_str(), L"Edit") != 0)
            continue;
        std::string tekst = TekstOkna(dziecko);
        if (tekst.size() > najdluzszy.size()) najdluzszy = std::move(tekst);
    }
    return najdluzszy;
}

std::string Przyciski(HWND okno) {
    std::string wynik;
    for (const auto& [id, nazwa] : {std::pair{IDOK, "OK"}, std::pair{IDYES, "Tak"},
                                    std::pair{IDNO, "Nie"}, std::pair{IDCANCEL, "Anuluj"}}) {
        const HWND przycisk = GetDlgItem(okno, id);
        if (przycisk == nullptr || !IsWindowVisible(przycisk)) continue;
        if (!wynik.empty()) wynik += '+';
        wynik += nazwa;
    }
    return wynik;
}

// Whether the box shows an icon. Which one cannot be told from outside the program under Wine:
// its icon handles are not readable from another process.
std::string Ikona(HWND okno) {
    for (HWND dziecko = GetWindow(okno, GW_CHILD); dziecko != nullptr;
         dziecko = GetWindow(dziecko, GW_HWNDNEXT))
        if (SendMessageW(dziecko, STM_GETICON, 0, 0) != 0) return "ikona";
    return "brak";
}

// The box that comes up, once it has built its controls and painted; null after the wait.
HWND CzekajNaKomunikat(const Program& program) {
    HWND okno = nullptr;
    if (!Czekaj([&] { return (okno = OknoProcesu(program, L"#32770")) != nullptr; })) {
        Wypisz("brak komunikatu");
        return nullptr;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    return okno;
}

void Komunikat(const Program& program, const std::string& przycisk) {
    const HWND okno = CzekajNaKomunikat(program);
    if (okno == nullptr) return;
    const HWND wlasciciel = GetWindow(okno, GW_OWNER);
    Wypisz("komunikat\t" + TekstOkna(okno) + "\t" + Ucieczka(TekstKomunikatu(okno)) + "\t" +
           Przyciski(okno) + "\t" + Ikona(okno) + "\t" +
           (wlasciciel == program.okno ? "glowne" : "inny"));
    const HWND docelowy = GetDlgItem(okno, std::stoi(przycisk));
    if (docelowy == nullptr) {
        Wypisz("brak przycisku " + przycisk);
        PostMessageW(okno, WM_CLOSE, 0, 0);
    } else {
        PostMessageW(docelowy, BM_CLICK, 0, 0);
    }
    Czekaj([&] { return !IsWindow(okno); });
}

// Whether [poczatek, poczatek + dlugosc) lies within [od, doKonca).
bool WObszarze(long poczatek, long dlugosc, long od, long doKonca) {
    return poczatek >= od && poczatek + dlugosc <= doKonca;
}
// Whether [poczatek, poczatek + dlugosc) is centred within 3 pixels on [srodekOd, srodekDo), or
// touches an edge of [od, doKonca) (moved inside the work area).
bool Wysrodkowany(long poczatek, long dlugosc, long srodekOd, long srodekDo, long od,
                  long doKonca) {
    if (poczatek == od || poczatek + dlugosc == doKonca) return true;
    const long roznica = (2 * poczatek + dlugosc) - (srodekOd + srodekDo);
    return roznica >= -6 && roznica <= 6;
}

void Obszar(const Program& program) {
    const HWND okno = CzekajNaKomunikat(program);
    if (okno == nullptr) return;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(program.okno, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT& praca = monitor.rcWork;
    RECT r;
    RECT glowne;
    GetWindowRect(okno, &r);
    GetWindowRect(program.okno, &glowne);
    const bool wewnatrz = WObszarze(r.left, r.right - r.left, praca.left, praca.right) &&
                          WObszarze(r.top, r.bottom - r.top, praca.top, praca.bottom);
    const bool wysrodkowany =
        Wysrodkowany(r.left, r.right - r.left, glowne.left, glowne.right, praca.left,
                     praca.right) &&
        Wysrodkowany(r.top, r.bottom - r.top, glowne.top, glowne.bottom, praca.top, praca.bottom);
    // The text's last line: its top and the height of a line, from the edit control.
    bool caly = false;
    for (HWND dziecko = GetWindow(okno, GW_CHILD); dziecko != nullptr;
         dziecko = GetWindow(dziecko, GW_HWNDNEXT)) {
        if (_wcsicmp(Klasa(dziecko).c_str(), L"Edit") != 0) continue;
        if ((GetWindowLongPtrW(dziecko, GWL_STYLE) & WS_VSCROLL) != 0) {
            caly = true;
            break;
        }
        const auto gora = [&](WPARAM linia) {
            const auto znak = SendMessageW(dziecko, EM_LINEINDEX, linia, 0);
            return static_cast<short>(HIWORD(SendMessageW(dziecko, EM_POSFROMCHAR, znak, 0)));
        };
        const auto linie = static_cast<WPARAM>(SendMessageW(dziecko, EM_GETLINECOUNT, 0, 0));
        const int wysokosc = linie > 1 ? gora(1) - gora(0) : 0;
        RECT klient;
        GetClientRect(dziecko, &klient);
        caly = gora(linie - 1) >= 0 && gora(linie - 1) + wysokosc <= klient.bottom;
    }
    Wypisz(std::string("obszar\t") + (wewnatrz ? "1" : "0") + "\t" + (wysrodkowany ? "1" : "0") +
           "\t" + (caly ? "1" : "0"));
}

// Presses and releases the keys in turn, the first held until the last is released, through the
// system's input: they go where a person's keys would go.
void Nacisnij(std::initializer_list<WORD> klawisze) {
    std::vector<INPUT> wejscie;
    for (const WORD klawisz : klawisze) {
        INPUT w{};
        w.type = INPUT_KEYBOARD;
        w.ki.wVk = klawisz;
        wejscie.push_back(w);
    }
    for (auto it = klawisze.end(); it != klawisze.begin();) {
        INPUT w{};
        w.type = INPUT_KEYBOARD;
        w.ki.wVk = *--it;
        w.ki.dwFlags = KEYEVENTF_KEYUP;
        wejscie.push_back(w);
    }
    SendInput(static_cast<UINT>(wejscie.size()), wejscie.data(), sizeof(INPUT));
}

std::string Schowek() {
    std::string tekst;
    if (!OpenClipboard(nullptr)) return "(zajety)";
    if (const HANDLE dane = GetClipboardData(CF_UNICODETEXT); dane != nullptr) {
        if (const auto* znaki = static_cast<const wchar_t*>(GlobalLock(dane)); znaki != nullptr) {
            tekst = NaUtf8(znaki);
            GlobalUnlock(dane);
        }
    }
    CloseClipboard();
    return tekst;
}

void Kopiuj(const Program& program) {
    if (CzekajNaKomunikat(program) == nullptr) return;
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        CloseClipboard();
    }
    Nacisnij({VK_CONTROL, 'C'});
    // A box that does not copy leaves the clipboard empty: a few seconds tell.
    for (int i = 0; i < 100 && IsClipboardFormatAvailable(CF_UNICODETEXT) == FALSE; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    Wypisz("schowek\t" + Ucieczka(Schowek()));
}

void Klawisz(const Program& program, const std::string& klawisz) {
    const HWND okno = CzekajNaKomunikat(program);
    if (okno == nullptr) return;
    Nacisnij({static_cast<WORD>(std::stoi(klawisz))});
    Czekaj([&] { return !IsWindow(okno); });
}

std::string Fokus(const Program& program) {
    GUITHREADINFO watek{};
    watek.cbSize = sizeof watek;
    GetGUIThreadInfo(GetWindowThreadProcessId(program.okno, nullptr), &watek);
    if (watek.hwndFocus == nullptr || !IsChild(program.okno, watek.hwndFocus)) return "0";
    return std::to_string(GetDlgCtrlID(watek.hwndFocus));
}

// The height in pixels of the text drawn in a control, read off the screen: the rows of its
// on-screen part holding a dark pixel. (Another process's font handle cannot be asked for under
// Wine: WM_GETFONT does not cross processes there.)
int WysokoscTuszu(HWND kontrolka) {
    RECT r;
    GetWindowRect(kontrolka, &r);
    r.left = std::max<LONG>(r.left, 0);
    r.top = std::max<LONG>(r.top, 0);
    r.right = std::min<LONG>(r.right, GetSystemMetrics(SM_CXSCREEN));
    r.bottom = std::min<LONG>(r.bottom, GetSystemMetrics(SM_CYSCREEN));
    const int szerokosc = r.right - r.left;
    const int wysokosc = r.bottom - r.top;
    if (szerokosc <= 0 || wysokosc <= 0) return 0;
    BITMAPINFO opis{};
    opis.bmiHeader.biSize = sizeof opis.bmiHeader;
    opis.bmiHeader.biWidth = szerokosc;
    opis.bmiHeader.biHeight = -wysokosc;
    opis.bmiHeader.biPlanes = 1;
    opis.bmiHeader.biBitCount = 32;
    opis.bmiHeader.biCompression = BI_RGB;
    void* bity = nullptr;
    const KontekstOkna ekran(nullptr);
    const KontekstPamieci pamiec(ekran.Dc());
    const ObiektGdi<HBITMAP> obraz(
        CreateDIBSection(ekran.Dc(), &opis, DIB_RGB_COLORS, &bity, nullptr, 0));
    if (obraz == nullptr) return 0;
    const WybranyObiekt wybrany(pamiec.Dc(), obraz.get());
    BitBlt(pamiec.Dc(), 0, 0, szerokosc, wysokosc, ekran.Dc(), r.left, r.top, SRCCOPY);
    GdiFlush();
    int pierwszy = -1;
    int ostatni = -1;
    const auto* piksele = static_cast<const std::uint32_t*>(bity);
    for (int y = 0; y < wysokosc; ++y) {
        for (int x = 0; x < szerokosc; ++x) {
            const std::uint32_t p = piksele[y * szerokosc + x];
            if (((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF) >= 3 * 100) continue;
            if (pierwszy < 0) pierwszy = y;
            ostatni = y;
            break;
        }
    }
    return pierwszy < 0 ? 0 : ostatni - pierwszy + 1;
}

void Enter(const Program& program, const std::string& id) {
    const HWND pole = Kontrolka(program, id);
    const DWORD watekOkna = GetWindowThreadProcessId(program.okno, nullptr);
    const DWORD watek = GetCurrentThreadId();
    // Focus in another process's window needs its input state shared for a moment.
    AttachThreadInput(watek, watekOkna, TRUE);
    SetForegroundWindow(program.okno);
    SetFocus(pole);
    AttachThreadInput(watek, watekOkna, FALSE);
    PostMessageW(pole, WM_KEYDOWN, VK_RETURN, 0x001C0001);
    PostMessageW(pole, WM_KEYUP, VK_RETURN, 0xC01C0001);
}

bool Start(Program& program, const std::string& sciezka) {
    std::wstring wiersz = L"\"" + NaUtf16(sciezka) + L"\"";
    STARTUPINFOW start{};
    start.cb = sizeof start;
    if (!CreateProcessW(nullptr, wiersz.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &start, &program.proces))
        return false;
    return Czekaj(
        [&] { return (program.okno = OknoProcesu(program, idk::KlasaOknaGlownego)) != nullptr; });
}

}  // namespace

int main() {
    // Rectangles in the screen's own pixels, as the program (aware of the density) sees them.
    SetProcessDPIAware();
    Program program;
    std::string linia;
    while (std::getline(std::cin, linia)) {
        if (!linia.empty() && linia.back() == '\r') linia.pop_back();
        const std::vector<std::string> pola = Pola(linia);
        const std::string& polecenie = pola[0];
        const auto argument = [&](std::size_t i) { return i < pola.size() ? pola[i] : ""; };
        if (polecenie.empty()) continue;
        if (polecenie == "start") {
            Wypisz(Start(program, argument(1)) ? "okno" : "brak okna");
        } else if (polecenie == "ustaw") {
            const std::wstring tekst = NaUtf16(argument(2));
            SendMessageW(Kontrolka(program, argument(1)), WM_SETTEXT, 0,
                         reinterpret_cast<LPARAM>(tekst.c_str()));
        } else if (polecenie == "kliknij") {
            PostMessageW(Kontrolka(program, argument(1)), BM_CLICK, 0, 0);
        } else if (polecenie == "enter") {
            Enter(program, argument(1));
        } else if (polecenie == "tekst") {
            Wypisz("tekst\t" + argument(1) + "\t" +
                   Ucieczka(TekstOkna(Kontrolka(program, argument(1)))));
        } else if (polecenie == "czekaj-na-tekst") {
            // A posted click is handled after a message sent meanwhile: the text the click sets
            // is awaited, then read as "tekst" reads it.
            const HWND kontrolka = Kontrolka(program, argument(1));
            Czekaj([&] { return !TekstOkna(kontrolka).empty(); });
            Wypisz("tekst\t" + argument(1) + "\t" + Ucieczka(TekstOkna(kontrolka)));
        } else if (polecenie == "widoczny") {
            Wypisz("widoczny\t" + argument(1) + "\t" +
                   (IsWindowVisible(Kontrolka(program, argument(1))) ? "1" : "0"));
        } else if (polecenie == "czekaj") {
            const HWND kontrolka = Kontrolka(program, argument(1));
            Czekaj([&] {
                return IsWindowVisible(kontrolka) || OknoProcesu(program, L"#32770") != nullptr;
            });
        } else if (polecenie == "komunikat") {
            Komunikat(program, argument(1));
        } else if (polecenie == "obszar") {
            Obszar(program);
        } else if (polecenie == "kopiuj") {
            Kopiuj(program);
        } else if (polecenie == "klawisz") {
            Klawisz(program, argument(1));
        } else if (polecenie == "fokus") {
            Wypisz("fokus\t" + Fokus(program));
        } else if (polecenie == "tusz") {
            Wypisz("tusz\t" + argument(1) + "\t" +
                   std::to_string(WysokoscTuszu(Kontrolka(program, argument(1)))));
        } else if (polecenie == "koniec-sesji") {
            // As Windows does when the user logs off: asks, then tells the session is ending;
            // the program is to be gone after that.
            DWORD_PTR wynik = 0;
            SendMessageTimeoutW(program.okno, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF,
                                SMTO_ABORTIFHUNG, 10000, &wynik);
            SendMessageTimeoutW(program.okno, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF,
                                SMTO_ABORTIFHUNG, 10000, &wynik);
            DWORD kod = STILL_ACTIVE;
            if (WaitForSingleObject(program.proces.hProcess, 30000) == WAIT_OBJECT_0)
                GetExitCodeProcess(program.proces.hProcess, &kod);
            Wypisz("koniec\t" + std::to_string(kod));
        } else if (polecenie == "zamknij") {
            PostMessageW(program.okno, WM_CLOSE, 0, 0);
            DWORD kod = STILL_ACTIVE;
            if (WaitForSingleObject(program.proces.hProcess, 30000) == WAIT_OBJECT_0)
                GetExitCodeProcess(program.proces.hProcess, &kod);
            Wypisz("koniec\t" + std::to_string(kod));
        } else {
            Wypisz("nieznane polecenie " + polecenie);
        }
    }
    return 0;
}
