// The update command through the real stack: bound checks, confirmation, the linked-in packages
// applied in order, a failing package and resuming after it.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "app/qt/Glowna.h"
#include "db/PolaczenieODBC.h"
#include "tests/app/qt/Srodowisko.h"
#include "tests/db/integracja/SerwerTestowy.h"
#include "tests/support/WersjePakietow.h"
#include "versions/KatalogWersji.h"

using namespace zuv;

namespace {

constexpr int Tak = 6;
const QColor Rozowy(255, 187, 187);

class Aktualizacja : public ::testing::Test {
  protected:
    void SetUp() override {
        KomunikatyTestowe().pokazane.clear();
        KomunikatyTestowe().odpowiedzi.clear();
        okno.show();  // the runner writes a failure into the panel only when it is on screen
    }

    template <typename T>
    T* Kontrolka(const char* nazwa) {
        return okno.findChild<T*>(QString::fromLatin1(nazwa));
    }
    void Zaloguj(SerwerTestowy& serwer) {
        Kontrolka<QLineEdit>("edbSerwer")->setText(QString::fromStdString(serwer.Adres()));
        Kontrolka<QLineEdit>("edbBaza")->setText("ZUV");
        Kontrolka<QLineEdit>("edbHaslo")->setText(QString::fromUtf8("Tajne;1'\""));
        QTest::mouseClick(Kontrolka<QPushButton>("btnLoguj"), Qt::LeftButton);
        // The log-in goes on off the window's thread; its end comes back through the event loop.
        ASSERT_TRUE(QTest::qWaitFor([&] { return !okno.WOczekiwaniu(); }, 60000));
        ASSERT_TRUE(Pokazane().empty()) << Pokazane()[0].tekst;
    }
    void Aktualizuj(std::initializer_list<int> odpowiedzi = {}) {
        KomunikatyTestowe().odpowiedzi.assign(odpowiedzi.begin(), odpowiedzi.end());
        QTest::mouseClick(Kontrolka<QPushButton>("btnAktualizuj"), Qt::LeftButton);
        // The version read and the run go on off the window's thread; their ends come back
        // through the event loop.
        ASSERT_TRUE(QTest::qWaitFor([&] { return !okno.WOczekiwaniu(); }, 120000));
    }
    std::vector<Komunikat>& Pokazane() { return KomunikatyTestowe().pokazane; }
    QLabel* Panel() { return Kontrolka<QLabel>("pnlAktualiacjaInfo"); }
    QColor KolorPanelu() { return Panel()->palette().color(QPalette::Window); }
    QString LiniaWersji() {
        return Kontrolka<QLabel>("labAktualnaWersja")
            ->text()
            .replace(QLatin1Char('\n'), QLatin1Char(' '));
    }

    PolaczenieODBC conn;
    TfrmGlowna okno{KomunikatyTestowe(), conn};
};

tds::ServerConfig Baza(const std::string& wersja) {
    tds::ServerConfig konfiguracja;
    konfiguracja.initVersion = wersja;
    return konfiguracja;
}

}  // namespace

TEST_F(Aktualizacja, VersionsOutsideTheRangeAreRefusedWithAWarning) {
    const struct {
        const char* wersja;
        std::string tekst;
    } przypadki[] = {
        {"11.5.0.6",
         "Aktualna wersja 11.5.0.6 jest większa lub równa maksymalnej dostępnej wersji 11.5.0.6."},
        {"12.0.0.0",
         "Aktualna wersja 12.0.0.0 jest większa lub równa maksymalnej dostępnej wersji 11.5.0.6."},
        {"7.12.0.6",
         "Aktualna wersja 7.12.0.6 musi być większa lub równa minimalnej dostępnej wersji "
         "8.1.0.0."},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.wersja);
        SerwerTestowy serwer(Baza(p.wersja));
        Zaloguj(serwer);
        Aktualizuj();
        ASSERT_EQ(Pokazane().size(), 1u);
        EXPECT_EQ(Pokazane()[0].tekst, p.tekst);
        EXPECT_EQ(Pokazane()[0].tytul, "Ostrzeżenie");
        EXPECT_EQ(Pokazane()[0].styl, 48);
        EXPECT_EQ(serwer.Partie().size(), 2u);  // the version read at log-in and at the press
        Pokazane().clear();
    }
}

TEST_F(Aktualizacja, NoSendsNothing) {
    SerwerTestowy serwer(Baza("10.5.0.3"));
    Zaloguj(serwer);
    Aktualizuj({7});
    ASSERT_EQ(Pokazane().size(), 1u);
    EXPECT_EQ(Pokazane()[0].tekst,
              "Wykonać aktualizację bazy " + serwer.Adres() + ".ZUV do wersji 11.5.0.6 ?");
    EXPECT_EQ(Pokazane()[0].tytul, "Potwierdź");
    EXPECT_EQ(Pokazane()[0].styl, 68);
    EXPECT_EQ(serwer.Partie().size(), 2u);
    EXPECT_TRUE(Panel()->text().isEmpty());
}

