#include "app/win32/Glowna.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <exception>
#include <functional>
#include <stdexcept>
#include <utility>

#include "app/okno/Uklad.h"
#include "app/win32/CzcionkaOkna.h"
#include "app/win32/Identyfikatory.h"
#include "common/TekstWin32.h"
#include "versions/KatalogWersji.h"

namespace zuv {

namespace {

constexpr int WysokoscPozycjiListy = 13;
constexpr DWORD StylOkna = WS_OVERLAPPEDWINDOW;
constexpr UINT_PTR ZegarPostepu = 1;
// Posted by the thread of a call to the server when the call has ended.
constexpr UINT KoniecPracy = WM_APP + 1;

// The outer size of a window whose client area is the design's at `dpi`.
SIZE RozmiarOkna(int dpi) {
    RECT obszar{0, 0, Skaluj(SzerokoscProjektu, dpi), Skaluj(WysokoscProjektu, dpi)};
    AdjustWindowRectEx(&obszar, StylOkna, FALSE, 0);
    return {obszar.right - obszar.left, obszar.bottom - obszar.top};
}

struct OpisKontrolki {
    int id;
    const wchar_t* klasa;
    const char* tekst;  // UTF-8
    DWORD styl;
    DWORD stylRozszerzony;
};

// In tab order: the dialog manager walks the controls in the order they were made. Group boxes
// come before the controls they frame, as in a dialog template, so that they lie beneath them.
constexpr DWORD Dziecko = WS_CHILD | WS_VISIBLE;
constexpr DWORD Pole = Dziecko | WS_TABSTOP | ES_AUTOHSCROLL;
constexpr DWORD Etykieta = Dziecko | SS_RIGHT | SS_NOPREFIX;
const OpisKontrolki Kontrolki[] = {
    {idk::gbxLogowanie, WC_BUTTONW, "Logowanie", Dziecko | BS_GROUPBOX, 0},
    {idk::labSerwer, WC_STATICW, "Serwer:", Etykieta, 0},
    {idk::labBaza, WC_STATICW, "Baza:", Etykieta, 0},
    {idk::labUzytk, WC_STATICW, "Użytkownik:", Etykieta, 0},
    {idk::labHaslo, WC_STATICW, "Hasło:", Etykieta, 0},
    {idk::edbSerwer, WC_EDITW, "", Pole | WS_GROUP, WS_EX_CLIENTEDGE},
    {idk::edbBaza, WC_EDITW, "", Pole, WS_EX_CLIENTEDGE},
    {idk::edbUzytk, WC_EDITW, "sa", Pole, WS_EX_CLIENTEDGE},
    {idk::edbHaslo, WC_EDITW, "", Pole | ES_PASSWORD, WS_EX_CLIENTEDGE},
    {idk::btnLoguj, WC_BUTTONW, "Loguj", Dziecko | WS_TABSTOP | BS_DEFPUSHBUTTON, 0},
    {idk::gbxAktualizacja, WC_BUTTONW, "Aktualizacja", WS_CHILD | BS_GROUPBOX, 0},
    {idk::labAktualnaWersja, WC_STATICW, "labAktualnaWersja",
     WS_CHILD | SS_LEFT | SS_NOPREFIX | SS_EDITCONTROL, 0},
    {idk::btnAktualizuj, WC_BUTTONW, "Aktualizuj", WS_CHILD | WS_TABSTOP | BS_PUSHBUTTON, 0},
    {idk::labWersje, WC_STATICW, "Dostępne wersje:", Dziecko | SS_LEFT | SS_NOPREFIX, 0},
    {idk::lstWersje, WC_LISTBOXW, "", Dziecko | WS_TABSTOP | WS_VSCROLL | LBS_NOINTEGRALHEIGHT,
     WS_EX_CLIENTEDGE},
    {idk::btnZamknij, WC_BUTTONW, "Zamknij", Dziecko | WS_TABSTOP | BS_PUSHBUTTON, 0},
};

// The controls of the update group, hidden and shown with it.
constexpr int KontrolkiGrupyAktualizacji[] = {idk::gbxAktualizacja, idk::labAktualnaWersja,
                                              idk::btnAktualizuj};

}  // namespace

void TfrmGlowna::ZarejestrujKlase(HINSTANCE instancja) {
    WNDCLASSEXW klasa{};
    klasa.cbSize = sizeof klasa;
    klasa.lpfnWndProc = ProceduraOkna<TfrmGlowna>::Procedura;
    klasa.hInstance = instancja;
    klasa.hIcon = LoadIconW(instancja, L"IKONA");
    klasa.hIconSm = static_cast<HICON>(LoadImageW(instancja, L"IKONA", IMAGE_ICON,
                                                  GetSystemMetrics(SM_CXSMICON),
                                                  GetSystemMetrics(SM_CYSMICON), 0));
    klasa.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    klasa.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    klasa.lpszClassName = idk::KlasaOknaGlownego;
    RegisterClassExW(&klasa);
    PanelInformacyjnyWin32::ZarejestrujKlase(instancja);
}

TfrmGlowna::TfrmGlowna(HINSTANCE instancja, OknaKomunikatowWin32& komunikaty, Polaczenie& conn,
                       Dziennik* dziennik)
    : komunikaty_(komunikaty), conn_(conn), dziennik_(dziennik) {
    dpi_ = DpiOkna(nullptr);
    const SIZE rozmiar = RozmiarOkna(dpi_);
    okno_ = CreateWindowExW(0, idk::KlasaOknaGlownego, NaUtf16(TytulOkna).c_str(), StylOkna,
                            Skaluj(LewaKrawedzOknaProjektu, dpi_),
                            Skaluj(GornaKrawedzOknaProjektu, dpi_), rozmiar.cx, rozmiar.cy, nullptr,
                            nullptr, instancja, this);
    if (okno_ == nullptr) throw std::runtime_error("Nie można utworzyć okna programu");
    // The monitor the window landed on may have another density than the primary one.
    if (const int dpi = DpiOkna(okno_); dpi != dpi_) {
        UstawDpi(dpi);
        const SIZE inny = RozmiarOkna(dpi);
        SetWindowPos(okno_, nullptr, 0, 0, inny.cx, inny.cy, SWP_NOMOVE | SWP_NOZORDER);
    }
    PrzesunDoObszaruPracy();
    komunikaty_.UstawWlasciciela(okno_);
    fokusAktywacji_ = Kontrolka(idk::edbSerwer);
    SetFocus(fokusAktywacji_);
}

void TfrmGlowna::PrzesunDoObszaruPracy() {
    // The designed position, scaled, may leave the window partly off a small or dense screen:
    // it then moves into the work area of its monitor, keeping the designed place where it fits.
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    RECT ramka{};
    if (!GetWindowRect(okno_, &ramka) ||
        !GetMonitorInfoW(MonitorFromWindow(okno_, MONITOR_DEFAULTTONEAREST), &monitor))
        return;
    const RECT& obszar = monitor.rcWork;
    const Prostokat miejsce = WObszarzeRoboczym(
        {ramka.left, ramka.top, ramka.right - ramka.left, ramka.bottom - ramka.top},
        {obszar.left, obszar.top, obszar.right - obszar.left, obszar.bottom - obszar.top});
    if (miejsce.x != ramka.left || miejsce.y != ramka.top)
        SetWindowPos(okno_, nullptr, miejsce.x, miejsce.y, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

TfrmGlowna::~TfrmGlowna() {
    // Waits for a call still under way and closes the connection, while the window is there.
    szkielet_.reset();
    if (okno_ != nullptr) {
        SetWindowLongPtrW(okno_, GWLP_USERDATA, 0);
        DestroyWindow(okno_);
    }
}

void TfrmGlowna::UtworzKontrolki() {
    const auto instancja = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(okno_, GWLP_HINSTANCE));
    for (const OpisKontrolki& opis : Kontrolki) {
        CreateWindowExW(opis.stylRozszerzony, opis.klasa, NaUtf16(opis.tekst).c_str(), opis.styl, 0,
                        0, 0, 0, okno_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(opis.id)),
                        instancja, nullptr);
    }
    // The strip is not in the tab order: it is made last and takes no focus.
    pnlAktualiacjaInfo_ =
        std::make_unique<PanelInformacyjnyWin32>(okno_, idk::pnlAktualiacjaInfo, pasekZadan_);
    szkielet_ = std::make_unique<SzkieletOkna>(
        static_cast<OknoSzkieletu&>(*this), conn_,
        WidokOkna{*this, *this, *this, komunikaty_, *pnlAktualiacjaInfo_}, dziennik_);

    SendMessageW(Kontrolka(idk::edbHaslo), EM_SETPASSWORDCHAR, L'*', 0);
    const HWND lista = Kontrolka(idk::lstWersje);
    for (const std::string_view wersja : KatalogWersji)
        SendMessageW(lista, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(NaUtf16(wersja).c_str()));
}

std::string TfrmGlowna::Tekst(int id) const {
    const HWND kontrolka = Kontrolka(id);
    std::wstring tekst(static_cast<std::size_t>(GetWindowTextLengthW(kontrolka)) + 1, L'\0');
    tekst.resize(static_cast<std::size_t>(
        GetWindowTextW(kontrolka, tekst.data(), static_cast<int>(tekst.size()))));
    return NaUtf8(tekst);
}

void TfrmGlowna::UstawDpi(int dpi) {
    dpi_ = dpi;
    // The old font is deleted once no control has it any more.
    Czcionka stara = std::exchange(czcionka_, UtworzCzcionke(dpi));
    for (HWND dziecko = GetWindow(okno_, GW_CHILD); dziecko != nullptr;
         dziecko = GetWindow(dziecko, GW_HWNDNEXT))
        SendMessageW(dziecko, WM_SETFONT, reinterpret_cast<WPARAM>(czcionka_.get()), FALSE);
    SendMessageW(Kontrolka(idk::lstWersje), LB_SETITEMHEIGHT, 0, Skaluj(WysokoscPozycjiListy, dpi));
    stara.reset();
    UlozKontrolki();
    InvalidateRect(okno_, nullptr, TRUE);
}

void TfrmGlowna::UlozKontrolki() {
    RECT klient;
    GetClientRect(okno_, &klient);
    const auto polozenia = PolozeniaKontrolek();
    HDWP przesuniecia = BeginDeferWindowPos(static_cast<int>(polozenia.size()));
    for (const PolozenieKontrolki& kontrolka : polozenia) {
        const int id = idk::IdKontrolki(kontrolka.nazwa);
        if (id == 0) continue;  // a panel painted by the window itself
        const Prostokat p = Uloz(kontrolka, klient.right, klient.bottom, dpi_);
        if (przesuniecia != nullptr)
            przesuniecia = DeferWindowPos(przesuniecia, Kontrolka(id), nullptr, p.x, p.y,
                                          p.szerokosc, p.wysokosc, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (przesuniecia != nullptr) EndDeferWindowPos(przesuniecia);
    // The bevel of the update panel follows the window's size.
    InvalidateRect(okno_, nullptr, TRUE);
}

void TfrmGlowna::MalujPanele(HDC dc) const {
    // The update panel, where the layout puts it, with a raised one-pixel bevel.
    RECT klient;
    GetClientRect(okno_, &klient);
    const Prostokat p =
        Uloz(*ZnajdzPolozenie("pnlAktualizacja"), klient.right, klient.bottom, dpi_);
    RECT panel{p.x, p.y, p.x + p.szerokosc, p.y + p.wysokosc};
    DrawEdge(dc, &panel, BDR_RAISEDINNER, BF_RECT);
}

bool TfrmGlowna::PrzetworzWiadomosc(MSG& wiadomosc) {
    const bool doOkna = wiadomosc.hwnd == okno_ || IsChild(okno_, wiadomosc.hwnd);
    if (!doOkna) return false;
    if (szkielet_ && szkielet_->WOczekiwaniu() && wiadomosc.hwnd != Kontrolka(idk::btnZamknij)) {
        // No input acts while the server is awaited but on "Zamknij", which stops a run; the
        // frame (moving, minimising) still answers.
        const UINT m = wiadomosc.message;
        if ((m >= WM_KEYFIRST && m <= WM_KEYLAST) || (m >= WM_MOUSEFIRST && m <= WM_MOUSELAST))
            return true;
    }
    return IsDialogMessageW(okno_, &wiadomosc) != FALSE;
}

bool TfrmGlowna::UruchomObsluge(const std::function<void()>& obsluga) {
    return UruchomWGranicyBledu(obsluga,
                                [this](const std::exception& blad) { PokazBladObslugi(blad); });
}

void TfrmGlowna::PokazBladObslugi(const std::exception& blad) {
    PokazBladProgramu(komunikaty_, blad);
}

std::string TfrmGlowna::Serwer() const { return Tekst(idk::edbSerwer); }
std::string TfrmGlowna::Baza() const { return Tekst(idk::edbBaza); }
std::string TfrmGlowna::Uzytkownik() const { return Tekst(idk::edbUzytk); }
std::string TfrmGlowna::Haslo() const { return Tekst(idk::edbHaslo); }

void TfrmGlowna::UstawTekstWersji(const std::string& tekst) {
    // The line wraps inside the group (SS_EDITCONTROL breaks a word longer than the line too), so
    // the version at its end is seen whatever the names before it.
    SetWindowTextW(Kontrolka(idk::labAktualnaWersja), NaUtf16(tekst).c_str());
}

void TfrmGlowna::PokazGrupe(bool widoczna) {
    for (const int id : KontrolkiGrupyAktualizacji)
        ShowWindow(Kontrolka(id), widoczna ? SW_SHOW : SW_HIDE);
}

int TfrmGlowna::LiczbaWersji() const {
    return static_cast<int>(SendMessageW(Kontrolka(idk::lstWersje), LB_GETCOUNT, 0, 0));
}

std::string TfrmGlowna::Wersja(int indeks) const {
    const HWND lista = Kontrolka(idk::lstWersje);
    const auto dlugosc = SendMessageW(lista, LB_GETTEXTLEN, static_cast<WPARAM>(indeks), 0);
    if (dlugosc == LB_ERR) return {};
    std::wstring tekst(static_cast<std::size_t>(dlugosc) + 1, L'\0');
    SendMessageW(lista, LB_GETTEXT, static_cast<WPARAM>(indeks),
                 reinterpret_cast<LPARAM>(tekst.data()));
    tekst.resize(static_cast<std::size_t>(dlugosc));
    return NaUtf8(tekst);
}

void TfrmGlowna::btnLogujClick() { szkielet_->Loguj(); }

void TfrmGlowna::btnAktualizujClick() { szkielet_->Aktualizuj(); }

void TfrmGlowna::btnZamknijClick() {
    if (!szkielet_->WOczekiwaniu()) PostQuitMessage(0);
}

namespace {

// The controls a person acts through: shown disabled for a run's length.
// "Zamknij" stays: during a run it is the way to stop it.
constexpr int KontrolkiWejscia[] = {idk::lstWersje,    idk::edbSerwer, idk::edbBaza,
                                    idk::edbUzytk,     idk::edbHaslo,  idk::btnLoguj,
                                    idk::btnAktualizuj};

// How long the end of the Windows session waits for a stopped run to roll back: Windows ends a
// program that takes longer than about five seconds to answer WM_ENDSESSION.
constexpr DWORD CzasNaKoniecSesjiMs = 4000;

}  // namespace

void TfrmGlowna::WlaczKontrolki(bool wlaczone) {
    for (const int id : KontrolkiWejscia) EnableWindow(Kontrolka(id), wlaczone ? TRUE : FALSE);
}

void TfrmGlowna::ZglosKoniecPracy() { PostMessageW(okno_, KoniecPracy, 0, 0); }

void TfrmGlowna::UstawZegar(bool wlaczony) {
    if (wlaczony)
        SetTimer(okno_, ZegarPostepu, static_cast<UINT>(SzkieletOkna::OdstepPostepu.count()),
                 nullptr);
    else
        KillTimer(okno_, ZegarPostepu);
}

void TfrmGlowna::WstrzymajWejscie(bool wstrzymane) {
    if (wstrzymane) {
        // Disabling the control that has the keyboard would leave it nowhere: it is remembered
        // and given back at the end.
        fokusPrzedPrzebiegiem_ = GetFocus();
        WlaczKontrolki(false);
        return;
    }
    WlaczKontrolki(true);
    if (fokusPrzedPrzebiegiem_ != nullptr && IsWindow(fokusPrzedPrzebiegiem_))
        SetFocus(fokusPrzedPrzebiegiem_);
}

void TfrmGlowna::Zamknij() { PostMessageW(okno_, WM_CLOSE, 0, 0); }

void TfrmGlowna::PrzebiegRozpoczety() { pasekZadan_.Poczatek(); }

void TfrmGlowna::PrzebiegZakonczony(bool udany) {
    if (udany) pasekZadan_.Koniec();
}

void TfrmGlowna::ZakonczSesje() {
    UruchomObsluge([this] {
        PolecenieAktualizacji& polecenie = szkielet_->Polecenie();
        if (!polecenie.WTrakcie()) {
            polecenie.ZamknijNaZadanieSystemu();
            // A held log-in would keep the process until the driver gives up.
            szkielet_->ZakonczPorzucone();
            return;
        }
        polecenie.ZamknijNaZadanieSystemu();
        // The run's end, awaited here: after this message Windows ends the process.
        const DWORD koniec = GetTickCount() + CzasNaKoniecSesjiMs;
        MSG wiadomosc;
        while (static_cast<LONG>(koniec - GetTickCount()) > 0) {
            if (PeekMessageW(&wiadomosc, okno_, KoniecPracy, KoniecPracy, PM_REMOVE)) {
                szkielet_->PoPracy();
                break;
            }
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_POSTMESSAGE);
        }
    });
    // Ended by the session, the program does not wait for a message loop any more.
    PostQuitMessage(0);
}

void TfrmGlowna::NaUtworzenie() {
    UtworzKontrolki();
    UstawDpi(dpi_);
    PokazGrupe(false);
}

void TfrmGlowna::NaGraniceRozmiaru(MINMAXINFO& granice) const {
    const SIZE najmniejszy = RozmiarOkna(dpi_);
    granice.ptMinTrackSize = {najmniejszy.cx, najmniejszy.cy};
}

void TfrmGlowna::NaZmianeDpi(int dpi, const RECT& proponowany) {
    UstawDpi(dpi);
    SetWindowPos(okno_, nullptr, proponowany.left, proponowany.top,
                 proponowany.right - proponowany.left, proponowany.bottom - proponowany.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void TfrmGlowna::NaRysowanie() {
    const KontekstMalowania malowanie(okno_);
    MalujPanele(malowanie.Dc());
}

LRESULT TfrmGlowna::NaKolorEtykiety(HDC dc) {
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

bool TfrmGlowna::NaPolecenie(int id, int powiadomienie) {
    // While the server is awaited the buttons do nothing (the command refuses too), but
    // "Zamknij", which asks whether to stop a run, as closing the window does.
    if (powiadomienie != BN_CLICKED) return false;
    if (szkielet_->WOczekiwaniu()) {
        if (id == idk::btnZamknij) SendMessageW(okno_, WM_CLOSE, 0, 0);
        return false;
    }
    switch (id) {
        case idk::btnLoguj:
            UruchomObsluge([this] { btnLogujClick(); });
            return true;
        case idk::btnAktualizuj:
            UruchomObsluge([this] { btnAktualizujClick(); });
            return true;
        case idk::btnZamknij:
            UruchomObsluge([this] { btnZamknijClick(); });
            return true;
        default:
            return false;
    }
}

void TfrmGlowna::NaZamkniecie() {
    // The window closes only when FormClose ran to its end and allows it (never during a run).
    bool mozna = false;
    UruchomObsluge([&] { mozna = szkielet_->Polecenie().FormClose(); });
    if (mozna) PostQuitMessage(0);
}

bool TfrmGlowna::NaAktywacje(int stan, bool zminimalizowane) {
    // As a dialog does: the control that has the keyboard when the window loses the activation
    // (to a box, to another program) gets it back when the window is active again; the default
    // would give it to the window itself, where no key acts.
    if (stan == WA_INACTIVE) {
        const HWND fokus = GetFocus();
        if (fokus != nullptr && IsChild(okno_, fokus)) fokusAktywacji_ = fokus;
        return true;
    }
    // A window activated minimised has no control to give the keyboard to.
    if (zminimalizowane) return false;
    // One that has since been hidden or disabled hands over to the first in tab order.
    if (fokusAktywacji_ == nullptr || !IsWindow(fokusAktywacji_) ||
        !IsWindowEnabled(fokusAktywacji_) || !IsWindowVisible(fokusAktywacji_))
        fokusAktywacji_ = GetNextDlgTabItem(okno_, nullptr, FALSE);
    if (fokusAktywacji_ == nullptr || !IsWindowEnabled(fokusAktywacji_)) return false;
    SetFocus(fokusAktywacji_);
    return true;
}

void TfrmGlowna::NaZegar(UINT_PTR zegar) {
    if (zegar == ZegarPostepu) szkielet_->Tik();
}

void TfrmGlowna::NaZapytanieOKoniecSesji() {
    // The session may end: a run is stopped now, without the question, so that its roll back
    // has begun by the time WM_ENDSESSION comes.
    UruchomObsluge([this] {
        PolecenieAktualizacji& polecenie = szkielet_->Polecenie();
        if (polecenie.WTrakcie()) polecenie.ZamknijNaZadanieSystemu();
    });
}

LRESULT TfrmGlowna::Obsluz(UINT komunikat, WPARAM w, LPARAM l) {
    switch (komunikat) {
        case WM_CREATE:
            NaUtworzenie();
            return 0;
        case WM_SIZE:
            UlozKontrolki();
            return 0;
        case WM_GETMINMAXINFO:
            NaGraniceRozmiaru(*reinterpret_cast<MINMAXINFO*>(l));
            return 0;
        case WM_DPICHANGED:
            NaZmianeDpi(HIWORD(w), *reinterpret_cast<const RECT*>(l));
            return 0;
        case WM_PAINT:
            NaRysowanie();
            return 0;
        case WM_CTLCOLORSTATIC:
            return NaKolorEtykiety(reinterpret_cast<HDC>(w));
        case DM_GETDEFID:
            // "Loguj" is the default button: Enter presses it unless another button has the
            // focus (the dialog manager then presses that one).
            return MAKELRESULT(idk::btnLoguj, DC_HASDEFID);
        case WM_COMMAND:
            if (NaPolecenie(LOWORD(w), HIWORD(w))) return 0;
            break;
        case WM_CLOSE:
            NaZamkniecie();
            return 0;
        case WM_ACTIVATE:
            if (NaAktywacje(LOWORD(w), HIWORD(w) != 0)) return 0;
            break;
        case WM_TIMER:
            NaZegar(w);
            return 0;
        case WM_QUERYENDSESSION:
            NaZapytanieOKoniecSesji();
            return TRUE;
        case WM_ENDSESSION:
            if (w != FALSE) ZakonczSesje();
            return 0;
        case KoniecPracy:
            szkielet_->PoPracy();
            return 0;
        default:
            if (komunikat == PasekZadan::KomunikatPrzyciskuUtworzonego() && komunikat != 0) {
                pasekZadan_.Polacz(okno_);
                return 0;
            }
            break;
    }
    return DefWindowProcW(okno_, komunikat, w, l);
}

}  // namespace zuv
