// The window through the real stack: ODBC, FreeTDS and the TDS test server.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "app/qt/Glowna.h"
#include "db/PolaczenieODBC.h"
#include "tests/app/qt/Srodowisko.h"
#include "tests/db/integracja/OpisyBledowLogowania.h"
#include "tests/db/integracja/SerwerTestowy.h"

using namespace zuv;

namespace {

class OknoZSerwerem : public ::testing::Test {
  protected:
    void SetUp() override {
        KomunikatyTestowe().pokazane.clear();
        KomunikatyTestowe().odpowiedzi.clear();
    }

    template <typename T>
    T* Kontrolka(const char* nazwa) {
        return okno.findChild<T*>(QString::fromLatin1(nazwa));
    }

    void Wpisz(const QString& serwer, const QString& baza, const QString& haslo) {
        Kontrolka<QLineEdit>("edbSerwer")->setText(serwer);
        Kontrolka<QLineEdit>("edbBaza")->setText(baza);
        Kontrolka<QLineEdit>("edbHaslo")->setText(haslo);
    }
    void Zaloguj(SerwerTestowy& serwer) {
        Wpisz(QString::fromStdString(serwer.Adres()), "ZUV", QString::fromUtf8("Tajne;1'\""));
        Kliknij("btnLoguj");
    }
    // A press, and the call to the server it starts, to its end: the call goes on off the
    // window's thread and its end comes back through the event loop.
    void Kliknij(const char* przycisk) {
        QTest::mouseClick(Kontrolka<QPushButton>(przycisk), Qt::LeftButton);
        Czekaj();
    }
    void Czekaj() {
        ASSERT_TRUE(QTest::qWaitFor([&] { return !okno.WOczekiwaniu(); }, 60000));
    }
    std::vector<Komunikat>& Pokazane() { return KomunikatyTestowe().pokazane; }
    QString Wersja() { return Kontrolka<QLabel>("labAktualnaWersja")->text(); }
    bool GrupaWidoczna() { return !Kontrolka<QGroupBox>("gbxAktualizacja")->isHidden(); }

    PolaczenieODBC conn;
    TfrmGlowna okno{KomunikatyTestowe(), conn};
};

}  // namespace

TEST_F(OknoZSerwerem, LogInShowsTheRecordedVersionAndTheUpdateGroup) {
    SerwerTestowy serwer;
    Zaloguj(serwer);
    EXPECT_TRUE(Pokazane().empty());
    EXPECT_EQ(Wersja(), QString::fromStdString("Wersja bazy " + serwer.Adres() + ".ZUV: 7.12.0.7"));
    EXPECT_TRUE(GrupaWidoczna());
    EXPECT_TRUE(conn.Otwarte());
}

TEST_F(OknoZSerwerem, EnterInEveryLogInFieldPressesLoguj) {
    SerwerTestowy serwer;
    okno.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&okno));
    for (const char* pole : {"edbSerwer", "edbBaza", "edbUzytk", "edbHaslo"}) {
        SCOPED_TRACE(pole);
        Wpisz(QString::fromStdString(serwer.Adres()), "ZUV", QString::fromUtf8("Tajne;1'\""));
        Kontrolka<QLabel>("labAktualnaWersja")->setText("");
        auto* kontrolka = Kontrolka<QLineEdit>(pole);
        kontrolka->setFocus();
        QTest::keyClick(kontrolka, Qt::Key_Return);
        Czekaj();
        EXPECT_TRUE(Wersja().endsWith(": 7.12.0.7")) << Wersja().toStdString();
    }
    // A focused button takes Enter itself: Zamknij is not Loguj.
    EXPECT_TRUE(Pokazane().empty());
}

