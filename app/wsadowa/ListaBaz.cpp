#include "app/wsadowa/ListaBaz.h"

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string_view>
#include <tuple>

#include "app/wsadowa/OpcjeWsadowe.h"
#include "app/wsadowa/platforma/PlikPrywatny.h"
#include "common/Tekst.h"
#include "db/Kodowanie.h"

namespace zuv {

namespace {

using Klucz = std::tuple<std::string, std::string, std::string>;

std::string BezBlankow(std::string_view tekst) {
    const auto pierwszy = tekst.find_first_not_of(" \t");
    if (pierwszy == std::string_view::npos) return {};
    const auto ostatni = tekst.find_last_not_of(" \t");
    return std::string(tekst.substr(pierwszy, ostatni - pierwszy + 1));
}

// The mark Windows Notepad puts at the start of a file it saves as UTF-8.
constexpr std::string_view ZnacznikUtf8 = "\xEF\xBB\xBF";

// Whether the connection will take the text: it converts every text to UTF-16 by this rule, and a
// byte it refuses would end the log-in as a connection error, after the other databases began.
bool JestUtf8(std::string_view tekst) {
    try {
        Utf8NaUtf16(tekst);
        return true;
    } catch (const EOleException&) {
        return false;
    }
}

// The file's lines without their line ends (LF or CR LF) and without a leading byte order mark,
// each checked to be UTF-8. Paths are UTF-8 on every system. The refusal names the line only: a
// line of a password file holds a password.
std::vector<std::string> Wiersze(const std::string& plik) {
    const std::u8string sciezka(plik.begin(), plik.end());
    std::ifstream strumien(std::filesystem::path(sciezka), std::ios::binary);
    if (!strumien) throw EBladArgumentow(Formatuj("Nie można otworzyć pliku %s.", {plik}));
    std::vector<std::string> wiersze;
    std::string wiersz;
    while (std::getline(strumien, wiersz)) {
        if (wiersze.empty() && wiersz.starts_with(ZnacznikUtf8))
            wiersz.erase(0, ZnacznikUtf8.size());
        if (!wiersz.empty() && wiersz.back() == '\r') wiersz.pop_back();
        if (!JestUtf8(wiersz))
            throw EBladArgumentow(
                Formatuj("%s:%d: wiersz nie jest zapisany w UTF-8; zapisz plik w kodowaniu UTF-8.",
                         {plik, static_cast<std::int64_t>(wiersze.size() + 1)}));
        wiersze.push_back(std::move(wiersz));
    }
    if (strumien.bad()) throw EBladArgumentow(Formatuj("Błąd odczytu pliku %s.", {plik}));
    return wiersze;
}

bool Pomijany(std::string_view wiersz) {
    const std::string tresc = BezBlankow(wiersz);
    return tresc.empty() || tresc.front() == '#';
}

// serwer;baza;uzytkownik at the start of a line. With `reszta` a fourth field follows the third
// ";" and runs to the line's end, kept as it stands; without it the line ends after the third.
Klucz CzytajKlucz(const std::string& wiersz, const std::string& plik, std::size_t numer,
                  std::string* reszta) {
    const auto blad = [&] {
        // A password file's line is never repeated: it holds a password.
        return EBladArgumentow(
            Formatuj(reszta != nullptr ? "%s:%d: oczekiwano serwer;baza;uzytkownik;haslo."
                                       : "%s:%d: oczekiwano serwer;baza;uzytkownik, jest \"%s\".",
                     {plik, static_cast<std::int64_t>(numer), wiersz}));
    };
    const std::size_t pierwszy = wiersz.find(';');
    const std::size_t drugi =
        pierwszy == std::string::npos ? std::string::npos : wiersz.find(';', pierwszy + 1);
    if (drugi == std::string::npos) throw blad();
    std::size_t koniecTrzeciego = wiersz.find(';', drugi + 1);
    if (reszta != nullptr) {
        if (koniecTrzeciego == std::string::npos) throw blad();
        *reszta = wiersz.substr(koniecTrzeciego + 1);
    } else {
        if (koniecTrzeciego != std::string::npos) throw blad();
        koniecTrzeciego = wiersz.size();
    }
    const std::string_view tekst(wiersz);
    Klucz klucz{BezBlankow(tekst.substr(0, pierwszy)),
                BezBlankow(tekst.substr(pierwszy + 1, drugi - pierwszy - 1)),
                BezBlankow(tekst.substr(drugi + 1, koniecTrzeciego - drugi - 1))};
    if (std::get<0>(klucz).empty() || std::get<1>(klucz).empty() || std::get<2>(klucz).empty())
        throw blad();
    return klucz;
}

void SprawdzPrywatnosc(const std::string& plik) {
    if (const auto odmowa = SprawdzPlikPrywatny(plik)) throw EBladArgumentow(*odmowa);
}

}  // namespace

std::vector<BazaDoAktualizacji> WczytajListeBaz(const std::string& lista,
                                                const std::string& plikHasel) {
    SprawdzPrywatnosc(plikHasel);
    std::map<Klucz, std::string> hasla;
    const std::vector<std::string> wierszeHasel = Wiersze(plikHasel);
    for (std::size_t i = 0; i < wierszeHasel.size(); ++i) {
        if (Pomijany(wierszeHasel[i])) continue;
        std::string haslo;
        const Klucz klucz = CzytajKlucz(wierszeHasel[i], plikHasel, i + 1, &haslo);
        if (!hasla.emplace(klucz, std::move(haslo)).second)
            throw EBladArgumentow(Formatuj("%s:%d: ta baza ma już hasło w wierszu wyżej.",
                                           {plikHasel, static_cast<std::int64_t>(i + 1)}));
    }

    std::vector<BazaDoAktualizacji> bazy;
    std::map<std::pair<std::string, std::string>, std::size_t> wystapienia;
    const std::vector<std::string> wierszeListy = Wiersze(lista);
    for (std::size_t i = 0; i < wierszeListy.size(); ++i) {
        if (Pomijany(wierszeListy[i])) continue;
        const std::int64_t numer = static_cast<std::int64_t>(i + 1);
        auto [serwer, baza, uzytkownik] = CzytajKlucz(wierszeListy[i], lista, i + 1, nullptr);
        // Two updaters of one database would only wait for each other's lock.
        if (const auto [wpis, nowa] = wystapienia.emplace(std::pair{serwer, baza}, i + 1); !nowa)
            throw EBladArgumentow(
                Formatuj("%s:%d: baza %s.%s jest już na liście w wierszu %d.",
                         {lista, numer, serwer, baza, static_cast<std::int64_t>(wpis->second)}));
        const auto haslo = hasla.find({serwer, baza, uzytkownik});
        if (haslo == hasla.end())
            throw EBladArgumentow(Formatuj("%s:%d: brak hasła dla %s;%s;%s w pliku %s.",
                                           {lista, numer, serwer, baza, uzytkownik, plikHasel}));
        bazy.push_back({std::move(serwer), std::move(baza), std::move(uzytkownik), haslo->second});
    }
    if (bazy.empty()) throw EBladArgumentow(Formatuj("Lista %s nie zawiera żadnej bazy.", {lista}));
    return bazy;
}

std::string WczytajHasloZPliku(const std::string& plik) {
    SprawdzPrywatnosc(plik);
    const std::vector<std::string> wiersze = Wiersze(plik);
    if (wiersze.empty() || wiersze.front().empty())
        throw EBladArgumentow(Formatuj("Plik hasła %s jest pusty.", {plik}));
    return wiersze.front();
}

}  // namespace zuv
