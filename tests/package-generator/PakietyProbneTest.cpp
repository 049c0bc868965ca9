// The committed sample packages (packages/data): one per catalogue version, each keeping every
// convention of the package format, and equal to what the generator makes now.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>

#include "GeneratorPakietow.h"
#include "KonwencjePakietu.h"
#include "versions/KatalogWersji.h"

using namespace zuv;
using namespace generator;

namespace {

const std::filesystem::path Katalog = KATALOG_DANYCH_PAKIETOW;

std::string NazwaPliku(std::string_view wersja) {
    std::string nazwa = "ZUV_";
    for (char c : wersja) nazwa += c == '.' ? '_' : c;
    return nazwa + ".sql";
}

std::string Wczytaj(const std::filesystem::path& sciezka) {
    std::ifstream plik(sciezka, std::ios::binary);
    std::ostringstream bufor;
    bufor << plik.rdbuf();
    return bufor.str();
}

// The 39 packages, read once; the tests only read them.
const std::vector<std::unique_ptr<Pakiet>>& Pakiety() {
    static const std::vector<std::unique_ptr<Pakiet>> pakiety = [] {
        std::vector<std::unique_ptr<Pakiet>> wynik;
        for (std::string_view wersja : KatalogWersji)
            wynik.push_back(
                std::make_unique<Pakiet>(wersja, Wczytaj(Katalog / NazwaPliku(wersja))));
        return wynik;
    }();
    return pakiety;
}

TEST(PakietyProbne, KazdaWersjaKataloguMaSwojPlikINicWiecej) {
    std::set<std::string> pliki;
    for (const auto& wpis : std::filesystem::directory_iterator(Katalog))
        pliki.insert(wpis.path().filename().string());
    std::set<std::string> oczekiwane;
    for (std::string_view wersja : KatalogWersji) oczekiwane.insert(NazwaPliku(wersja));
    EXPECT_EQ(pliki, oczekiwane);
}

TEST(PakietyProbne, SaTymSamymCoGeneratorTworzyTeraz) {
    for (const auto& p : Pakiety()) {
        SCOPED_TRACE(p->wersja);
        const std::string wygenerowany = GenerujPakiet(p->wersja, RozmiarPakietu::Probny);
        EXPECT_TRUE(wygenerowany == p->bajty)
            << "packages/data jest nieaktualny: uruchom package-generator --out packages/data";
    }
}

TEST(PakietyProbne, MajaKilkadziesiatKilobajtowRosnacychZWersja) {
    for (const auto& p : Pakiety()) {
        SCOPED_TRACE(p->wersja);
        EXPECT_GE(p->bajty.size(), 20000u);
        EXPECT_LE(p->bajty.size(), 60000u);
    }
    const Figury pierwszy = Zmierz(Pakiety().front()->bajty);
    const Figury ostatni = Zmierz(Pakiety().back()->bajty);
    EXPECT_LT(pierwszy.procedury, ostatni.procedury);
    EXPECT_LT(pierwszy.funkcje, ostatni.funkcje);
    EXPECT_LT(pierwszy.wyzwalacze, ostatni.wyzwalacze);
}

TEST(PakietyProbne, SaWStronie1250ZCRLFISamotnymiCRDo10_17) {
    for (const auto& p : Pakiety()) SprawdzBajtyIKonceWierszy(*p);
}

TEST(PakietyProbne, PartiaOtwierajacaPrzyjmujePoprzedniaIWlasnaWersje) {
    for (const auto& p : Pakiety()) SprawdzPartieOtwierajaca(*p);
}

TEST(PakietyProbne, PartiaZamykajacaZapisujeWlasnaWersjeIKonczyPakiet) {
    for (const auto& p : Pakiety()) SprawdzPartieZamykajaca(*p);
}

TEST(PakietyProbne, SeparatoryIPartieSpelniajaRegulyProgramu) {
    for (const auto& p : Pakiety()) SprawdzSeparatoryIPartie(*p);
}

TEST(PakietyProbne, ZestawZawieraKazdaFormeSeparatora) {
    std::map<std::string, int> formy;
    for (const auto& p : Pakiety())
        for (const auto& [forma, ile] : SprawdzSeparatoryIPartie(*p)) formy[forma] += ile;
    for (const std::string& forma :
         std::vector<std::string>{"GO", "GO ", "GO     ", "GO      ", "GO       ", "go", "go ",
                                  "go" + std::string(23, ' ')})
        EXPECT_GT(formy[forma], 0) << "[" << forma << "]";
    EXPECT_EQ(formy["go" + std::string(84, ' ')], 39);
    EXPECT_EQ(formy["go" + std::string(76, ' ')], 39);
    EXPECT_GE(formy["go "], 39);
}

TEST(PakietyProbne, ZnacznikSzyfrowaniaStoiTamGdzieWithEncryption) {
    for (const auto& p : Pakiety()) SprawdzZnacznikiSzyfrowania(*p);
}

TEST(PakietyProbne, ZnacznikGeneracjiOdWersji9_2_0_1) {
    for (const auto& p : Pakiety()) SprawdzZnacznikiGeneracji(*p);
}

TEST(PakietyProbne, FunkcjaWersjiSerweraWWariancieSwojejWersji) {
    for (const auto& p : Pakiety()) SprawdzFunkcjeWersjiSerwera(*p);
}

TEST(PakietyProbne, SekcjeStojaWUstalonejKolejnosci) {
    for (const auto& p : Pakiety()) SprawdzSekcje(*p);
}

TEST(PakietyProbne, FlagaAktualizacjiIKopiaWzorcaWyzwalacza) {
    for (const auto& p : Pakiety()) SprawdzObiektySesjiIWzorca(*p);
}

}  // namespace
