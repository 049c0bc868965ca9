// A folder of packages checked as a whole: the shipped samples, and copies of them with one
// fault each.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "packages/checker/SprawdzenieKatalogu.h"

using namespace zuv;
namespace fs = std::filesystem;

namespace {

const fs::path Probki = ZUV_PROBKI_PAKIETOW;

// A copy of the sample folder in a folder of the test's own, removed afterwards.
class KopiaProbek {
  public:
    explicit KopiaProbek(const std::string& nazwa)
        : katalog_(fs::temp_directory_path() / ("sprawdz-pakiety-" + nazwa)) {
        fs::remove_all(katalog_);
        fs::copy(Probki, katalog_);
    }
    ~KopiaProbek() { fs::remove_all(katalog_); }
    const fs::path& operator()() const { return katalog_; }
    void Zapisz(const std::string& plik, const std::string& tekst) const {
        std::ofstream(katalog_ / plik, std::ios::binary) << tekst;
    }

  private:
    fs::path katalog_;
};

struct Znalezione {
    RodzajUwagi rodzaj;
    std::string plik;
    std::string tekst;
};

std::vector<Znalezione> Sprawdz(const fs::path& katalog, FiguryPakietow* figury = nullptr) {
    RaportPakietow raport;
    const FiguryPakietow f = SprawdzKatalogPakietow(katalog, raport);
    if (figury != nullptr) *figury = f;
    std::vector<Znalezione> wynik;
    for (const Uwaga& u : raport.Uwagi())
        wynik.push_back({u.rodzaj, fs::path(u.plik).filename().string(), u.tekst});
    return wynik;
}

TEST(SprawdzKatalogPakietow, ProbkiSaBezUwag) {
    FiguryPakietow figury;
    const auto uwagi = Sprawdz(Probki, &figury);
    for (const Znalezione& u : uwagi) ADD_FAILURE() << u.plik << ": " << u.tekst;
    EXPECT_EQ(figury.pakiety, 39u);
    EXPECT_GT(figury.partie, 39u * 2);
    EXPECT_GT(figury.znacznikiGeneracji, 0u);
}

TEST(SprawdzKatalogPakietow, BrakujacyIObcyPlikNazwaneZWersja) {
    const KopiaProbek kopia("brak");
    fs::remove(kopia() / "ZUV_9_5_0_10.sql");
    kopia.Zapisz("ZUV_11_6_0_0.sql", "go\r\n");
    kopia.Zapisz(".gitattributes", "* binary\n");
    const auto uwagi = Sprawdz(kopia());
    // 9.6.0.26 still accepts 9.5.0.10: the chain is checked against the catalogue, not the folder.
    ASSERT_EQ(uwagi.size(), 2u);
    EXPECT_EQ(uwagi[0].rodzaj, RodzajUwagi::PlikSpozaKatalogu);
    EXPECT_EQ(uwagi[0].plik, "ZUV_11_6_0_0.sql");
    EXPECT_EQ(uwagi[1].rodzaj, RodzajUwagi::BrakPakietu);
    EXPECT_NE(uwagi[1].tekst.find("9.5.0.10"), std::string::npos);
}

TEST(SprawdzKatalogPakietow, DwaPlikiJednejNazwyZasobu) {
    const KopiaProbek kopia("nazwa");
    kopia.Zapisz("zuv_8_1_0_0.txt", "go\r\n");
    const auto uwagi = Sprawdz(kopia());
    ASSERT_EQ(uwagi.size(), 1u);
    EXPECT_EQ(uwagi[0].rodzaj, RodzajUwagi::PowtorzonaNazwaZasobu);
    EXPECT_NE(uwagi[0].tekst.find("ZUV_8_1_0_0"), std::string::npos);
}

TEST(SprawdzKatalogPakietow, PakietZPrzerwanymLancuchemWersji) {
    const KopiaProbek kopia("lancuch");
    // 8.3.0.1 shipped in place of 8.2.0.6: it accepts 8.2.0.6, where 8.1.0.0 precedes it.
    fs::copy_file(Probki / "ZUV_8_3_0_1.sql", kopia() / "ZUV_8_2_0_6.sql",
                  fs::copy_options::overwrite_existing);
    std::vector<RodzajUwagi> rodzaje;
    for (const Znalezione& u : Sprawdz(kopia())) {
        EXPECT_EQ(u.plik, "ZUV_8_2_0_6.sql");
        rodzaje.push_back(u.rodzaj);
    }
    EXPECT_EQ(rodzaje, (std::vector{RodzajUwagi::WersjePartiiOtwierajacej,
                                    RodzajUwagi::WersjePartiiOtwierajacej,
                                    RodzajUwagi::WersjaPartiiZamykajacej}));
}

}  // namespace
