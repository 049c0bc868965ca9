// The run journal: its lines, a file that cannot be written, two writers at once, the size limit,
// and what the update command records of a log-in and a run.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "app/PolecenieAktualizacji.h"
#include "app/usluga/Dziennik.h"
#include "app/usluga/platforma/ZapisDziennika.h"
#include "common/Wyjatki.h"
#include "db/BlokadaAktualizacji.h"
#include "tests/support/OknaKomunikatowSkryptowe.h"
#include "tests/support/OknoPamieciowe.h"
#include "tests/support/PolaczeniePamieciowe.h"
#include "tests/support/PolecenieWWatku.h"

using namespace zuv;

namespace {

class Folder {
  public:
    Folder() {
        std::string wzor =
            (std::filesystem::temp_directory_path() / "zuv-dziennik-XXXXXX").string();
        sciezka_ = mkdtemp(wzor.data());
    }
    ~Folder() { std::filesystem::remove_all(sciezka_); }
    std::string operator/(const std::string& nazwa) const { return (sciezka_ / nazwa).string(); }

  private:
    std::filesystem::path sciezka_;
};

std::vector<std::string> Linie(const std::string& sciezka) {
    std::ifstream plik(sciezka, std::ios::binary);
    std::vector<std::string> linie;
    for (std::string linia; std::getline(plik, linia);) linie.push_back(linia);
    return linie;
}

// The value of `nazwa="..."` in a line, read back.
std::string Pole(const std::string& linia, const std::string& nazwa) {
    const std::string poczatek = " " + nazwa + "=\"";
    const std::size_t od = linia.find(poczatek);
    if (od == std::string::npos) return "(brak)";
    std::size_t i = od + poczatek.size();
    const std::size_t start = i;
    while (i < linia.size() && linia[i] != '"') i += linia[i] == '\\' ? 2 : 1;
    return OdczytajWartosc(linia.substr(start, i - start));
}

}  // namespace

TEST(Dziennik, EachEntryIsOneLineThatReadsBackExactly) {
    const std::vector<std::string> wartosci = {
        "zwykły tekst",
        "Błąd aktualizacji bazy do wersji 11.4.0.1 podczas wykonywania operacji 44:\r\nDeadlock",
        "cudzysłów \" i ukośnik \\ i tab\t, NUL \x01 i DEL \x7f",
        "\\n nie jest końcem linii",
        "",
    };
    for (const std::string& w : wartosci) EXPECT_EQ(OdczytajWartosc(ZakodujWartosc(w)), w);

    Folder folder;
    Dziennik dziennik(folder / "a/b/dziennik.log");  // the folders are made
    dziennik.UstawSesje("SERWER\\ZUV", "Środki", "sa");
    for (const std::string& w : wartosci) dziennik.Zapisz("zdarzenie", {{"tekst", w}});
    const auto linie = Linie(folder / "a/b/dziennik.log");
    ASSERT_EQ(linie.size(), wartosci.size());
    const std::regex poczatek(
        R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}[+-]\d\d:\d\d wersja=\S+ pid=\d+ serwer="SERWER\\\\ZUV" baza="Środki" login="sa" zdarzenie tekst=".*")");
    for (std::size_t i = 0; i < linie.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(std::regex_match(linie[i], poczatek)) << linie[i];
        EXPECT_EQ(Pole(linie[i], "tekst"), wartosci[i]);
    }
    EXPECT_FALSE(dziennik.BladZapisu());
}

TEST(Dziennik, AFileThatCannotBeWrittenIsReportedOnceAndNothingThrows) {
    Folder folder;
    std::filesystem::create_directories(folder / "dziennik.log");  // a folder in its place
    Dziennik dziennik(folder / "dziennik.log");
    dziennik.Zapisz("pierwsze");
    dziennik.Zapisz("drugie");
    const auto blad = dziennik.BladDoZgloszenia();
    ASSERT_TRUE(blad);
    EXPECT_NE(blad->find(folder / "dziennik.log"), std::string::npos) << *blad;
    EXPECT_NE(blad->find("Is a directory"), std::string::npos) << *blad;
    EXPECT_FALSE(dziennik.BladDoZgloszenia());  // told once
}

