#pragma once
// The program's one window on Qt: the log-in fields, the list of versions the program carries,
// the recorded version of the chosen database, the update command and the information strip.
// What the window decides is done by PolecenieAktualizacji, and what every window does around it
// by SzkieletOkna; the window keeps the controls and their keys, and gives the skeleton its
// event loop, clock and error boundary.
//
// Handlers raise every failure; they run through the application's notify (UruchomObsluge), whose
// default error handler shows it while the program goes on running.

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/InterfejsyOkna.h"
#include "app/okno/SzkieletOkna.h"

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
                   private ListaWersji,
                   private OknoSzkieletu {
  public:
    // `komunikaty` shows the window's boxes and `conn` is the program's connection; both must
    // outlive the window.
    // `dziennik`: the run journal the command writes to; none when null.
    TfrmGlowna(OknaKomunikatow& komunikaty, Polaczenie& conn, Dziennik* dziennik = nullptr);
    ~TfrmGlowna() override;

    std::string PierwszaWersja() const { return szkielet_->Polecenie().PierwszaWersja(); }
    std::string OstatniaWersja() const { return szkielet_->Polecenie().OstatniaWersja(); }
    // Whether an update run is going on.
    bool WTrakcieAktualizacji() const noexcept { return szkielet_->Polecenie().WTrakcie(); }
    // Whether the server is being awaited: a log-in, a version read or a run.
    bool WOczekiwaniu() const noexcept { return szkielet_->WOczekiwaniu(); }

    // Handlers.
    void btnLogujClick();
    void btnAktualizujClick();
    void btnZamknijClick();
    // The system asks the program to end (Ctrl+C, SIGTERM): the window closes now, or once a run
    // is stopped and rolled back, with no question.
    void ZamknijNaZadanieSystemu();
    // What ends the process when the administrator chooses to leave a stop the server does not
    // answer (std::_Exit by default; tests put their own).
    void UstawZakonczenieProcesu(std::function<void(int)> zakoncz) {
        szkielet_->UstawZakonczenieProcesu(std::move(zakoncz));
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

    std::unique_ptr<SzkieletOkna> szkielet_;  // made once the controls exist
    // The controls shown as disabled during a run, and the one that had the keyboard before it.
    std::vector<QPointer<QWidget>> wylaczone_;
    QPointer<QWidget> fokusPrzedPrzebiegiem_;
    bool pokazane_ = false;
};

}  // namespace zuv
