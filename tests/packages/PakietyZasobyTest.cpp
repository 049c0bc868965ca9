#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "common/Linie.h"
#include "common/Tekst.h"
#include "common/Wyjatki.h"
#include "packages/PakietyZasoby.h"
#include "packages/ZasobyProgramu.h"
#include "packages/format/FormatPakietu.h"
#include "versions/KatalogWersji.h"
#include "versions/ObslugaWersji.h"

using namespace zuv;

using V = std::vector<std::string>;

namespace {

std::string NazwaPakietu(std::string_view wersja) {
    Wersja w{};
    EXPECT_TRUE(ParsujWersje(wersja, w)) << wersja;
    return Formatuj("zuv_%d_%d_%d_%d", {w[0], w[1], w[2], w[3]});
}

std::string CzytajPlik(const std::filesystem::path& sciezka) {
    std::ifstream plik(sciezka, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(plik), {});
}

// The lines of a NUL-free text by another road than the program's: every break made an LF,
// then cut at LF.
V LinieWzorcowe(std::string tekst) {
    std::string lf;
    for (std::size_t i = 0; i < tekst.size(); ++i) {
        if (tekst[i] == '\r' && i + 1 < tekst.size() && tekst[i + 1] == '\n') continue;
        lf += tekst[i] == '\r' ? '\n' : tekst[i];
    }
    V linie;
    std::size_t poczatek = 0;
    for (std::size_t koniec = lf.find('\n'); koniec != std::string::npos;
         koniec = lf.find('\n', poczatek)) {
        linie.push_back(lf.substr(poczatek, koniec - poczatek));
        poczatek = koniec + 1;
    }
    if (poczatek < lf.size()) linie.push_back(lf.substr(poczatek));
    return linie;
}

V Wczytaj(std::string_view nazwa) {
    ListaLinii lista;
    WczytajZasob(nazwa, lista);
    return V(lista.begin(), lista.end());
}

}  // namespace

TEST(WczytajZasob, EveryLinkedPackageIsItsFileByteForByteCutAtEveryBreak) {
    int pliki = 0;
    int zSamotnymCR = 0;
    for (const auto& wpis : std::filesystem::directory_iterator(ZUV_KATALOG_PAKIETOW)) {
        if (wpis.path().extension() != ".sql") continue;
        ++pliki;
        const std::string nazwa = wpis.path().stem().string();
        SCOPED_TRACE(nazwa);
        const std::string bajty = CzytajPlik(wpis.path());
        ASSERT_EQ(bajty.find('\0'), std::string::npos);

        const auto zasob = ZnajdzZasob(nazwa);
        ASSERT_TRUE(zasob.has_value());
        EXPECT_TRUE(*zasob == bajty)
            << "linked " << zasob->size() << " bytes, file " << bajty.size();

        std::string malymi = nazwa;
        std::ranges::transform(malymi, malymi.begin(),
                               [](unsigned char z) { return static_cast<char>(std::tolower(z)); });
        EXPECT_EQ(Wczytaj(malymi), LinieWzorcowe(bajty));
        for (std::size_t i = bajty.find('\r'); i != std::string::npos; i = bajty.find('\r', i + 1))
            if (i + 1 == bajty.size() || bajty[i + 1] != '\n') {
                ++zSamotnymCR;
                break;
            }
    }
    EXPECT_EQ(pliki, static_cast<int>(NazwyZasobow().size()));
    // The older packages end some lines in a bare CR; the test means little without one.
    EXPECT_GT(zSamotnymCR, 0);
}

TEST(WczytajZasob, LookupIgnoresCaseOnly) {
    const V linie = Wczytaj("ZUV_9_5_0_10");
    ASSERT_FALSE(linie.empty());
    EXPECT_EQ(Wczytaj("zuv_9_5_0_10"), linie);
    EXPECT_EQ(Wczytaj("Zuv_9_5_0_10"), linie);
}

TEST(WczytajZasob, MissingPackageRaisesAndKeepsTheList) {
    for (const char* nazwa : {"zuv_1_2_3_4", "zuv_9_5_0_1", "zuv_9_5_0_100", "zuv_9_5_0_10.sql",
                              " zuv_9_5_0_10", "zuv_9_5_0_1O", ""}) {
        SCOPED_TRACE(nazwa);
        ListaLinii lista;
        lista.Dodaj("keep");
        lista.Dodaj("");
        try {
            WczytajZasob(nazwa, lista);
            ADD_FAILURE() << "no error";
        } catch (const EResNotFound& e) {
            EXPECT_EQ(e.Komunikat(), "Resource " + std::string(nazwa) + " not found");
        }
        EXPECT_EQ(V(lista.begin(), lista.end()), (V{"keep", ""}));
    }
}

TEST(Pakiety, EveryCatalogueVersionHasItsPackage) {
    for (const std::string_view wersja : KatalogWersji) {
        SCOPED_TRACE(wersja);
        const auto zasob = ZnajdzZasob(NazwaPakietu(wersja));
        ASSERT_TRUE(zasob.has_value());
        EXPECT_FALSE(Przytnij(*zasob).empty());
    }
}

// What the runner and the chain of packages rely on in every linked-in package: the opening
// batch accepts the previous catalogue version and its own, the closing batch records its own,
// the last line is a separator, no batch is blank, each batch holds the encryption marker at most
// once and every generation marker carries a number.
TEST(Pakiety, EachPackageOpensAcceptingItsPredecessorAndClosesRecordingItself) {
    std::string_view poprzednia = WersjaPrzedKatalogiem;
    for (const std::string_view wersja : KatalogWersji) {
        SCOPED_TRACE(wersja);
        ListaLinii linie;
        WczytajZasob(NazwaPakietu(wersja), linie);
        ASSERT_GT(linie.Liczba(), 0u);
        EXPECT_TRUE(JestSeparatorem(linie[linie.Liczba() - 1]));

        V partie;
        PodzielNaPartie(linie, [&](std::string& partia, std::int32_t) {
            EXPECT_FALSE(Przytnij(partia).empty()) << "blank batch " << partie.size() + 1;
            if (ZamienZnacznikSzyfrowania(partia)) {
                EXPECT_FALSE(ZamienZnacznikSzyfrowania(partia))
                    << "second marker in batch " << partie.size() + 1;
            }
            EXPECT_NO_THROW(SpelniaMinSQL(2000, partia)) << "batch " << partie.size() + 1;
            partie.push_back(partia);
        });
        ASSERT_GE(partie.size(), 2u);
        EXPECT_NE(partie.front().find("set @wersja_aktualna   = '" + std::string(wersja) + "'"),
                  std::string::npos);
        EXPECT_NE(partie.front().find("set @wersja_poprzednia = '" + std::string(poprzednia) + "'"),
                  std::string::npos);
        EXPECT_NE(partie.back().find("set wartosc = '" + std::string(wersja) + "'"),
                  std::string::npos);
        poprzednia = wersja;
    }
}
