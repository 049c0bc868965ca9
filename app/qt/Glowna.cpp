#include "app/qt/Glowna.h"

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
#include <QScreen>
#include <QShowEvent>
#include <QTimer>
#include <algorithm>
#include <utility>

#include "app/qt/AplikacjaZUV.h"
#include "app/qt/PanelInformacyjny.h"
#include "app/qt/ZawijanieTekstu.h"
#include "versions/KatalogWersji.h"

namespace zuv {

namespace {

// The window's client area; the design's outer size of 650 x 550 includes the frame.
constexpr int SzerokoscKlienta = 642;
constexpr int WysokoscKlienta = 523;
constexpr int WysokoscPanelu = 41;

// The version line starts at 24, 40 in its group and wraps before the group's right edge.
constexpr int LewaWersji = 24;
constexpr int GoraWersji = 40;
constexpr int PrawyMarginesWersji = 8;

// How often the strip is brought up to date during a run: the screen needs no more.
constexpr int OdstepPostepuMs = 40;

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

bool JestWejsciem(QEvent::Type typ) {
    switch (typ) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
            return true;
        default:
            return false;
    }
}

}  // namespace

TfrmGlowna::TfrmGlowna(OknaKomunikatow& komunikaty, Polaczenie& conn, Dziennik* dziennik) {
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
    polecenie_ = std::make_unique<PolecenieAktualizacji>(
        conn, WidokOkna{*this, *this, *this, komunikaty, *pnlAktualiacjaInfo_}, dziennik);
    PolaczZdarzenia();

    resize(SzerokoscKlienta, WysokoscKlienta);
    setMinimumSize(SzerokoscKlienta, WysokoscKlienta);
    move(322, 124);  // where designed, not centred
    edbSerwer_->setFocus();
}

