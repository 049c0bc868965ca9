// The window as designed, without a database: controls, texts, geometry, keyboard and the
// default error handler.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "app/ObslugaBledu.h"
#include "app/qt/AplikacjaZUV.h"
#include "app/qt/Glowna.h"
#include "common/Wyjatki.h"
#include "tests/app/qt/Srodowisko.h"
#include "tests/support/PolaczeniePamieciowe.h"
#include "versions/KatalogWersji.h"

using namespace zuv;

namespace {

template <typename T>
T* Kontrolka(QWidget& okno, const char* nazwa) {
    T* kontrolka = okno.findChild<T*>(QString::fromLatin1(nazwa));
    EXPECT_NE(kontrolka, nullptr) << nazwa;
    return kontrolka;
}

class Okno : public ::testing::Test {
  protected:
    void SetUp() override { KomunikatyTestowe().pokazane.clear(); }
    PolaczeniePamieciowe conn;
    TfrmGlowna okno{KomunikatyTestowe(), conn};
};

}  // namespace

TEST_F(Okno, ControlsHaveTheirNamesTextsAndPlaces) {
    EXPECT_EQ(okno.objectName(), "frmGlowna");
    EXPECT_EQ(okno.windowTitle(), "Zbiorcza aktualizacja systemu ZUV 8.1 - 11.5");
    EXPECT_EQ(okno.size(), QSize(642, 523));
    EXPECT_EQ(okno.minimumSize(), QSize(642, 523));

    const struct {
        const char* nazwa;
        QRect polozenie;
    } polozenia[] = {
        {"pnlAktualizacja", {0, 0, 642, 482}}, {"pnlAktualiacjaInfo", {1, 1, 640, 20}},
        {"lstWersje", {8, 40, 121, 436}},      {"gbxLogowanie", {136, 24, 369, 153}},
        {"edbSerwer", {104, 24, 121, 21}},     {"edbBaza", {104, 48, 121, 21}},
        {"edbUzytk", {104, 72, 121, 21}},      {"edbHaslo", {104, 96, 121, 21}},
        {"btnLoguj", {264, 96, 75, 25}},       {"gbxAktualizacja", {136, 184, 369, 145}},
        {"btnAktualizuj", {264, 104, 75, 25}}, {"pnlBtns", {0, 482, 642, 41}},
        {"btnZamknij", {561, 8, 75, 25}},
    };
    for (const auto& p : polozenia) {
        SCOPED_TRACE(p.nazwa);
        EXPECT_EQ(Kontrolka<QWidget>(okno, p.nazwa)->geometry(), p.polozenie);
    }

    const struct {
        const char* nazwa;
        const char* tekst;
    } etykiety[] = {{"labWersje", "Dostępne wersje:"},
                    {"labSerwer", "Serwer:"},
                    {"labBaza", "Baza:"},
                    {"labUzytk", "Użytkownik:"},
                    {"labHaslo", "Hasło:"},
                    {"labAktualnaWersja", "labAktualnaWersja"}};
    for (const auto& e : etykiety)
        EXPECT_EQ(Kontrolka<QLabel>(okno, e.nazwa)->text(), QString::fromUtf8(e.tekst));
    EXPECT_EQ(Kontrolka<QGroupBox>(okno, "gbxLogowanie")->title(), "Logowanie");
    EXPECT_EQ(Kontrolka<QGroupBox>(okno, "gbxAktualizacja")->title(), "Aktualizacja");
    EXPECT_EQ(Kontrolka<QPushButton>(okno, "btnLoguj")->text(), "Loguj");
    EXPECT_EQ(Kontrolka<QPushButton>(okno, "btnAktualizuj")->text(), "Aktualizuj");
    EXPECT_EQ(Kontrolka<QPushButton>(okno, "btnZamknij")->text(), "Zamknij");
    EXPECT_EQ(Kontrolka<QLineEdit>(okno, "edbUzytk")->text(), "sa");
    EXPECT_EQ(Kontrolka<QLineEdit>(okno, "edbHaslo")->echoMode(), QLineEdit::Password);
    EXPECT_TRUE(Kontrolka<QLabel>(okno, "pnlAktualiacjaInfo")->text().isEmpty());
    EXPECT_TRUE(Kontrolka<QGroupBox>(okno, "gbxAktualizacja")->isHidden());

    auto* lista = Kontrolka<QListWidget>(okno, "lstWersje");
    ASSERT_EQ(lista->count(), static_cast<int>(KatalogWersji.size()));
    for (int i = 0; i < lista->count(); ++i)
        EXPECT_EQ(lista->item(i)->text().toStdString(), KatalogWersji[i]);
    EXPECT_EQ(okno.PierwszaWersja(), "8.1.0.0");
    EXPECT_EQ(okno.OstatniaWersja(), "11.5.0.6");
}

