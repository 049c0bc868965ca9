#pragma once
// The program's one window: the log-in fields, the list of versions the program carries, the
// recorded version of the chosen database, the update command and the information strip. It owns
// the program's single database connection, Conn, for its whole life.
//
// Handlers raise every failure; they run through the application's notify (UruchomObsluge), whose
// default error handler shows it while the program goes on running.

#include <QWidget>
#include <memory>
#include <string>

class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace zuv {

class OknaKomunikatow;
class PanelInformacyjny;
class Polaczenie;

class TfrmGlowna : public QWidget {
  public:
    // `komunikaty` shows the window's boxes and must outlive the window.
    explicit TfrmGlowna(OknaKomunikatow& komunikaty);
    ~TfrmGlowna() override;

    // Log-in and the recorded version.
    void Polacz();
    void Rozlacz();
    std::string OdczytajWersje();
    std::string PierwszaWersja() const;
    std::string OstatniaWersja() const;

    // The update command.
    void UstawFlageAktualizacji();
    void WykonajPolecenie(const std::string& polecenie);
    void AktualizujDoWersji(const std::string& wersja);

    // Handlers.
    void btnLogujClick();
    void btnAktualizujClick();
    void btnZamknijClick();
    void FormClose();

    Polaczenie& Conn() const { return *conn_; }

  protected:
    void resizeEvent(QResizeEvent* zdarzenie) override;
    void keyPressEvent(QKeyEvent* zdarzenie) override;
    void closeEvent(QCloseEvent* zdarzenie) override;

  private:
    void UtworzPanele();
    void UtworzGrupeLogowania();
    void UtworzGrupeAktualizacji();
    void UstawKolejnoscTabulacji();
    void PolaczZdarzenia();
    void UlozKontrolki();
    std::string Tekst(const QLineEdit* pole) const;

    OknaKomunikatow& komunikaty_;
    std::unique_ptr<Polaczenie> conn_;

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
};

}  // namespace zuv