TEST_F(OknoZSerwerem, VersionValuesAreShownAsRead) {
    SerwerTestowy serwer;
    const struct {
        const char* nazwa;
        std::optional<std::string> wartosc;
        const char* koniec;
    } przypadki[] = {
        {"NULL", std::nullopt, ".ZUV: "},
        {"trailing blank", std::string("10.17.0.3 "), ".ZUV: 10.17.0.3 "},
        {"leading zeros", std::string("10.01.0.1"), ".ZUV: 10.01.0.1"},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        serwer->setVersionRows({{"WERSJE", "TERVO_WERSJA", p.wartosc}});
        Zaloguj(serwer);
        EXPECT_TRUE(Pokazane().empty());
        EXPECT_TRUE(Wersja().endsWith(QString::fromStdString(p.koniec)));
        EXPECT_TRUE(GrupaWidoczna());
    }
}

TEST_F(OknoZSerwerem, LogInFailuresShowTheirBoxAndHideTheUpdateGroup) {
    SerwerTestowy serwer;
    Zaloguj(serwer);
    ASSERT_TRUE(GrupaWidoczna());
    const QString wersjaPrzed = Wersja();

    // Opening fails: the earlier connection is closed and the group hidden.
    Wpisz(QString::fromStdString(serwer.Adres()), "ZUV", "zle");
    Kliknij("btnLoguj");
    ASSERT_EQ(Pokazane().size(), 1u);
    EXPECT_EQ(Pokazane()[0].tekst,
              std::string(opisy_logowania::Odmowa) + "\r\nLogin failed for user 'sa'");
    EXPECT_EQ(Pokazane()[0].styl, 16);
    EXPECT_FALSE(GrupaWidoczna());
    EXPECT_FALSE(conn.Otwarte());
    EXPECT_EQ(Wersja(), wersjaPrzed);

    // Two version rows: the connection stays open, the group hidden.
    serwer->setVersionRows(
        {{"WERSJE", "TERVO_WERSJA", "8.1.0.0"}, {"X", "TERVO_WERSJA", "8.1.0.0"}});
    Zaloguj(serwer);
    ASSERT_EQ(Pokazane().size(), 2u);
    EXPECT_EQ(Pokazane()[1].tekst,
              "Odczyt wersji systemu ZUV dla bazy " + serwer.Adres() +
                  ".ZUV nie powiódł się.\r\nWierszy TERVO_WERSJA w tabeli konfig_st jest 2, a "
                  "powinien być jeden; usuń nadmiarowe, zostawiając właściwą wersję.");
    EXPECT_FALSE(GrupaWidoczna());
    EXPECT_TRUE(conn.Otwarte());
}

TEST_F(OknoZSerwerem, ALongVersionLineWrapsInsideItsGroup) {
    const std::string baza =
        "ZUV_BAZA_PRODUKCYJNA_ODDZIAL_POZNAN_SRODKI_TRWALE_I_WARTOSCI_NIEMATERIALNE_2026";
    tds::ServerConfig konfiguracja;
    konfiguracja.database = baza;
    konfiguracja.initVersion = "10.17.0.3";
    SerwerTestowy serwer(konfiguracja);
    Wpisz(QString::fromStdString(serwer.Adres()), QString::fromStdString(baza),
          QString::fromUtf8("Tajne;1'\""));
    Kliknij("btnLoguj");
    ASSERT_TRUE(Pokazane().empty()) << Pokazane()[0].tekst;

    auto* etykieta = Kontrolka<QLabel>("labAktualnaWersja");
    const QString pelny =
        QString::fromStdString("Wersja bazy " + serwer.Adres() + "." + baza + ": 10.17.0.3");
    QString bezOdstepow = pelny;
    bezOdstepow.remove(QLatin1Char(' '));
    EXPECT_EQ(Wersja().remove(QLatin1Char(' ')).remove(QLatin1Char('\n')), bezOdstepow);
    EXPECT_TRUE(Wersja().endsWith("10.17.0.3")) << Wersja().toStdString();
    EXPECT_TRUE(Kontrolka<QGroupBox>("gbxAktualizacja")->rect().contains(etykieta->geometry()));
    for (const QString& linia : Wersja().split(QLatin1Char('\n')))
        EXPECT_LE(etykieta->fontMetrics().horizontalAdvance(linia), etykieta->width());
}
