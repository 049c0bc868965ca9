#pragma once
// The program's one window on Windows, made of the system's own controls: the log-in fields, the
// list of versions the program carries, the recorded version of the chosen database, the update
// command and the information strip. The controls lie where designed at 96 dots per inch and
// scale with the monitor's. What the window decides is done by PolecenieAktualizacji; the window
// keeps the controls, their layout and keys, and runs the update off its own thread so that its
// message loop goes on turning (see PolecenieAktualizacji.h).

#include <windows.h>

#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "app/InterfejsyOkna.h"
#include "app/PolecenieAktualizacji.h"
#include "app/win32/OknaKomunikatowWin32.h"
#include "app/win32/PanelInformacyjnyWin32.h"
#include "app/win32/PasekZadan.h"
#include "app/win32/ProceduraOkna.h"
#include "app/win32/UchwytyWin32.h"

namespace zuv {

class TfrmGlowna : private PolaLogowania, private GrupaAktualizacji, private ListaWersji {
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
    LRESULT Obsluz(UINT komunikat, WPARAM w, LPARAM l);
    // The default error handler: the error in the program's stop box.
    void PokazBladObslugi(const std::exception& blad);

    void UtworzKontrolki();
    HWND Kontrolka(int id) const { return GetDlgItem(okno_, id); }
    std::string Tekst(int id) const;
    void UstawDpi(int dpi);
    void UlozKontrolki();
    void MalujPanele(HDC dc) const;
    void RozpocznijPrzebieg();
    void WlaczKontrolki(bool wlaczone);
    // `praca` on a thread of its own while the window's loop goes on turning, input kept away;
    // then, back on the window's thread, `potem` through the error boundary.
    void WTle(std::function<void()> praca, std::function<void()> potem);
    void PoPracyWTle();
    // The Windows session ends (WM_ENDSESSION): a run is stopped and awaited for a few seconds,
    // the connection closed, the message loop ended.
    void ZakonczSesje();
    void PrzesunDoObszaruPracy();
    // Runs a handler so that what it throws reaches the default error handler; gives whether it
    // ran to its end.
    template <typename Obsluga>
    bool UruchomObsluge(Obsluga obsluga);

    // PolaLogowania, GrupaAktualizacji, ListaWersji
    std::string Serwer() const override;
    std::string Baza() const override;
    std::string Uzytkownik() const override;
    std::string Haslo() const override;
    void UstawTekstWersji(const std::string& tekst) override;
    void PokazGrupe(bool widoczna) override;
    int LiczbaWersji() const override;
    std::string Wersja(int indeks) const override;

    HWND okno_ = nullptr;
    OknaKomunikatowWin32& komunikaty_;
    Polaczenie& conn_;
    Dziennik* dziennik_;
    PasekZadan pasekZadan_;
    std::unique_ptr<PanelInformacyjnyWin32> pnlAktualiacjaInfo_;
    std::unique_ptr<PolecenieAktualizacji> polecenie_;  // made once the controls exist
    std::thread przebieg_;
    std::function<void()> potem_;
    bool koniecOdlozony_ = false;  // the work's end waits for the unanswered-stop box to close
    HWND fokusPrzedPrzebiegiem_ = nullptr;
    HWND fokusAktywacji_ = nullptr;  // the control that had the keyboard when last deactivated
    int dpi_ = 96;
    Czcionka czcionka_;
};

}  // namespace zuv