// Two journals on one file, as two programs have: every line whole, none lost, and past the
// limit the file renamed once with every entry in one of the two files.
TEST(Dziennik, TwoWritersAtOnceNeverSplitALineAndTheLimitRenamesTheFile) {
    Folder folder;
    const std::string sciezka = folder / "dziennik.log";
    constexpr int Wpisy = 400;
    const std::string wypelnienie(150, 'x');
    // About 2 x 400 lines of 300 bytes: the limit is passed once.
    Dziennik pierwszy(sciezka, 160'000);
    Dziennik drugi(sciezka, 160'000);
    std::thread a([&] {
        for (int i = 0; i < Wpisy; ++i)
            pierwszy.Zapisz("a", {{"n", std::to_string(i)}, {"w", wypelnienie}});
    });
    std::thread b([&] {
        for (int i = 0; i < Wpisy; ++i)
            drugi.Zapisz("b", {{"n", std::to_string(i)}, {"w", wypelnienie}});
    });
    a.join();
    b.join();
    auto linie = Linie(SciezkaPoprzedniegoPliku(sciezka));
    ASSERT_FALSE(linie.empty()) << "not renamed";
    const auto nowe = Linie(sciezka);
    linie.insert(linie.end(), nowe.begin(), nowe.end());
    EXPECT_EQ(linie.size(), 2u * Wpisy);
    int a_ = 0;
    int b_ = 0;
    for (const std::string& linia : linie) {
        ASSERT_EQ(Pole(linia, "w"), wypelnienie) << linia;
        (linia.find("\" a n=") != std::string::npos ? a_ : b_)++;
    }
    EXPECT_EQ(a_, Wpisy);
    EXPECT_EQ(b_, Wpisy);
    EXPECT_LT(std::filesystem::file_size(sciezka), 160'000u);
}

// What the command records: the log-in with the recorded version, the question and its answer,
// the flag, each package started and committed with its time, a failure with its whole text, the
// run's end; never the password.
TEST(Dziennik, TheCommandRecordsALogInAndARunWithoutThePassword) {
    Folder folder;
    Dziennik dziennik(folder / "dziennik.log");
    PolaczeniePamieciowe conn;
    conn.UstawWynik("SELECT dbo.fn_WERSJA_MS_SQL()", {1, WartoscPola(std::int64_t{2005})});
    conn.UstawWynik(ZapytanieBlokadyAktualizacji, {1, WartoscPola(std::int64_t{0})});
    conn.UstawWynik("select wartosc from konfig_st where nazwa = 'TERVO_WERSJA'",
                    {1, WartoscPola(std::string("11.3.0.2"))});
    conn.Zawiedz(
        PolaczeniePamieciowe::Rodzaj::Polecenie, 2 + 3,
        std::make_exception_ptr(EOleException("Zduplikowany klucz\r\n„ŚRODEK”", 2627, "x")));
    OknoPamieciowe okno;
    OknaKomunikatowSkryptowe komunikaty;
    PolecenieAktualizacji polecenie(conn, WidokOkna{okno, okno, okno, komunikaty, okno}, &dziennik);
    ZalogujWWatku(polecenie);
    komunikaty.odpowiedzi = {OdpowiedzKomunikatu::Tak};
    EXPECT_THROW(AktualizujWWatku(polecenie), EOleException);

    const auto linie = Linie(folder / "dziennik.log");
    std::vector<std::string> zdarzenia;
    for (const std::string& linia : linie) {
        EXPECT_EQ(linia.find(okno.Haslo()), std::string::npos) << linia;
        const std::size_t od = linia.find("login=\"sa\" ") + 11;
        zdarzenia.push_back(linia.substr(od, linia.find(' ', od) - od));
    }
    EXPECT_EQ(zdarzenia, (std::vector<std::string>{"logowanie", "pytanie", "start-aktualizacji",
                                                   "flaga-aktualizacji", "pakiet-rozpoczety",
                                                   "pakiet-nieudany", "koniec-aktualizacji"}));
    ASSERT_EQ(linie.size(), 7u);
    EXPECT_EQ(Pole(linie[0], "wersja-bazy"), "11.3.0.2");
    EXPECT_EQ(Pole(linie[1], "odpowiedz"), "Tak");
    EXPECT_EQ(Pole(linie[2], "wersja-docelowa"), "11.5.0.6");
    EXPECT_EQ(Pole(linie[4], "wersja"), "11.4.0.1");
    EXPECT_EQ(Pole(linie[5], "blad"),
              "Błąd aktualizacji bazy do wersji 11.4.0.1 podczas wykonywania operacji 3:\r\n"
              "Zduplikowany klucz\r\n„ŚRODEK”");
    EXPECT_EQ(Pole(linie[6], "wynik"), "blad");
    EXPECT_EQ(Pole(linie[6], "wersja-przed"), "11.3.0.2");
    EXPECT_EQ(Pole(linie[6], "pakiety"), "0");
}
