#pragma once
// The program's one window on Windows, made of the system's own controls: the log-in fields, the
// list of versions the program carries, the recorded version of the chosen database, the update
// command and the information strip. The controls lie where designed at 96 dots per inch and
// scale with the monitor's. What the window decides is done by PolecenieAktualizacji; the window
// keeps the controls and their keys, and gives the window skeleton (SzkieletOkna) its message
// loop, clock and error boundary.

#include <windows.h>

#include <exception>
#include <functional>
#include <memory>
#include <string>

#include "app/InterfejsyOkna.h"
#include "app/okno/SzkieletOkna.h"
#include "app/win32/OknaKomunikatowWin32.h"
#include "app/win32/PanelInformacyjnyWin32.h"
#include "app/win32/PasekZadan.h"
#include "app/win32/ProceduraOkna.h"
#include "app/win32/UchwytyWin32.h"

namespace zuv {

class TfrmGlowna : private PolaLogowania,
                   private GrupaAktualizacji,
                   private ListaWersji,
                   private OknoSzkieletu {
  public:
    static void ZarejestrujKlase(HINSTANCE instancja);

    // Creates the window (not yet shown). `komunikaty` shows every box of the program and `conn`
    // is the program's connection; both must outlive the window.
    // `dziennik`: the run journal the command writes to; none when null.
    TfrmGlowna(HINSTANCE instancja, OknaKomunikatowWin32& komunikaty, Polaczenie& conn,
               Dziennik* dziennik = nullptr);
    // Waits for a run still going on, then closes the connection.
    ~TfrmGlowna() override;
    TfrmGlowna(const TfrmGlowna&) = delete;
    TfrmGlowna& operator=(const TfrmGlowna&) = delete;

    HWND Uchwyt() const { return okno_; }
    // Gives true when the message was the window's keyboard handling (tab order, Enter for the
    // default button) or input that a running update drops; the loop then does not dispatch it.
    bool PrzetworzWiadomosc(MSG& wiadomosc);

    // Handlers.
    void btnLogujClick();
    void btnAktualizujClick();
    void btnZamknijClick();

  private:
    friend class ProceduraOkna<TfrmGlowna>;
    // Gives each message to its handler below; what a handler leaves goes to DefWindowProcW.
    LRESULT Obsluz(UINT komunikat, WPARAM w, LPARAM l);
    // One handler a message. Those that give a bool give false for a message they leave to the
    // system's default handling.
    void NaUtworzenie();                                 // WM_CREATE
    void NaGraniceRozmiaru(MINMAXINFO& granice) const;   // WM_GETMINMAXINFO
    void NaZmianeDpi(int dpi, const RECT& proponowany);  // WM_DPICHANGED
    void NaRysowanie();                                  // WM_PAINT
    static LRESULT NaKolorEtykiety(HDC dc);              // WM_CTLCOLORSTATIC: the brush
    bool NaPolecenie(int id, int powiadomienie);         // WM_COMMAND
    void NaZamkniecie();                                 // WM_CLOSE
    bool NaAktywacje(int stan, bool zminimalizowane);    // WM_ACTIVATE
    void NaZegar(UINT_PTR zegar);                        // WM_TIMER
    void NaZapytanieOKoniecSesji();                      // WM_QUERYENDSESSION
    // The default error handler: the error in the program's stop box.
    void PokazBladObslugi(const std::exception& blad);

    void UtworzKontrolki();
    HWND Kontrolka(int id) const { return GetDlgItem(okno_, id); }
    std::string Tekst(int id) const;
    void UstawDpi(int dpi);
    void UlozKontrolki();
    void MalujPanele(HDC dc) const;
    void WlaczKontrolki(bool wlaczone);
    // The Windows session ends (WM_ENDSESSION): a run is stopped and awaited for a few seconds,
    // the connection closed, the message loop ended.
    void ZakonczSesje();
    void PrzesunDoObszaruPracy();

    // PolaLogowania, GrupaAktualizacji, ListaWersji
    std::string Serwer() const override;
    std::string Baza() const override;
    std::string Uzytkownik() const override;
    std::string Haslo() const override;
    void UstawTekstWersji(const std::string& tekst) override;
    void PokazGrupe(bool widoczna) override;
    int LiczbaWersji() const override;
    std::string Wersja(int indeks) const override;
    // OknoSzkieletu
    void ZglosKoniecPracy() override;
    void UstawZegar(bool wlaczony) override;
    void WstrzymajWejscie(bool wstrzymane) override;
    bool UruchomObsluge(const std::function<void()>& obsluga) override;
    void Zamknij() override;
    void PrzebiegRozpoczety() override;
    void PrzebiegZakonczony(bool udany) override;

    HWND okno_ = nullptr;
    OknaKomunikatowWin32& komunikaty_;
    Polaczenie& conn_;
    Dziennik* dziennik_;
    PasekZadan pasekZadan_;
    std::unique_ptr<PanelInformacyjnyWin32> pnlAktualiacjaInfo_;
    std::unique_ptr<SzkieletOkna> szkielet_;  // made once the controls exist
    HWND fokusPrzedPrzebiegiem_ = nullptr;
    HWND fokusAktywacji_ = nullptr;  // the control that had the keyboard when last deactivated
    int dpi_ = 96;
    Czcionka czcionka_;
};

}  // namespace zuv
