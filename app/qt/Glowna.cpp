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

#include "app/okno/Uklad.h"
#include "app/qt/AplikacjaZUV.h"
#include "app/qt/PanelInformacyjny.h"
#include "app/qt/ZawijanieTekstu.h"
#include "versions/KatalogWersji.h"

namespace zuv {

namespace {

// Shows every character of the password field as "*".
class StylHasla : public QProxyStyle {
  public:
    int styleHint(StyleHint podpowiedz, const QStyleOption* opcja, const QWidget* widget,
                  QStyleHintReturn* wynik) const override {
        if (podpowiedz == SH_LineEdit_PasswordCharacter) return '*';
        return QProxyStyle::styleHint(podpowiedz, opcja, widget, wynik);
    }
};

// A control named as the layout names it; UlozKontrolki gives it its place.
template <typename Kontrolka>
Kontrolka* Utworz(QWidget* rodzic, const char* nazwa) {
    auto* kontrolka = new Kontrolka(rodzic);
    kontrolka->setObjectName(QString::fromLatin1(nazwa));
    return kontrolka;
}

QLabel* EtykietaDoPrawej(QWidget* rodzic, const char* nazwa, const char* tekst) {
    auto* etykieta = Utworz<QLabel>(rodzic, nazwa);
    etykieta->setText(QString::fromUtf8(tekst));
    etykieta->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return etykieta;
}

QPushButton* Przycisk(QWidget* rodzic, const char* nazwa, const char* tekst) {
    auto* przycisk = Utworz<QPushButton>(rodzic, nazwa);
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
    setWindowTitle(QString::fromUtf8(TytulOkna));
    QFont czcionka(QStringLiteral("MS Sans Serif"));
    czcionka.setStyleHint(QFont::SansSerif);
    czcionka.setPixelSize(11);
    setFont(czcionka);

    UtworzPanele();
    UtworzGrupeLogowania();
    UtworzGrupeAktualizacji();
    UstawKolejnoscTabulacji();
    szkielet_ = std::make_unique<SzkieletOkna>(
        static_cast<OknoSzkieletu&>(*this), conn,
        WidokOkna{*this, *this, *this, komunikaty, *pnlAktualiacjaInfo_}, dziennik);
    PolaczZdarzenia();

    resize(SzerokoscProjektu, WysokoscProjektu);
    setMinimumSize(SzerokoscProjektu, WysokoscProjektu);
    UlozKontrolki();
    move(LewaKrawedzOknaProjektu, GornaKrawedzOknaProjektu);
    edbSerwer_->setFocus();
}

TfrmGlowna::~TfrmGlowna() {
    // Waits for a call still under way and closes the connection.
    szkielet_.reset();
    qApp->removeEventFilter(this);
}

void TfrmGlowna::UtworzPanele() {
    pnlAktualizacja_ = Utworz<QFrame>(this, "pnlAktualizacja");
    pnlAktualizacja_->setFrameStyle(QFrame::Panel | QFrame::Raised);
    pnlAktualizacja_->setLineWidth(1);

    pnlAktualiacjaInfo_ = new PanelInformacyjny(pnlAktualizacja_);
    pnlAktualiacjaInfo_->setObjectName(QStringLiteral("pnlAktualiacjaInfo"));

    labWersje_ = Utworz<QLabel>(pnlAktualizacja_, "labWersje");
    labWersje_->setText(QStringLiteral("Dostępne wersje:"));

    lstWersje_ = Utworz<QListWidget>(pnlAktualizacja_, "lstWersje");
    lstWersje_->setSelectionMode(QAbstractItemView::SingleSelection);
    lstWersje_->setSortingEnabled(false);
    lstWersje_->setUniformItemSizes(true);
    for (const std::string_view wersja : KatalogWersji) {
        auto* pozycja = new QListWidgetItem(
            QString::fromLatin1(wersja.data(), static_cast<qsizetype>(wersja.size())));
        pozycja->setSizeHint(QSize(0, 13));
        lstWersje_->addItem(pozycja);
    }

    pnlBtns_ = Utworz<QFrame>(this, "pnlBtns");
    pnlBtns_->setFrameStyle(QFrame::NoFrame);
    btnZamknij_ = Przycisk(pnlBtns_, "btnZamknij", "Zamknij");

    zegarPostepu_ = new QTimer(this);
    zegarPostepu_->setInterval(SzkieletOkna::OdstepPostepu);
}

void TfrmGlowna::UtworzGrupeLogowania() {
    gbxLogowanie_ = Utworz<QGroupBox>(pnlAktualizacja_, "gbxLogowanie");
    gbxLogowanie_->setTitle(QStringLiteral("Logowanie"));

    EtykietaDoPrawej(gbxLogowanie_, "labSerwer", "Serwer:");
    EtykietaDoPrawej(gbxLogowanie_, "labBaza", "Baza:");
    EtykietaDoPrawej(gbxLogowanie_, "labUzytk", "Użytkownik:");
    EtykietaDoPrawej(gbxLogowanie_, "labHaslo", "Hasło:");

    edbSerwer_ = Utworz<QLineEdit>(gbxLogowanie_, "edbSerwer");
    edbBaza_ = Utworz<QLineEdit>(gbxLogowanie_, "edbBaza");
    edbUzytk_ = Utworz<QLineEdit>(gbxLogowanie_, "edbUzytk");
    edbUzytk_->setText(QStringLiteral("sa"));
    edbHaslo_ = Utworz<QLineEdit>(gbxLogowanie_, "edbHaslo");
    edbHaslo_->setEchoMode(QLineEdit::Password);
    auto* stylHasla = new StylHasla;
    stylHasla->setParent(edbHaslo_);
    edbHaslo_->setStyle(stylHasla);

    btnLoguj_ = Przycisk(gbxLogowanie_, "btnLoguj", "Loguj");
}

void TfrmGlowna::UtworzGrupeAktualizacji() {
    gbxAktualizacja_ = Utworz<QGroupBox>(pnlAktualizacja_, "gbxAktualizacja");
    gbxAktualizacja_->setTitle(QStringLiteral("Aktualizacja"));
    gbxAktualizacja_->hide();

    labAktualnaWersja_ = Utworz<QLabel>(gbxAktualizacja_, "labAktualnaWersja");
    labAktualnaWersja_->setTextFormat(Qt::PlainText);
    UstawTekstWersji("labAktualnaWersja");

    btnAktualizuj_ = Przycisk(gbxAktualizacja_, "btnAktualizuj", "Aktualizuj");
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
            [this] { UruchomObsluge([this] { btnLogujClick(); }); });
    connect(btnAktualizuj_, &QPushButton::clicked, this,
            [this] { UruchomObsluge([this] { btnAktualizujClick(); }); });
    connect(btnZamknij_, &QPushButton::clicked, this,
            [this] { UruchomObsluge([this] { btnZamknijClick(); }); });
    connect(zegarPostepu_, &QTimer::timeout, this, [this] { szkielet_->Tik(); });
}

void TfrmGlowna::resizeEvent(QResizeEvent* zdarzenie) {
    QWidget::resizeEvent(zdarzenie);
    UlozKontrolki();
}

void TfrmGlowna::UlozKontrolki() {
    // The layout gives every place in the window's coordinates, each control after the one it
    // lies in, so that its parent is already in place when it is moved into the parent's
    // coordinates. Qt scales for the screen itself: the design is laid out at 96 dots per inch.
    for (const PolozenieKontrolki& polozenie : PolozeniaKontrolek()) {
        auto* kontrolka = findChild<QWidget*>(QString::fromLatin1(polozenie.nazwa));
        if (kontrolka == nullptr) continue;
        const Prostokat p = Uloz(polozenie, width(), height(), 96);
        const QPoint lewyGorny = kontrolka->parentWidget()->mapFrom(this, QPoint(p.x, p.y));
        kontrolka->setGeometry(lewyGorny.x(), lewyGorny.y(), p.szerokosc, p.wysokosc);
    }
    UlozWersje();
}

void TfrmGlowna::UlozWersje() {
    // A long server or database name would push the version past the group's edge: the line
    // wraps inside the width the layout gives it, so the version at its end is always seen.
    const QStringList linie =
        ZawinTekst(tekstWersji_, ZnajdzPolozenie("labAktualnaWersja")->projekt.szerokosc,
                   labAktualnaWersja_->fontMetrics());
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
    const Prostokat miejsce =
        WObszarzeRoboczym({ramka.x(), ramka.y(), ramka.width(), ramka.height()},
                          {dostepny.x(), dostepny.y(), dostepny.width(), dostepny.height()});
    if (miejsce.x != ramka.x() || miejsce.y != ramka.y()) move(miejsce.x, miejsce.y);
}

void TfrmGlowna::closeEvent(QCloseEvent* zdarzenie) {
    // The window closes only when FormClose ran to its end and allows it (never during a run).
    bool mozna = false;
    UruchomObsluge([&] { mozna = szkielet_->Polecenie().FormClose(); });
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

void TfrmGlowna::btnLogujClick() { szkielet_->Loguj(); }

void TfrmGlowna::btnZamknijClick() {
    // During a run "Zamknij" is the way to stop it, as closing the window is; during a log-in the
    // window closes when it has ended.
    if (szkielet_->WOczekiwaniu())
        close();
    else
        QCoreApplication::exit(0);
}

void TfrmGlowna::ZamknijNaZadanieSystemu() {
    UruchomObsluge([this] {
        if (szkielet_->Polecenie().ZamknijNaZadanieSystemu()) close();
    });
}

void TfrmGlowna::btnAktualizujClick() { szkielet_->Aktualizuj(); }

void TfrmGlowna::ZglosKoniecPracy() {
    QMetaObject::invokeMethod(
        this, [this] { szkielet_->PoPracy(); }, Qt::QueuedConnection);
}

void TfrmGlowna::UstawZegar(bool wlaczony) {
    if (wlaczony)
        zegarPostepu_->start();
    else
        zegarPostepu_->stop();
}

void TfrmGlowna::WstrzymajWejscie(bool wstrzymane) {
    if (!wstrzymane) {
        qApp->removeEventFilter(this);
        for (const QPointer<QWidget>& kontrolka : wylaczone_)
            if (kontrolka) kontrolka->setEnabled(true);
        wylaczone_.clear();
        if (fokusPrzedPrzebiegiem_) fokusPrzedPrzebiegiem_->setFocus();
        return;
    }
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
}

bool TfrmGlowna::UruchomObsluge(const std::function<void()>& obsluga) {
    return zuv::UruchomObsluge(this, obsluga);
}

void TfrmGlowna::Zamknij() { close(); }

}  // namespace zuv