TEST_F(Aktualizacja, YesAppliesEveryPackageAboveTheRecordedVersionInOrder) {
    SerwerTestowy serwer(Baza("8.1.0.0"));
    Zaloguj(serwer);
    const QColor kolorPrzed = KolorPanelu();
    Aktualizuj({Tak});

    ASSERT_EQ(Pokazane().size(), 2u) << Pokazane().back().tekst;
    EXPECT_EQ(Pokazane()[1].tekst, "Zakończono aktualizację.");
    EXPECT_EQ(Pokazane()[1].tytul, "Informacja");
    EXPECT_EQ(Pokazane()[1].styl, 64);
    EXPECT_TRUE(Panel()->text().isEmpty());
    EXPECT_EQ(KolorPanelu(), kolorPrzed);
    EXPECT_EQ(serwer.ZapisanaWersja(), "11.5.0.6");
    // The version line shows what the database records after the run, not what "Loguj" read.
    EXPECT_TRUE(LiniaWersji().endsWith(QStringLiteral(".ZUV: 11.5.0.6")))
        << LiniaWersji().toStdString();
    const std::vector<std::string> powyzej(KatalogWersji.begin() + 1, KatalogWersji.end());
    EXPECT_EQ(WersjePakietow(serwer.Partie()), powyzej);
    // The session flag was set by its two statements, in order, before the first package's
    // transaction began, so each took effect on its own.
    std::vector<std::string> przedPakietami;
    for (const auto& wpis : serwer->journal()) {
        if (wpis.transaction) break;
        if (wpis.kind == tds::RequestKind::Batch &&
            wpis.text.find("#WA_OPCJE_TMP") != std::string::npos)
            przedPakietami.push_back(wpis.text.substr(0, 16));
    }
    EXPECT_EQ(przedPakietami, (std::vector<std::string>{"IF EXISTS (SELEC", "INSERT INTO #WA_"}));
}

TEST_F(Aktualizacja, AFailingPackageStopsTheRunAndASecondPressResumes) {
    SerwerTestowy serwer(Baza("8.11.0.0"));
    serwer->setFailBatches(
        {{"9.2.0.1", 5, 50000, "Nie można utworzyć indeksu – zduplikowany klucz „ŚRODEK”.", 2}});
    Zaloguj(serwer);
    Aktualizuj({Tak});

    ASSERT_EQ(Pokazane().size(), 2u);
    EXPECT_EQ(Pokazane()[1].tekst,
              "Błąd aktualizacji bazy do wersji 9.2.0.1 podczas wykonywania operacji 5:\r\n"
              "Nie można utworzyć indeksu – zduplikowany klucz „ŚRODEK”.");
    EXPECT_EQ(Pokazane()[1].styl, 16);
    EXPECT_EQ(serwer.ZapisanaWersja(), "9.1.0.2");
    EXPECT_EQ(Panel()->text(),
              QString::fromUtf8("Aktualizacja bazy do wersji 9.2.0.1 przerwana z powodu błędu."));
    EXPECT_EQ(KolorPanelu(), Rozowy);
    EXPECT_TRUE(LiniaWersji().endsWith(QStringLiteral(".ZUV: 9.1.0.2")))
        << LiniaWersji().toStdString();
    EXPECT_EQ(WersjePakietow(serwer.Partie()), (std::vector<std::string>{"9.1.0.2", "9.2.0.1"}));

    // The cause removed, the same connection picks up at the package that failed.
    serwer->setFailBatches({});
    Pokazane().clear();
    Aktualizuj({Tak});
    ASSERT_EQ(Pokazane().size(), 2u) << Pokazane().back().tekst;
    EXPECT_EQ(Pokazane()[1].tekst, "Zakończono aktualizację.");
    EXPECT_EQ(serwer.ZapisanaWersja(), "11.5.0.6");
    EXPECT_EQ(WersjePakietow(serwer.Partie())[2], "9.2.0.1");
    EXPECT_TRUE(Panel()->text().isEmpty());
    // The run that starts takes the pink of the failure away: it would report a failure that
    // did not happen.
    EXPECT_EQ(KolorPanelu(), Panel()->palette().color(QPalette::Base));
    EXPECT_TRUE(LiniaWersji().endsWith(QStringLiteral(".ZUV: 11.5.0.6")))
        << LiniaWersji().toStdString();
}

TEST_F(Aktualizacja, RecordedVersionsNotInTheCatalogueForm) {
    {
        SCOPED_TRACE(
            "leading zeros: the equal catalogue entry is selected and its package refuses");
        SerwerTestowy serwer(Baza("10.01.0.1"));
        Zaloguj(serwer);
        Aktualizuj({Tak});
        ASSERT_EQ(Pokazane().size(), 2u);
        EXPECT_EQ(
            Pokazane()[1].tekst,
            "Błąd aktualizacji bazy do wersji 10.1.0.1 podczas wykonywania operacji 1:\r\n"
            "Wersja systemu: 10.01.0.1\r\nAktualizacja jest przeznaczona dla wersji 9.6.0.26.");
        EXPECT_EQ(serwer.ZapisanaWersja(), "10.01.0.1");
        Pokazane().clear();
    }
    {
        SCOPED_TRACE("trailing blank: the version is refused before anything is sent");
        SerwerTestowy serwer(Baza("10.17.0.3 "));
        Zaloguj(serwer);
        Aktualizuj({Tak});
        ASSERT_EQ(Pokazane().size(), 1u);
        EXPECT_EQ(Pokazane()[0].tekst, "Niepoprawna wersja: \"10.17.0.3 \".");
        EXPECT_EQ(Pokazane()[0].styl, 16);
        EXPECT_EQ(serwer.Partie().size(), 2u);
    }
}