TfrmGlowna::~TfrmGlowna() {
    // A run cannot be cut short: the program waits for it before the connection is closed.
    if (przebieg_.joinable()) przebieg_.join();
    qApp->removeEventFilter(this);
    // Closing rolls back first. A destructor cannot report a failure; if the roll back fails, the
    // session still ends with the connection handle, and the server rolls back what was open.
    try {
        polecenie_->Rozlacz();
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

    zegarPostepu_ = new QTimer(this);
    zegarPostepu_->setInterval(OdstepPostepuMs);
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

    labAktualnaWersja_ =
        Utworz<QLabel>(gbxAktualizacja_, "labAktualnaWersja", LewaWersji, GoraWersji, 0, 0);
    labAktualnaWersja_->setTextFormat(Qt::PlainText);
    UstawTekstWersji("labAktualnaWersja");

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
    connect(zegarPostepu_, &QTimer::timeout, this, [this] {
        polecenie_->PokazPostep();
        if (polecenie_->SprawdzPrzerwanie()) zakonczProces_();
        // The run ended while the box about an unanswered stop was open: its end now.
        if (koniecOdlozony_ && !polecenie_->PytanieOPrzerwanieOtwarte()) {
            koniecOdlozony_ = false;
            PoPracyWTle();
        }
    });
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

void TfrmGlowna::UlozWersje() {
    // A long server or database name would push the version past the group's edge: the line
    // wraps inside the group instead, so the version at its end is always seen.
    const int szerokosc = gbxAktualizacja_->width() - LewaWersji - PrawyMarginesWersji;
    const QStringList linie =
        ZawinTekst(tekstWersji_, szerokosc, labAktualnaWersja_->fontMetrics());
    labAktualnaWersja_->setText(linie.join(QLatin1Char('\n')));
    labAktualnaWersja_->adjustSize();
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

void TfrmGlowna::showEvent(QShowEvent* zdarzenie) {
    QWidget::showEvent(zdarzenie);
    if (std::exchange(pokazane_, true)) return;
    // The designed position where it fits; otherwise (a small screen, a large scale) the window
    // is moved into the screen's available area, its top left corner kept visible first.
    const QScreen* ekran = screen();
    if (ekran == nullptr) return;
    const QRect dostepny = ekran->availableGeometry();
    const QRect ramka = frameGeometry();
    if (dostepny.contains(ramka)) return;
    const int x =
        std::max(dostepny.left(), std::min(ramka.left(), dostepny.right() + 1 - ramka.width()));
    const int y =
        std::max(dostepny.top(), std::min(ramka.top(), dostepny.bottom() + 1 - ramka.height()));
    move(x, y);
}

void TfrmGlowna::closeEvent(QCloseEvent* zdarzenie) {
    // The window closes only when FormClose ran to its end and allows it (never during a run).
    bool mozna = false;
    UruchomObsluge(this, [&] { mozna = polecenie_->FormClose(); });
    if (mozna)
        zdarzenie->accept();
    else
        zdarzenie->ignore();
}

bool TfrmGlowna::eventFilter(QObject* obiekt, QEvent* zdarzenie) {
    // Installed only during a run: input meant for this window is dropped, so no button, key or
    // click acts until the run ends. Painting, moving and the window manager's requests go on.
    // "Zamknij" alone stays: it stops the run.
    if (JestWejsciem(zdarzenie->type()) && obiekt->isWidgetType() && obiekt != btnZamknij_ &&
        static_cast<QWidget*>(obiekt)->window() == this)
        return true;
    return QWidget::eventFilter(obiekt, zdarzenie);
}

std::string TfrmGlowna::Serwer() const { return edbSerwer_->text().toStdString(); }
std::string TfrmGlowna::Baza() const { return edbBaza_->text().toStdString(); }
std::string TfrmGlowna::Uzytkownik() const { return edbUzytk_->text().toStdString(); }
std::string TfrmGlowna::Haslo() const { return edbHaslo_->text().toStdString(); }

void TfrmGlowna::UstawTekstWersji(const std::string& tekst) {
    tekstWersji_ = QString::fromStdString(tekst);
    UlozWersje();
}

void TfrmGlowna::PokazGrupe(bool widoczna) { gbxAktualizacja_->setVisible(widoczna); }

int TfrmGlowna::LiczbaWersji() const { return lstWersje_->count(); }

std::string TfrmGlowna::Wersja(int indeks) const {
    return lstWersje_->item(indeks)->text().toStdString();
}

void TfrmGlowna::btnLogujClick() {
    if (polecenie_->RozpocznijLogowanie())
        WTle([this] { polecenie_->WykonajLogowanie(); },
             [this] { polecenie_->ZakonczLogowanie(); });
}

void TfrmGlowna::btnZamknijClick() {
    // During a run "Zamknij" is the way to stop it, as closing the window is; during a log-in the
    // window closes when it has ended.
    if (polecenie_->WTrakcie() || polecenie_->WZadaniu())
        close();
    else
        QCoreApplication::exit(0);
}

void TfrmGlowna::ZamknijNaZadanieSystemu() {
    UruchomObsluge(this, [this] {
        if (polecenie_->ZamknijNaZadanieSystemu()) close();
    });
}

void TfrmGlowna::btnAktualizujClick() {
    if (!polecenie_->RozpocznijAktualizacje()) return;
    WTle([this] { polecenie_->WykonajOdczytWersji(); },
         [this] {
             if (polecenie_->ZakonczOdczytWersji()) RozpocznijPrzebieg();
         });
}

void TfrmGlowna::RozpocznijPrzebieg() {
    WTle([this] { polecenie_->WykonajPrzebieg(); },
         [this] {
             UruchomObsluge(this, [this] { polecenie_->ZakonczPrzebieg(); });
             polecenie_->PokazOstrzezenieDziennika();
         });
}

void TfrmGlowna::WTle(std::function<void()> praca, std::function<void()> potem) {
    // The fields and buttons look "not now" while the server is awaited; the filter below keeps
    // every other input away too. "Zamknij" stays: it stops a run.
    fokusPrzedPrzebiegiem_ = focusWidget();
    wylaczone_.clear();
    for (QWidget* kontrolka : findChildren<QWidget*>()) {
        if ((qobject_cast<QLineEdit*>(kontrolka) || qobject_cast<QPushButton*>(kontrolka) ||
             qobject_cast<QListWidget*>(kontrolka)) &&
            kontrolka != btnZamknij_ && kontrolka->isEnabled()) {
            kontrolka->setEnabled(false);
            wylaczone_.emplace_back(kontrolka);
        }
    }
    qApp->installEventFilter(this);
    zegarPostepu_->start();
    potem_ = std::move(potem);
    przebieg_ = std::thread([this, praca = std::move(praca)] {
        praca();
        QMetaObject::invokeMethod(
            this, [this] { PoPracyWTle(); }, Qt::QueuedConnection);
    });
}

void TfrmGlowna::PoPracyWTle() {
    if (polecenie_->PytanieOPrzerwanieOtwarte()) {
        koniecOdlozony_ = true;
        return;
    }
    przebieg_.join();
    zegarPostepu_->stop();
    qApp->removeEventFilter(this);
    for (const QPointer<QWidget>& kontrolka : wylaczone_)
        if (kontrolka) kontrolka->setEnabled(true);
    wylaczone_.clear();
    if (fokusPrzedPrzebiegiem_) fokusPrzedPrzebiegiem_->setFocus();
    const std::function<void()> potem = std::exchange(potem_, nullptr);
    UruchomObsluge(this, potem);
    // A close asked for during the call or the run: the window closes now that it has ended.
    if (polecenie_->ZamknijPoPrzebiegu()) close();
}

}  // namespace zuv
