#include "app/win32/OknaKomunikatowWin32.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/win32/CzcionkaOkna.h"
#include "app/win32/UchwytyWin32.h"
#include "app/win32/UkladKomunikatu.h"
#include "common/TekstWin32.h"

namespace zuv {

namespace {

constexpr int IdTekstu = 100;
constexpr int IdIkony = 101;
// Where a control of the box keeps the window procedure it had before the box took its keys.
constexpr const wchar_t* WlasciwoscProcedury = L"AktualizacjaZuvProcedura";

// What the box is made from; lives on the stack of Pokaz while the box is open.
struct DaneOkna {
    std::wstring tekst;  // line ends as CR LF, as the edit control shows them
    std::wstring tytul;
    int styl = 0;
    HWND wlasciciel = nullptr;
    PrzyciskiKomunikatu przyciski;
    Czcionka czcionka;
};

LPCWSTR IkonaSystemu(int styl) {
    switch (styl & 0xF0) {
        case StylKomunikatu::IkonaStop:
            return IDI_ERROR;
        case StylKomunikatu::IkonaWykrzyknik:
            return IDI_WARNING;
        case StylKomunikatu::IkonaInformacja:
            return IDI_INFORMATION;
        default:
            return nullptr;
    }
}

// The sound the system plays with the box of that icon.
UINT Dzwiek(int styl) {
    switch (styl & 0xF0) {
        case StylKomunikatu::IkonaStop:
            return MB_ICONHAND;
        case StylKomunikatu::IkonaWykrzyknik:
            return MB_ICONEXCLAMATION;
        case StylKomunikatu::IkonaInformacja:
            return MB_ICONASTERISK;
        default:
            return MB_OK;
    }
}

std::wstring ZKoncamiLiniiCrLf(std::wstring_view tekst) {
    std::wstring wynik;
    wynik.reserve(tekst.size());
    for (std::size_t i = 0; i < tekst.size(); ++i) {
        if (tekst[i] == L'\r' || tekst[i] == L'\n') {
            wynik += L"\r\n";
            if (tekst[i] == L'\r' && i + 1 < tekst.size() && tekst[i + 1] == L'\n') ++i;
        } else {
            wynik += tekst[i];
        }
    }
    return wynik;
}

// The box as the system's box puts it on the clipboard: the caption, the text and the buttons.
std::wstring TekstDoSchowka(const DaneOkna& dane) {
    const std::wstring kreska = L"---------------------------\r\n";
    std::wstring przyciski;
    for (const PrzyciskKomunikatu& przycisk : dane.przyciski.przyciski)
        przyciski += std::wstring(przycisk.napis) + L"   ";
    return kreska + dane.tytul + L"\r\n" + kreska + dane.tekst + L"\r\n" + kreska + przyciski +
           L"\r\n" + kreska;
}

struct ZamknijSchowek {
    ~ZamknijSchowek() { CloseClipboard(); }
};
struct ZwolnijPamiec {
    void operator()(void* pamiec) const { GlobalFree(pamiec); }
};

// Puts the text on the clipboard. Like the system's box, a clipboard held by another program
// leaves it as it was.
void Kopiuj(HWND okno, const std::wstring& tekst) {
    if (!OpenClipboard(okno)) return;
    const ZamknijSchowek zamknij;
    const std::size_t bajty = (tekst.size() + 1) * sizeof(wchar_t);
    std::unique_ptr<void, ZwolnijPamiec> pamiec(GlobalAlloc(GMEM_MOVEABLE, bajty));
    if (pamiec == nullptr) return;
    void* dane = GlobalLock(pamiec.get());
    if (dane == nullptr) return;
    std::memcpy(dane, tekst.c_str(), bajty);
    GlobalUnlock(pamiec.get());
    EmptyClipboard();
    // The clipboard owns the memory once it has taken it.
    if (SetClipboardData(CF_UNICODETEXT, pamiec.get()) != nullptr) pamiec.release();
}

// Ctrl+C in any control of the box copies the whole box, as in the system's box; in the text
// with a part of it selected, that part (the edit control's own copy).
LRESULT CALLBACK ProceduraKontrolki(HWND kontrolka, UINT komunikat, WPARAM w, LPARAM l) {
    const auto poprzednia = reinterpret_cast<WNDPROC>(GetPropW(kontrolka, WlasciwoscProcedury));
    const bool kopiowanie = (komunikat == WM_KEYDOWN && w == 'C' && GetKeyState(VK_CONTROL) < 0) ||
                            (komunikat == WM_CHAR && w == 0x03);
    if (kopiowanie) {
        DWORD od = 0;
        DWORD doZnaku = 0;
        if (GetDlgCtrlID(kontrolka) == IdTekstu)
            SendMessageW(kontrolka, EM_GETSEL, reinterpret_cast<WPARAM>(&od),
                         reinterpret_cast<LPARAM>(&doZnaku));
        if (od == doZnaku) {
            if (komunikat == WM_KEYDOWN) SendMessageW(GetParent(kontrolka), WM_COPY, 0, 0);
            return 0;
        }
    }
    if (komunikat == WM_NCDESTROY) {
        SetWindowLongPtrW(kontrolka, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(poprzednia));
        RemovePropW(kontrolka, WlasciwoscProcedury);
    }
    return CallWindowProcW(poprzednia, kontrolka, komunikat, w, l);
}

void PrzejmijKlawisze(HWND kontrolka) {
    const auto poprzednia =
        SetWindowLongPtrW(kontrolka, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ProceduraKontrolki));
    SetPropW(kontrolka, WlasciwoscProcedury, reinterpret_cast<HANDLE>(poprzednia));
}

Prostokat ZRect(const RECT& r) { return {r.left, r.top, r.right - r.left, r.bottom - r.top}; }

HWND Utworz(HWND okno, const wchar_t* klasa, const wchar_t* tekst, DWORD styl, int id,
            const Prostokat& p, HFONT czcionka) {
    const HWND kontrolka = CreateWindowExW(
        0, klasa, tekst, WS_CHILD | WS_VISIBLE | styl, p.x, p.y, p.szerokosc, p.wysokosc, okno,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
        reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(okno, GWLP_HINSTANCE)), nullptr);
    SendMessageW(kontrolka, WM_SETFONT, reinterpret_cast<WPARAM>(czcionka), FALSE);
    return kontrolka;
}

