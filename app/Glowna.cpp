#include "app/Glowna.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProxyStyle>
#include <QPushButton>

#include "app/AplikacjaZUV.h"
#include "app/OknaKomunikatow.h"
#include "app/PanelInformacyjny.h"
#include "common/Linie.h"
#include "common/Tekst.h"
#include "common/Wyjatki.h"
#include "db/ConnectionST.h"
#include "db/PolaczenieODBC.h"
#include "packages/PakietyZasoby.h"
#include "packages/PrzetwarzanieSTR.h"
#include "versions/KatalogWersji.h"
#include "versions/ObslugaWersji.h"

namespace zuv {

namespace {

// The window's client area; the design's outer size of 650 x 550 includes the frame.
constexpr int SzerokoscKlienta = 642;
constexpr int WysokoscKlienta = 523;
constexpr int WysokoscPanelu = 41;

// Shows every character of the password field as "*".
class StylHasla : public QProxyStyle {
  public:
    int styleHint(StyleHint podpowiedz, const QStyleOption* opcja, const QWidget* widget,
                  QStyleHintReturn* wynik) const override {
        if (podpowiedz == SH_LineEdit_PasswordCharacter) return '*';
        return QProxyStyle::styleHint(podpowiedz, opcja, widget, wynik);
    }
};

template <typename Kontrolka>
Kontrolka* Utworz(QWidget* rodzic, const char* nazwa, int x, int y, int szerokosc, int wysokosc) {
    auto* kontrolka = new Kontrolka(rodzic);
    kontrolka->setObjectName(QString::fromLatin1(nazwa));
    kontrolka->setGeometry(x, y, szerokosc, wysokosc);
    return kontrolka;
}

QLabel* EtykietaDoPrawej(QWidget* rodzic, const char* nazwa, const char* tekst, int prawaKrawedz,
                         int gora) {
    auto* etykieta = Utworz<QLabel>(rodzic, nazwa, 0, gora, prawaKrawedz, 13);
    etykieta->setText(QString::fromUtf8(tekst));
    etykieta->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return etykieta;
}

QPushButton* Przycisk(QWidget* rodzic, const char* nazwa, const char* tekst, int x, int y) {
    auto* przycisk = Utworz<QPushButton>(rodzic, nazwa, x, y, 75, 25);
    przycisk->setText(QString::fromUtf8(tekst));
    // Enter on a button that has the focus presses that button.
    przycisk->setAutoDefault(true);
    return przycisk;
}

}  // namespace

TfrmGlowna::TfrmGlowna(OknaKomunikatow& komunikaty)
    : komunikaty_(komunikaty), conn_(std::make_unique<PolaczenieODBC>()) {
    setObjectName(QStringLiteral("frmGlowna"));
    setWindowTitle(QStringLiteral("Zbiorcza aktualizacja systemu ZUV 8.1 - 11.5"));
    QFont czcionka(QStringLiteral("MS Sans Serif"));
    czcionka.setStyleHint(QFont::SansSerif);
    czcionka.setPixelSize(11);
    setFont(czcionka);

    UtworzPanele();
    UtworzGrupeLogowania();
    UtworzGrupeAktualizacji();
    UstawKolejnoscTabulacji();
    PolaczZdarzenia();

    resize(SzerokoscKlienta, WysokoscKlienta);
    setMinimumSize(SzerokoscKlienta, WysokoscKlienta);
    move(322, 124);  // where designed, not centred
    edbSerwer_->setFocus();
}

TfrmGlowna::~TfrmGlowna() {
    // Closing rolls back first. A destructor cannot report a failure; if the roll back fails, the
    // session still ends with the connection handle, and the server rolls back what was open.
    try {
        Rozlacz();
    } catch (const std::exception&) {
    }
}

void TfrmGlowna::UtworzPanele() {
    pnlAktualizacja_ = Utworz<QFrame>(this, "pnlAktualizacja", 0, 0, 642, 482);
    pnlAktualizacja_->setFrameStyle(QFrame::Panel | QFrame::Raised);
    pnlAktualizacja_->setLineWidth(1);

    pnlAktualiacjaInfo_ = new PanelInformacyjny(pnlAktualizacja_);
    pnlAktualiacjaInfo_->setObjectName(QStringLiteral("pnlAktualiacjaInfo"));
    pnlAktualiacjaInfo_->setGeometry(1, 1, 640, 20);

    labWersje_ = Utworz<QLabel>(pnlAktualizacja_, "labWersje", 8, 24, 121, 13);
    labWersje_->setText(QStringLiteral("Dostępne wersje:"));

    lstWersje_ = Utworz<QListWidget>(pnlAktualizacja_, "lstWersje", 8, 40, 121, 436);
    lstWersje_->setSelectionMode(QAbstractItemView::SingleSelection);
    lstWersje_->setSortingEnabled(false);
    lstWersje_->setUniformItemSizes(true);
    for (const std::string_view wersja : KatalogWersji) {
        auto* pozycja = new QListWidgetItem(
            QString::fromLatin1(wersja.data(), static_cast<qsizetype>(wersja.size())));
        pozycja->setSizeHint(QSize(0, 13));
        lstWersje_->addItem(pozycja);
    }

    pnlBtns_ = Utworz<QFrame>(this, "pnlBtns", 0, 482, 642, WysokoscPanelu);
    pnlBtns_->setFrameStyle(QFrame::NoFrame);
    btnZamknij_ = Przycisk(pnlBtns_, "btnZamknij", "Zamknij", 561, 8);
}

void TfrmGlowna::UtworzGrupeLogowania() {
    gbxLogowanie_ = Utworz<QGroupBox>(pnlAktualizacja_, "gbxLogowanie", 136, 24, 369, 153);
    gbxLogowanie_->setTitle(QStringLiteral("Logowanie"));

    EtykietaDoPrawej(gbxLogowanie_, "labSerwer", "Serwer:", 92, 28);
    EtykietaDoPrawej(gbxLogowanie_, "labBaza", "Baza:", 92, 52);
    EtykietaDoPrawej(gbxLogowanie_, "labUzytk", "Użytkownik:", 92, 76);
    EtykietaDoPrawej(gbxLogowanie_, "labHaslo", "Hasło:", 92, 100);

    edbSerwer_ = Utworz<QLineEdit>(gbxLogowanie_, "edbSerwer", 104, 24, 121, 21);
    edbBaza_ = Utworz<QLineEdit>(gbxLogowanie_, "edbBaza", 104, 48, 121, 21);
    edbUzytk_ = Utworz<QLineEdit>(gbxLogowanie_, "edbUzytk", 104, 72, 121, 21);
    edbUzytk_->setText(QStringLiteral("sa"));
    edbHaslo_ = Utworz<QLineEdit>(gbxLogowanie_, "edbHaslo", 104, 96, 121, 21);
    edbHaslo_->setEchoMode(QLineEdit::Password);
    auto* stylHasla = new StylHasla;
    stylHasla->setParent(edbHaslo_);
    edbHaslo_->setStyle(stylHasla);

    btnLoguj_ = Przycisk(gbxLogowanie_, "btnLoguj", "Loguj", 264, 96);
}

void TfrmGlowna::UtworzGrupeAktualizacji() {
    gbxAktualizacja_ = Utworz<QGroupBox>(pnlAktualizacja_, "gbxAktualizacja", 136, 184, 369, 145);
    gbxAktualizacja_->setTitle(QStringLiteral("Aktualizacja"));
    gbxAktualizacja_->hide();

    labAktualnaWersja_ = Utworz<QLabel>(gbxAktualizacja_, "labAktualnaWersja", 24, 40, 0, 0);
    labAktualnaWersja_->setText(QStringLiteral("labAktualnaWersja"));
    labAktualnaWersja_->adjustSize();

    btnAktualizuj_ = Przycisk(gbxAktualizacja_, "btnAktualizuj", "Aktualizuj", 264, 104);
}

void TfrmGlowna::UstawKolejnoscTabulacji() {
    // Log-in fields and "Loguj", then "Aktualizuj", the catalogue and "Zamknij".
    const QWidget* kolejnosc[] = {edbSerwer_, edbBaza_,       edbUzytk_,  edbHaslo_,
                                  btnLoguj_,  btnAktualizuj_, lstWersje_, btnZamknij_};
    for (std::size_t i = 1; i < std::size(kolejnosc); ++i)
        setTabOrder(const_cast<QWidget*>(kolejnosc[i - 1]), const_cast<QWidget*>(kolejnosc[i]));
    pnlAktualiacjaInfo_->setFocusPolicy(Qt::NoFocus);
}

void TfrmGlowna::PolaczZdarzenia() {
    connect(btnLoguj_, &QPushButton::clicked, this,
            [this] { UruchomObsluge(this, [this] { btnLogujClick(); }); });
    connect(btnAktualizuj_, &QPushButton::clicked, this,
            [this] { UruchomObsluge(this, [this] { btnAktualizujClick(); }); });
    connect(btnZamknij_, &QPushButton::clicked, this,
            [this] { UruchomObsluge(this, [this] { btnZamknijClick(); }); });
}

void TfrmGlowna::resizeEvent(QResizeEvent* zdarzenie) {
    QWidget::resizeEvent(zdarzenie);
    UlozKontrolki();
}

void TfrmGlowna::UlozKontrolki() {
    // The button panel is docked to the bottom, the update panel fills the rest; the catalogue
    // follows the height and "Zamknij" keeps to the bottom right corner.
    const int szerokosc = width();
    const int wysokosc = height();
    pnlBtns_->setGeometry(0, wysokosc - WysokoscPanelu, szerokosc, WysokoscPanelu);
    pnlAktualizacja_->setGeometry(0, 0, szerokosc, wysokosc - WysokoscPanelu);
    pnlAktualiacjaInfo_->setGeometry(1, 1, szerokosc - 2, 20);
    lstWersje_->setGeometry(8, 40, 121, pnlAktualizacja_->height() - 40 - 6);
    btnZamknij_->move(szerokosc - (SzerokoscKlienta - 561), 8);
}

void TfrmGlowna::keyPressEvent(QKeyEvent* zdarzenie) {
    // "Loguj" is the window's default button: Enter presses it unless another button has the
    // focus (a focused button takes Enter itself).
    if (zdarzenie->key() == Qt::Key_Return || zdarzenie->key() == Qt::Key_Enter) {
        if (!qobject_cast<QPushButton*>(QApplication::focusWidget())) {
            btnLoguj_->click();
            return;
        }
    }
    QWidget::keyPressEvent(zdarzenie);
}

void TfrmGlowna::closeEvent(QCloseEvent* zdarzenie) {
    // The window closes only when FormClose ran to its end.
    if (UruchomObsluge(this, [this] { FormClose(); }))
        zdarzenie->accept();
    else
        zdarzenie->ignore();
}

std::string TfrmGlowna::Tekst(const QLineEdit* pole) const { return pole->text().toStdString(); }

void TfrmGlowna::Rozlacz() {
    if (conn_->Otwarte()) conn_->Zamknij();
}

void TfrmGlowna::Polacz() {
    Rozlacz();
    const std::string haslo = Tekst(edbHaslo_);
    const std::string uzytkownik = Tekst(edbUzytk_);
    const std::string baza = Tekst(edbBaza_);
    const std::string serwer = Tekst(edbSerwer_);
    conn_->UstawConnectionString(UtworzConnectionString(serwer, baza, uzytkownik, haslo, "admin"));
    conn_->Otworz();
}

std::string TfrmGlowna::OdczytajWersje() {
    const WynikZapytania wynik =
        conn_->WykonajZRekordami("select wartosc from konfig_st where nazwa = 'TERVO_WERSJA'");
    if (wynik.liczbaRekordow != 1)
        throw EDatabaseError(Formatuj("Odczyt wersji systemu ZUV dla bazy %s.%s nie powiódł się.",
                                      {Tekst(edbSerwer_), Tekst(edbBaza_)}));
    const WartoscPola& wartosc = *wynik.pierwszePole;
    if (const auto* tekst = std::get_if<std::string>(&wartosc)) return *tekst;
    if (const auto* liczba = std::get_if<std::int64_t>(&wartosc)) return std::to_string(*liczba);
    return {};
}

std::string TfrmGlowna::PierwszaWersja() const { return lstWersje_->item(0)->text().toStdString(); }

std::string TfrmGlowna::OstatniaWersja() const {
    return lstWersje_->item(lstWersje_->count() - 1)->text().toStdString();
}

void TfrmGlowna::btnLogujClick() {
    gbxAktualizacja_->hide();
    Polacz();
    const std::string serwer = Tekst(edbSerwer_);
    const std::string baza = Tekst(edbBaza_);
    const std::string wersja = OdczytajWersje();
    labAktualnaWersja_->setText(
        QString::fromStdString(Formatuj("Wersja bazy %s.%s: %s", {serwer, baza, wersja})));
    labAktualnaWersja_->adjustSize();
    gbxAktualizacja_->show();
}

void TfrmGlowna::btnZamknijClick() { QCoreApplication::exit(0); }

void TfrmGlowna::FormClose() { Rozlacz(); }

void TfrmGlowna::btnAktualizujClick() {
    using namespace StylKomunikatu;
    const std::string aktualna = OdczytajWersje();
    const std::string ostatnia = OstatniaWersja();
    if (WersjaWiekszaLubRowna(aktualna, ostatnia)) {
        komunikaty_.Pokaz(
            Formatuj("Aktualna wersja %s jest większa lub równa maksymalnej dostępnej wersji %s.",
                     {aktualna, ostatnia}),
            "Ostrzeżenie", Ok | IkonaWykrzyknik);
        return;
    }
    const std::string pierwsza = PierwszaWersja();
    if (!WersjaWiekszaLubRowna(aktualna, pierwsza)) {
        komunikaty_.Pokaz(
            Formatuj(
                "Aktualna wersja %s musi być większa lub równa minimalnej dostępnej wersji %s.",
                {aktualna, pierwsza}),
            "Ostrzeżenie", Ok | IkonaWykrzyknik);
        return;
    }
    const std::string pytanie = Formatuj("Wykonać aktualizację bazy %s.%s do wersji %s ?",
                                         {Tekst(edbSerwer_), Tekst(edbBaza_), ostatnia});
    if (komunikaty_.Pokaz(pytanie, "Potwierdź", TakNie | IkonaInformacja) !=
        OdpowiedzKomunikatu::Tak)
        return;

    UstawFlageAktualizacji();
    const int liczba = lstWersje_->count();
    for (int i = 0; i < liczba; ++i) {
        const std::string wpis = lstWersje_->item(i)->text().toStdString();
        if (WersjaWiekszaLubRowna(wpis, aktualna) && wpis != aktualna) AktualizujDoWersji(wpis);
    }
    pnlAktualiacjaInfo_->UstawTekst("");
    komunikaty_.Pokaz("Zakończono aktualizację.", "Informacja", Ok | IkonaInformacja);
}

void TfrmGlowna::UstawFlageAktualizacji() {
    WykonajPolecenie(
        "IF EXISTS (SELECT 'X' FROM TEMPDB..SYSOBJECTS WHERE ID = "
        "OBJECT_ID('TEMPDB..#WA_OPCJE_TMP')) "
        "TRUNCATE TABLE #WA_OPCJE_TMP ELSE CREATE TABLE #WA_OPCJE_TMP( NAZWA    VARCHAR(50)    NOT "
        "NULL, "
        "WARTOSC  VARCHAR(8000)  NOT NULL, PRIMARY KEY (NAZWA))");
    WykonajPolecenie("INSERT INTO #WA_OPCJE_TMP(NAZWA, WARTOSC) VALUES('ZUV_AKTUALIZACJA', 'T')");
}

void TfrmGlowna::WykonajPolecenie(const std::string& polecenie) {
    conn_->WykonajBezRekordow(polecenie, Polaczenie::DomyslnyLimitCzasuPolecenia);
}

void TfrmGlowna::AktualizujDoWersji(const std::string& wersja) {
    Wersja czesci;
    if (!ParsujWersje(wersja, czesci))
        throw Exception(Formatuj("Niepoprawny numer wersji: \"%s\".", {wersja}));
    const std::string nazwa =
        Formatuj("zuv_%d_%d_%d_%d", {czesci[0], czesci[1], czesci[2], czesci[3]});
    ListaLinii linie;
    WczytajZasob(nazwa, linie);
    TPrzetwarzanieSTR::WykonajSkrypt(conn_.get(), linie, true, pnlAktualiacjaInfo_, wersja);
}

}  // namespace zuv