TEST_F(Okno, PasswordShowsAnAsteriskPerCharacter) {
    auto* haslo = Kontrolka<QLineEdit>(okno, "edbHaslo");
    haslo->setText("Tajne1");
    EXPECT_EQ(haslo->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, haslo),
              '*');
    EXPECT_EQ(haslo->displayText(), "******");
}

TEST_F(Okno, TabOrderRunsThroughTheLogInFieldsFirst) {
    okno.show();
    okno.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&okno));
    EXPECT_EQ(QApplication::focusWidget(), Kontrolka<QWidget>(okno, "edbSerwer"));
    const char* kolejnosc[] = {"edbBaza",   "edbUzytk",   "edbHaslo", "btnLoguj",
                               "lstWersje", "btnZamknij", "edbSerwer"};
    for (const char* nazwa : kolejnosc) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget()->objectName(), nazwa);
    }
}

TEST_F(Okno, ResizingStretchesTheListAndKeepsZamknijInTheCorner) {
    okno.show();
    okno.resize(800, 700);
    QApplication::processEvents();
    EXPECT_EQ(Kontrolka<QWidget>(okno, "lstWersje")->geometry(), QRect(8, 40, 121, 436 + 177));
    EXPECT_EQ(Kontrolka<QWidget>(okno, "btnZamknij")->geometry(), QRect(800 - 81, 8, 75, 25));
    EXPECT_EQ(Kontrolka<QWidget>(okno, "pnlBtns")->geometry(), QRect(0, 659, 800, 41));
    EXPECT_EQ(Kontrolka<QWidget>(okno, "edbSerwer")->geometry(), QRect(104, 24, 121, 21));
}

TEST(TytulAplikacji, NameWithoutFolderAndExtensionLowerCasedAfterTheFirst) {
    EXPECT_EQ(TytulZNazwyPliku("C:/Program/UPDATE.EXE"), "Update");
    EXPECT_EQ(TytulZNazwyPliku("C:\\Program\\UPDATE.EXE"), "Update");
    EXPECT_EQ(TytulZNazwyPliku("/usr/bin/aktualizacja-zuv"), "aktualizacja-zuv");
    EXPECT_EQ(TytulZNazwyPliku("/x/AKT.ZUV.exe"), "Akt");
    EXPECT_EQ(TytulZNazwyPliku("/x/.ukryty"), "");
}

TEST(DomyslnaObslugaBledu, AddsAFullStopOnlyAfterCharactersAboveIt) {
    const struct {
        const char* komunikat;
        const char* tekst;
    } przypadki[] = {
        {"Login failed for user 'sa'", "Login failed for user 'sa'"},  // "'" sorts below "."
        {"Login failed", "Login failed."},
        {"już z kropką.", "już z kropką."},
        {"nawias)", "nawias)"},
        {"wykrzyknik!", "wykrzyknik!"},
        {"cyfra 7", "cyfra 7."},
        {"Błąd ó", "Błąd ó."},
        {"koniec linii\r\n", "koniec linii\r\n"},
        {"", ""},
    };
    for (const auto& p : przypadki) EXPECT_EQ(TekstBledu(p.komunikat), p.tekst);
}

TEST(DomyslnaObslugaBledu, ShowsTheErrorAndTheProgramGoesOn) {
    KomunikatyTestowe().pokazane.clear();
    QObject odbiorca;
    EXPECT_FALSE(
        UruchomObsluge(&odbiorca, [] { throw EDatabaseError("Transakcja jest już rozpoczęta."); }));
    EXPECT_FALSE(
        UruchomObsluge(&odbiorca, [] { throw EOleException("Login failed", 18456, "x"); }));
    EXPECT_TRUE(UruchomObsluge(&odbiorca, [] {}));
    ASSERT_EQ(KomunikatyTestowe().pokazane.size(), 2u);
    const auto& pierwszy = KomunikatyTestowe().pokazane[0];
    EXPECT_EQ(pierwszy.tekst, "Transakcja jest już rozpoczęta.");
    EXPECT_EQ(pierwszy.tytul, static_cast<AplikacjaZUV*>(qApp)->Tytul());
    EXPECT_EQ(pierwszy.styl, 16);
    EXPECT_EQ(KomunikatyTestowe().pokazane[1].tekst, "Login failed.");
}