// Builds the box's controls, sizes it to its text and places it.
void Zbuduj(HWND okno, DaneOkna& dane) {
    SetWindowTextW(okno, dane.tytul.c_str());
    const HWND odniesienie = dane.wlasciciel != nullptr ? dane.wlasciciel : okno;
    const int dpi = DpiOkna(odniesienie);
    dane.czcionka = UtworzCzcionke(dpi);
    const HFONT czcionka = dane.czcionka.get();

    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(odniesienie, MONITOR_DEFAULTTOPRIMARY), &monitor);
    WarunkiKomunikatu warunki;
    warunki.obszarRoboczy = ZRect(monitor.rcWork);
    warunki.wlasciciel = warunki.obszarRoboczy;
    if (dane.wlasciciel != nullptr && IsWindowVisible(dane.wlasciciel) &&
        !IsIconic(dane.wlasciciel)) {
        RECT wlasciciel;
        GetWindowRect(dane.wlasciciel, &wlasciciel);
        warunki.wlasciciel = ZRect(wlasciciel);
    }
    warunki.dpi = dpi;
    warunki.szerokoscPaska = MulDiv(GetSystemMetrics(SM_CXVSCROLL), dpi, DpiOkna(nullptr));
    RECT ramka{0, 0, 100, 100};
    AdjustWindowRectEx(&ramka, static_cast<DWORD>(GetWindowLongPtrW(okno, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrW(okno, GWL_EXSTYLE)));
    warunki.ramkaX = ramka.right - ramka.left - 100;
    warunki.ramkaY = ramka.bottom - ramka.top - 100;
    warunki.liczbaPrzyciskow = static_cast<int>(dane.przyciski.przyciski.size());
    const LPCWSTR ikona = IkonaSystemu(dane.styl);
    warunki.ikona = ikona != nullptr;

    UkladKomunikatu uklad;
    {
        const KontekstOkna dc(okno);
        const WybranyObiekt wybrana(dc.Dc(), czcionka);
        TEXTMETRICW miary{};
        GetTextMetricsW(dc.Dc(), &miary);
        warunki.wysokoscLinii = std::max<int>(miary.tmHeight, 1);
        const MiaraTekstu miara = [&](std::wstring_view tekst) {
            SIZE rozmiar{};
            GetTextExtentPoint32W(dc.Dc(), tekst.data(), static_cast<int>(tekst.size()), &rozmiar);
            return static_cast<int>(rozmiar.cx);
        };
        uklad = UlozKomunikat(dane.tekst, miara, warunki);
    }

    // The text in a read-only edit control: it wraps as measured, scrolls where the box cannot
    // show it whole, and lets the text be selected and copied.
    const HWND tekst =
        Utworz(okno, L"Edit", dane.tekst.c_str(),
               WS_TABSTOP | ES_MULTILINE | ES_READONLY | (uklad.przewijanie ? WS_VSCROLL : 0),
               IdTekstu, uklad.tekst, czcionka);
    SendMessageW(tekst, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
    // Should the control break the text into more lines than measured, the box is sized by its
    // count, so that no line is hidden.
    const int linie = static_cast<int>(SendMessageW(tekst, EM_GETLINECOUNT, 0, 0));
    if (linie != static_cast<int>(uklad.linie.size())) {
        const bool przewijanie = uklad.przewijanie;
        uklad = UlozKomunikat(uklad.szerokoscZawijania, linie, warunki);
        if (uklad.przewijanie && !przewijanie) {
            SetWindowLongPtrW(tekst, GWL_STYLE, GetWindowLongPtrW(tekst, GWL_STYLE) | WS_VSCROLL);
            SetWindowPos(tekst, nullptr, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
        }
        MoveWindow(tekst, uklad.tekst.x, uklad.tekst.y, uklad.tekst.szerokosc, uklad.tekst.wysokosc,
                   FALSE);
    }
    PrzejmijKlawisze(tekst);

    if (ikona != nullptr) {
        const HWND obraz = Utworz(okno, L"Static", nullptr, SS_ICON | SS_REALSIZECONTROL, IdIkony,
                                  uklad.ikona, czcionka);
        auto* uchwyt = static_cast<HICON>(LoadImageW(
            nullptr, ikona, IMAGE_ICON, uklad.ikona.szerokosc, uklad.ikona.wysokosc, LR_SHARED));
        if (uchwyt == nullptr) uchwyt = LoadIconW(nullptr, ikona);
        SendMessageW(obraz, STM_SETICON, reinterpret_cast<WPARAM>(uchwyt), 0);
        MoveWindow(obraz, uklad.ikona.x, uklad.ikona.y, uklad.ikona.szerokosc, uklad.ikona.wysokosc,
                   FALSE);
    }
    HWND domyslny = nullptr;
    for (std::size_t i = 0; i < dane.przyciski.przyciski.size(); ++i) {
        const PrzyciskKomunikatu& przycisk = dane.przyciski.przyciski[i];
        const bool jestDomyslny = przycisk.odpowiedz == dane.przyciski.domyslny;
        const HWND uchwyt = Utworz(okno, L"Button", przycisk.napis,
                                   WS_TABSTOP | (i == 0 ? WS_GROUP : 0) |
                                       (jestDomyslny ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON),
                                   przycisk.odpowiedz, uklad.przyciski[i], czcionka);
        PrzejmijKlawisze(uchwyt);
        if (jestDomyslny) domyslny = uchwyt;
    }
    SendMessageW(okno, DM_SETDEFID, static_cast<WPARAM>(dane.przyciski.domyslny), 0);
    SetWindowPos(okno, nullptr, uklad.okno.x, uklad.okno.y, uklad.okno.szerokosc,
                 uklad.okno.wysokosc, SWP_NOZORDER | SWP_NOACTIVATE);
    if (domyslny != nullptr) SetFocus(domyslny);
    MessageBeep(Dzwiek(dane.styl));
}

INT_PTR CALLBACK ProceduraOkna(HWND okno, UINT komunikat, WPARAM w, LPARAM l) {
    if (komunikat == WM_INITDIALOG) {
        SetWindowLongPtrW(okno, DWLP_USER, l);
        Zbuduj(okno, *reinterpret_cast<DaneOkna*>(l));
        return FALSE;  // the default button has the keyboard
    }
    auto* dane = reinterpret_cast<DaneOkna*>(GetWindowLongPtrW(okno, DWLP_USER));
    if (dane == nullptr) return FALSE;
    switch (komunikat) {
        case WM_COMMAND: {
            if (HIWORD(w) != BN_CLICKED) return FALSE;
            const int id = LOWORD(w);
            if (id == IDCANCEL) {
                EndDialog(okno, dane->przyciski.naEscape);
                return TRUE;
            }
            for (const PrzyciskKomunikatu& przycisk : dane->przyciski.przyciski) {
                if (przycisk.odpowiedz != id) continue;
                EndDialog(okno, id);
                return TRUE;
            }
            return FALSE;
        }
        case WM_COPY:
            Kopiuj(okno, TekstDoSchowka(*dane));
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

int OknaKomunikatowWin32::Pokaz(const std::string& tekst, const std::string& tytul, int styl) {
    DaneOkna dane;
    dane.tekst = ZKoncamiLiniiCrLf(NaUtf16(tekst));
    dane.tytul = NaUtf16(tytul);
    dane.styl = styl;
    dane.wlasciciel = wlasciciel_;
    dane.przyciski = Przyciski(styl);

    // An empty dialog template: the box makes its controls itself, sized in pixels.
    std::vector<WORD> szablon(sizeof(DLGTEMPLATE) / sizeof(WORD) + 3, 0);
    auto* opis = reinterpret_cast<DLGTEMPLATE*>(szablon.data());
    opis->style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFOREGROUND;
    opis->dwExtendedStyle = WS_EX_DLGMODALFRAME;
    const auto instancja = GetModuleHandleW(nullptr);
    const INT_PTR wynik = DialogBoxIndirectParamW(instancja, opis, wlasciciel_, ProceduraOkna,
                                                  reinterpret_cast<LPARAM>(&dane));
    if (wynik > 0) return static_cast<int>(wynik);
    // The box could not be made (no memory for a window): the text still reaches the person,
    // through the system's box.
    return MessageBoxW(wlasciciel_, dane.tekst.c_str(), dane.tytul.c_str(),
                       static_cast<UINT>(styl));
}

}  // namespace zuv
