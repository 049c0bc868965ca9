#pragma once
// The program's one window on Qt: the log-in fields, the list of versions the program carries,
// the recorded version of the chosen database, the update command and the information strip.
// What the window decides is done by PolecenieAktualizacji; the window keeps the controls, their
// layout and keys, and runs the update off its own thread so that its event loop goes on turning
// (see PolecenieAktualizacji.h).
//
// Handlers raise every failure; they run through the application's notify (UruchomObsluge), whose
// default error handler shows it while the program goes on running.

#include <QPointer>
#include <QWidget>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/InterfejsyOkna.h"
#include "app/PolecenieAktualizacji.h"

class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTimer;

namespace zuv {

class PanelInformacyjny;

class TfrmGlowna : public QWidget,
                   private PolaLogowania,
                   private GrupaAktualizacji,
                   private ListaWersji {
  public:
    // `komunikaty` shows the window's boxes and `conn` is the program's connection; both must
    // outlive the window.
    // `dziennik`: the run journal the command writes to; none when null.
    TfrmGlowna(OknaKomunikatow& komunikaty, Polaczenie& conn, Dziennik* dziennik = nullptr);
    ~TfrmGlowna() override;

    std::string PierwszaWersja() const { return polecenie_->PierwszaWersja(); }
    std::string OstatniaWersja() const { return polecenie_->OstatniaWersja(); }
    // Whether an update run is going on.
    bool WTrakcieAktualizacji() const noexcept { return polecenie_->WTrakcie(); }
    // Whether the server is being awaited: a log-in, a version read or a run.
    bool WOczekiwaniu() const noexcept { return przebieg_.joinable(); }

    // Handlers.
    void btnLogujClick();
    void btnAktualizujClick();
    void btnZamknijClick();
    // The system asks the program to end (Ctrl+C, SIGTERM): the window closes now, or once a run
    // is stopped and rolled back, with no question.
    void ZamknijNaZadanieSystemu();
    // What ends the process when the administrator chooses to leave a stop the server does not
    // answer (std::_Exit by default; tests put their own).
    void UstawZakonczenieProcesu(std::function<void()> zakoncz) {
        zakonczProces_ = std::move(zakoncz);
    }

  protected:
    void resizeEvent(QResizeEvent* zdarzenie) override;
    void keyPressEvent(QKeyEvent* zdarzenie) override;
    void closeEvent(QCloseEvent* zdarzenie) override;
    void showEvent(QShowEvent* zdarzenie) override;
    bool eventFilter(QObject* obiekt, QEvent* zdarzenie) override;

  private:
    void UtworzPanele();
    void UtworzGrupeLogowania();
    void UtworzGrupeAktualizacji();
    void UstawKolejnoscTabulacji();
    void PolaczZdarzenia();
    void UlozKontrolki();
    void UlozWersje();
    void RozpocznijPrzebieg();
    // `praca` on a thread of its own while the window's loop goes on turning, input kept away;
    // then, back on the window's thread, `potem` through the error boundary.
    void WTle(std::function<void()> praca, std::function<void()> potem);
    void PoPracyWTle();

    // PolaLogowania, GrupaAktualizacji, ListaWersji
    std::string Serwer() const override;
    std::string Baza() const override;
    std::string Uzytkownik() const override;
    std::string Haslo() const override;
    void UstawTekstWersji(const std::string& tekst) override;
    void PokazGrupe(bool widoczna) override;
    int LiczbaWersji() const override;
    std::string Wersja(int indeks) const override;

    QFrame* pnlAktualizacja_ = nullptr;
    PanelInformacyjny* pnlAktualiacjaInfo_ = nullptr;
    QLabel* labWersje_ = nullptr;
    QListWidget* lstWersje_ = nullptr;
    QGroupBox* gbxLogowanie_ = nullptr;
    QLineEdit* edbSerwer_ = nullptr;
    QLineEdit* edbBaza_ = nullptr;
    QLineEdit* edbUzytk_ = nullptr;
    QLineEdit* edbHaslo_ = nullptr;
    QPushButton* btnLoguj_ = nullptr;
    QGroupBox* gbxAktualizacja_ = nullptr;
    QLabel* labAktualnaWersja_ = nullptr;
    QPushButton* btnAktualizuj_ = nullptr;
    QFrame* pnlBtns_ = nullptr;
    QPushButton* btnZamknij_ = nullptr;
    QTimer* zegarPostepu_ = nullptr;
    QString tekstWersji_;

    std::unique_ptr<PolecenieAktualizacji> polecenie_;  // made once the controls exist
    std::thread przebieg_;
    std::function<void()> potem_;
    bool koniecOdlozony_ = false;  // the work's end waits for the unanswered-stop box to close
    // The controls shown as disabled during a run, and the one that had the keyboard before it.
    std::vector<QPointer<QWidget>> wylaczone_;
    QPointer<QWidget> fokusPrzedPrzebiegiem_;
    bool pokazane_ = false;
    std::function<void()> zakonczProces_ = [] { std::_Exit(1); };
};

}  // namespace zuv
