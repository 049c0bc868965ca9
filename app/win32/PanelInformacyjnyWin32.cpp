#include "app/win32/PanelInformacyjnyWin32.h"

#include <algorithm>
#include <stdexcept>

#include "app/okno/WypelnieniePaska.h"
#include "app/win32/OknaKomunikatowWin32.h"
#include "app/win32/PasekZadan.h"
#include "app/win32/UchwytyWin32.h"
#include "common/TekstWin32.h"

namespace zuv {

namespace {

constexpr const wchar_t* Klasa = L"TPanelInformacyjny";

}  // namespace

void PanelInformacyjnyWin32::ZarejestrujKlase(HINSTANCE instancja) {
    WNDCLASSEXW klasa{};
    klasa.cbSize = sizeof klasa;
    klasa.lpfnWndProc = ProceduraOkna<PanelInformacyjnyWin32>::Procedura;
    klasa.hInstance = instancja;
    klasa.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    klasa.lpszClassName = Klasa;
    RegisterClassExW(&klasa);
}

PanelInformacyjnyWin32::PanelInformacyjnyWin32(HWND rodzic, int id, PasekZadan& pasekZadan)
    : pasekZadan_(pasekZadan), kolor_(GetSysColor(COLOR_WINDOW)) {
    okno_ = CreateWindowExW(0, Klasa, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, rodzic,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                            reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(rodzic, GWLP_HINSTANCE)),
                            this);
    if (okno_ == nullptr) throw std::runtime_error("Nie można utworzyć paska informacyjnego okna");
}

void PanelInformacyjnyWin32::UstawTekst(std::string_view tekstUtf8) {
    tekst_ = NaUtf16(tekstUtf8);
    InvalidateRect(okno_, nullptr, FALSE);
}

void PanelInformacyjnyWin32::OdswiezTeraz() { UpdateWindow(okno_); }

bool PanelInformacyjnyWin32::Widoczna() const { return IsWindowVisible(okno_) != FALSE; }

void PanelInformacyjnyWin32::UstawKolor(std::uint32_t kolor) {
    kolor_ = static_cast<COLORREF>(kolor);
    kolorWlasny_ = true;
    InvalidateRect(okno_, nullptr, FALSE);
    // The runner colours the strip only to mark a failed package.
    pasekZadan_.Blad();
}

void PanelInformacyjnyWin32::PrzywrocKolor() {
    kolorWlasny_ = false;
    InvalidateRect(okno_, nullptr, FALSE);
}

void PanelInformacyjnyWin32::UstawWypelnienie(std::int64_t wykonane, std::int64_t wszystkie) {
    const double nowe = UdzialWypelnienia(wykonane, wszystkie);
    if (wszystkie > 0)
        pasekZadan_.Postep(static_cast<std::uint64_t>(std::max<std::int64_t>(wykonane, 0)),
                           static_cast<std::uint64_t>(wszystkie));
    if (nowe == wypelnienie_) return;
    wypelnienie_ = nowe;
    InvalidateRect(okno_, nullptr, FALSE);
}

void PanelInformacyjnyWin32::Maluj(HDC dc, const RECT& obszar) const {
    // Until a colour is set the strip follows the system's window colour; the fill goes over the
    // background, the text over both.
    const Pedzel tlo(CreateSolidBrush(kolorWlasny_ ? kolor_ : GetSysColor(COLOR_WINDOW)));
    FillRect(dc, &obszar, tlo.get());
    if (wypelnienie_ > 0) {
        RECT wypelnione = obszar;
        wypelnione.right =
            obszar.left + static_cast<LONG>((obszar.right - obszar.left) * wypelnienie_);
        const Pedzel pedzel(CreateSolidBrush(KolorWypelnienia));
        FillRect(dc, &wypelnione, pedzel.get());
    }

    // The window's font, the one its other controls have (WM_SETFONT), scaled with the DPI;
    // the System font only until the window has given one.
    const WybranyObiekt czcionka(dc, czcionka_);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    RECT tekstu = obszar;
    DrawTextW(dc, tekst_.c_str(), static_cast<int>(tekst_.size()), &tekstu,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}

void PanelInformacyjnyWin32::PokazBladObslugi(const std::exception& blad) {
    OknaKomunikatowWin32 komunikaty;
    komunikaty.UstawWlasciciela(GetAncestor(okno_, GA_ROOT));
    PokazBladProgramu(komunikaty, blad);
}

LRESULT PanelInformacyjnyWin32::Obsluz(UINT komunikat, WPARAM w, LPARAM l) {
    switch (komunikat) {
        case WM_ERASEBKGND:
            return 1;  // WM_PAINT fills the whole strip
        case WM_PAINT: {
            const KontekstMalowania malowanie(okno_);
            RECT obszar;
            GetClientRect(okno_, &obszar);
            Maluj(malowanie.Dc(), obszar);
            return 0;
        }
        case WM_SETFONT:
            // The font stays the sender's: the window deletes it after giving the next one.
            // Drawn again at once whatever the redraw flag: the window gives a font to every
            // child at the same time and repaints only itself.
            czcionka_ = reinterpret_cast<HFONT>(w);
            InvalidateRect(okno_, nullptr, FALSE);
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(czcionka_);
        case WM_GETTEXTLENGTH:
            // The text as the runner last set it, for screen readers and the window tests.
            return static_cast<LRESULT>(tekst_.size());
        case WM_GETTEXT: {
            if (w == 0) return 0;
            const std::size_t ile = std::min<std::size_t>(tekst_.size(), w - 1);
            auto* bufor = reinterpret_cast<wchar_t*>(l);
            tekst_.copy(bufor, ile);
            bufor[ile] = L'\0';
            return static_cast<LRESULT>(ile);
        }
        default:
            return DefWindowProcW(okno_, komunikat, w, l);
    }
}

}  // namespace zuv
