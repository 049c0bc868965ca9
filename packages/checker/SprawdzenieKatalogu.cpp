#include "packages/checker/SprawdzenieKatalogu.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "common/Tekst.h"
#include "packages/format/NazwaPakietu.h"
#include "versions/KatalogWersji.h"

namespace zuv {

namespace {

std::string WielkimiLiterami(std::string tekst) {
    for (char& znak : tekst)
        if (znak >= 'a' && znak <= 'z') znak = static_cast<char>(znak - 'a' + 'A');
    return tekst;
}

// The resource name of a catalogue version in capitals, as the file names write it.
std::string NazwaZasobu(std::string_view wersja) {
    return WielkimiLiterami(NazwaPakietu(wersja).value_or(std::string(wersja)));
}

std::optional<std::string> Wczytaj(const std::filesystem::path& sciezka) {
    std::ifstream plik(sciezka, std::ios::binary);
    if (!plik) return std::nullopt;
    std::string bajty((std::istreambuf_iterator<char>(plik)), std::istreambuf_iterator<char>());
    if (plik.bad()) return std::nullopt;
    return bajty;
}

}  // namespace

FiguryPakietow SprawdzKatalogPakietow(const std::filesystem::path& katalog,
                                      RaportPakietow& raport) {
    std::vector<std::filesystem::path> pliki;
    for (const auto& wpis : std::filesystem::directory_iterator(katalog)) {
        if (!wpis.is_regular_file() || wpis.path().filename().string().starts_with('.')) continue;
        pliki.push_back(wpis.path());
    }
    std::ranges::sort(pliki);

    std::map<std::string, std::filesystem::path> wedlugNazwy;
    for (const auto& plik : pliki) {
        const std::string nazwa = WielkimiLiterami(plik.stem().string());
        const auto [miejsce, nowa] = wedlugNazwy.emplace(nazwa, plik);
        if (!nowa)
            raport.Dodaj(RodzajUwagi::PowtorzonaNazwaZasobu, plik.string(), 0,
                         Formatuj("plik daje tę samą nazwę zasobu %s co %s: program zna tylko "
                                  "jeden z nich",
                                  {nazwa, miejsce->second.filename().string()}));
    }

    std::map<std::string, std::string_view> wersjeKatalogu;
    for (const std::string_view wersja : KatalogWersji)
        wersjeKatalogu[NazwaZasobu(wersja)] = wersja;
    for (const auto& [nazwa, plik] : wedlugNazwy)
        if (!wersjeKatalogu.contains(nazwa))
            raport.Dodaj(RodzajUwagi::PlikSpozaKatalogu, plik.string(), 0,
                         Formatuj("plik nie jest pakietem żadnej wersji katalogu: program nie "
                                  "szuka zasobu %s",
                                  {nazwa}));

    FiguryPakietow figury;
    std::string_view poprzednia = WersjaPrzedKatalogiem;
    for (const std::string_view wersja : KatalogWersji) {
        const std::string nazwa = NazwaZasobu(wersja);
        const auto plik = wedlugNazwy.find(nazwa);
        if (plik == wedlugNazwy.end()) {
            raport.Dodaj(RodzajUwagi::BrakPakietu, (katalog / (nazwa + ".sql")).string(), 0,
                         Formatuj("brak pakietu wersji %s", {wersja}));
        } else if (const auto bajty = Wczytaj(plik->second); !bajty) {
            raport.Dodaj(RodzajUwagi::NieczytelnyPlik, plik->second.string(), 0,
                         "nie można odczytać pliku");
        } else {
            figury += SprawdzPakiet({plik->second.string(), wersja, poprzednia}, *bajty, raport);
        }
        poprzednia = wersja;
    }
    return figury;
}

}  // namespace zuv
