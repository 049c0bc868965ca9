#include "packages/checker/SprawdzeniePakietu.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "common/Ascii.h"
#include "common/Linie.h"
#include "common/Tekst.h"
#include "common/Wyjatki.h"
#include "db/Tablica1250.h"
#include "packages/checker/CzytnikTSQL.h"
#include "packages/format/FormatPakietu.h"
#include "versions/ObslugaWersji.h"

namespace zuv {

FiguryPakietow& FiguryPakietow::operator+=(const FiguryPakietow& inne) {
    pakiety += inne.pakiety;
    bajty += inne.bajty;
    wiersze += inne.wiersze;
    partie += inne.partie;
    znacznikiSzyfrowania += inne.znacznikiSzyfrowania;
    znacznikiGeneracji += inne.znacznikiGeneracji;
    samotneCR += inne.samotneCR;
    return *this;
}

namespace {

// The identifier inside the encryption marker: a line holding it is meant as a marker.
constexpr std::string_view IdentyfikatorSzyfrowania = "C810A5C6-2053-412E-8618-652E1868305B";
constexpr unsigned char TwardaSpacja = 0xA0;  // non-breaking space in code page 1250

// A byte that continues a word: an ASCII letter, digit or underscore, or a letter of the code
// page (every byte above 127 but the non-breaking space).
bool ZnakSlowa(char znak) {
    const auto bajt = static_cast<unsigned char>(znak);
    return (bajt >= 'A' && bajt <= 'Z') || (bajt >= 'a' && bajt <= 'z') ||
           (bajt >= '0' && bajt <= '9') || bajt == '_' || (bajt > 127 && bajt != TwardaSpacja);
}

bool Bialy(char znak) {
    const auto bajt = static_cast<unsigned char>(znak);
    return bajt <= 32 || bajt == TwardaSpacja;
}

// A line that is not a separator but was likely meant as one: GO with a non-breaking space
// around it, GO followed by anything but a word ("go;", "GO -- koniec", "GO 2"), G and O with
// blanks between them, or GOTO in the first column, where the separators stand.
bool PodobnaDoSeparatora(std::string_view linia) {
    std::size_t poczatek = 0;
    std::size_t koniec = linia.size();
    while (poczatek < koniec && Bialy(linia[poczatek])) ++poczatek;
    while (koniec > poczatek && Bialy(linia[koniec - 1])) --koniec;
    const std::string_view slowo = linia.substr(poczatek, koniec - poczatek);
    if (slowo.size() < 2 || WielkaLiteraAscii(slowo[0]) != 'G') return false;
    if (WielkaLiteraAscii(slowo[1]) == 'O') {
        if (slowo.size() == 2 || !ZnakSlowa(slowo[2])) return true;
        return linia.size() >= 4 && RowneBezWielkosciLiter(linia.substr(0, 4), "GOTO") &&
               (linia.size() == 4 || !ZnakSlowa(linia[4]));
    }
    std::size_t i = 1;
    while (i < slowo.size() && (slowo[i] == ' ' || slowo[i] == '\t')) ++i;
    return i > 1 && i + 1 == slowo.size() && WielkaLiteraAscii(slowo[i]) == 'O';
}

// How many encryption markers the runner would replace in this line. The marker holds no line
// break, so a batch holds as many as its lines together.
int ZnacznikiSzyfrowaniaWLinii(std::string_view linia) {
    std::string kopia(linia);
    int liczba = 0;
    while (ZamienZnacznikSzyfrowania(kopia)) ++liczba;
    return liczba;
}

// The marker as the packages write it: from the first column, in capitals, on a line of its own;
// or so commented out once more ("-- -- ..."), where replacing it changes nothing.
bool ZnacznikWzorcowy(std::string_view linia) {
    while (!linia.empty() && linia.back() == ' ') linia.remove_suffix(1);
    if (linia.starts_with("-- --")) linia.remove_prefix(3);
    return linia == ZnacznikSzyfrowania;
}

// SQL Server's ltrim and rtrim, with which the opening batch compares: blanks only.
std::string_view BezSpacji(std::string_view tekst) {
    while (!tekst.empty() && tekst.front() == ' ') tekst.remove_prefix(1);
    while (!tekst.empty() && tekst.back() == ' ') tekst.remove_suffix(1);
    return tekst;
}

// The length of the UTF-8 sequence of two to four bytes that begins at `p`, or 0 where none does.
std::size_t DlugoscSekwencjiUtf8(std::string_view tekst, std::size_t p) {
    const auto bajt = static_cast<unsigned char>(tekst[p]);
    const std::size_t dlugosc = bajt >= 0xC2 && bajt <= 0xDF   ? 2
                                : bajt >= 0xE0 && bajt <= 0xEF ? 3
                                : bajt >= 0xF0 && bajt <= 0xF4 ? 4
                                                               : 0;
    if (dlugosc == 0 || p + dlugosc > tekst.size()) return 0;
    for (std::size_t i = 1; i < dlugosc; ++i)
        if ((static_cast<unsigned char>(tekst[p + i]) & 0xC0) != 0x80) return 0;
    return dlugosc;
}

constexpr std::string_view ZnacznikKolejnosciUtf8 = "\xEF\xBB\xBF";

class SprawdzaniePakietu {
  public:
    SprawdzaniePakietu(const OpisPakietu& opis, std::string_view bajty, RaportPakietow& raport)
        : opis_(opis), bajty_(bajty), raport_(raport) {}

    FiguryPakietow Sprawdz() {
        figury_.pakiety = 1;
        figury_.bajty = bajty_.size();
        SprawdzKonceWierszy();
        linie_.UstawTekst(bajty_);
        figury_.wiersze = linie_.Liczba();
        for (std::size_t i = 0; i < linie_.Liczba(); ++i)
            if (JestSeparatorem(linie_[i])) separatory_.push_back(i + 1);
        figury_.partie = separatory_.size();
        SprawdzKodowanie();
        if (separatory_.empty())
            Zglos(RodzajUwagi::BrakSeparatora, 0,
                  "brak linii separatora GO: program nie wykona z pakietu niczego");
        SprawdzLinie();
        SprawdzPartie();
        return figury_;
    }

  private:
    void Zglos(RodzajUwagi rodzaj, std::size_t wiersz, std::string tekst) {
        raport_.Dodaj(rodzaj, opis_.plik, wiersz, std::move(tekst));
    }

    // Line breaks as loading takes them (one CR, then one LF, skipped after a line), counted on
    // the bytes, which the line list no longer holds; and a NUL byte, at which loading stops.
    void SprawdzKonceWierszy() {
        std::size_t wiersz = 1;
        std::size_t samotneLF = 0;
        std::size_t pierwszyLF = 0;
        for (std::size_t i = 0; i < bajty_.size(); ++i) {
            const char znak = bajty_[i];
            if (znak == '\r') {
                if (i + 1 < bajty_.size() && bajty_[i + 1] == '\n')
                    ++i;
                else
                    ++figury_.samotneCR;
                ++wiersz;
            } else if (znak == '\n') {
                if (samotneLF++ == 0) pierwszyLF = wiersz;
                ++wiersz;
            } else if (znak == '\0') {
                const std::size_t reszta = bajty_.size() - i - 1;
                if (reszta > 0)
                    Zglos(RodzajUwagi::TekstPoBajcieNul, wiersz,
                          Formatuj("bajt NUL kończy wczytywanie pakietu: %d dalszych bajtów "
                                   "program nie wykona",
                                   {static_cast<long long>(reszta)}));
                break;
            }
        }
        if (samotneLF > 0)
            Zglos(RodzajUwagi::SamotnyLF, pierwszyLF,
                  Formatuj("%d wierszy kończy się samym LF zamiast CR LF (pierwszy tutaj): "
                           "plik zapisano z innymi końcami wierszy",
                           {static_cast<long long>(samotneLF)}));
    }

    void SprawdzLinie() {
        const std::size_t ostatniSeparator = separatory_.empty() ? 0 : separatory_.back();
        int znacznikiWPartii = 0;
        bool tekstPoKoncu = false;
        for (std::size_t i = 0; i < linie_.Liczba(); ++i) {
            const std::string_view linia = linie_[i];
            const std::size_t wiersz = i + 1;
            SprawdzBajty(linia, wiersz);
            if (JestSeparatorem(linia)) {
                if (znacznikiWPartii > 0) ++figury_.znacznikiSzyfrowania;
                znacznikiWPartii = 0;
                continue;
            }
            if (PodobnaDoSeparatora(linia))
                Zglos(RodzajUwagi::PodobnaDoSeparatora, wiersz,
                      "wiersz \"" + Cytat(linia) +
                          "\" wygląda na separator, ale nim nie jest: partia nie zostanie "
                          "w tym miejscu podzielona");
            // Every form of the marker holds these digits; the rest of the lines cannot match.
            if (linia.find("810") != std::string_view::npos)
                SprawdzZnacznikSzyfrowania(linia, wiersz, znacznikiWPartii);
            if (!tekstPoKoncu && wiersz > ostatniSeparator && !separatory_.empty() &&
                !Przytnij(linia).empty()) {
                tekstPoKoncu = true;
                Zglos(RodzajUwagi::TekstPoOstatnimSeparatorze, wiersz,
                      "tekst po ostatniej linii separatora: program go nie wykona");
            }
        }
    }

    // A file saved in UTF-8 rather than code page 1250: its byte-order mark reaches the server as
    // three letters before the first statement, and each Polish letter as two other characters.
    // Text in code page 1250 with Polish letters is almost never valid UTF-8, so one byte that
    // begins no UTF-8 sequence ends the search.
    void SprawdzKodowanie() {
        const bool bom = bajty_.starts_with(ZnacznikKolejnosciUtf8);
        if (bom)
            Zglos(RodzajUwagi::ZnacznikUtf8, 1,
                  "plik zaczyna się znacznikiem kolejności bajtów UTF-8 (EF BB BF): serwer "
                  "dostanie go jako tekst przed pierwszą instrukcją");
        std::size_t pierwszy = 0;
        for (std::size_t i = 0; i < linie_.Liczba(); ++i) {
            const std::string_view linia = linie_[i];
            for (std::size_t p = i == 0 && bom ? ZnacznikKolejnosciUtf8.size() : 0;
                 p < linia.size(); ++p) {
                if (static_cast<unsigned char>(linia[p]) < 0x80) continue;
                const std::size_t dlugosc = DlugoscSekwencjiUtf8(linia, p);
                if (dlugosc == 0) return;
                if (pierwszy == 0) pierwszy = i + 1;
                p += dlugosc - 1;
            }
        }
        if (pierwszy > 0)
            Zglos(RodzajUwagi::TekstUtf8, pierwszy,
                  "plik wygląda na zapisany w UTF-8, a nie w stronie kodowej 1250: polskie "
                  "litery dotrą do serwera jako po dwa inne znaki");
    }

    void SprawdzBajty(std::string_view linia, std::size_t wiersz) {
        for (const char znak : linia) {
            const auto bajt = static_cast<unsigned char>(znak);
            // The bytes the conversion of a command text refuses.
            if (Tablica1250[bajt] != BrakZnaku) continue;
            char kod[8];
            std::snprintf(kod, sizeof kod, "0x%02X", bajt);
            Zglos(RodzajUwagi::BajtNieokreslony, wiersz,
                  Formatuj("bajt %s nie jest znakiem strony kodowej 1250: program przerwie "
                           "pakiet na partii, która go zawiera",
                           {kod}));
        }
    }

    void SprawdzZnacznikSzyfrowania(std::string_view linia, std::size_t wiersz,
                                    int& znacznikiWPartii) {
        const int liczba = ZnacznikiSzyfrowaniaWLinii(linia);
        if (liczba > 0 && !ZnacznikWzorcowy(linia))
            Zglos(RodzajUwagi::InnyZnacznikSzyfrowania, wiersz,
                  "znacznik szyfrowania w innej postaci niż osobny wiersz od pierwszej kolumny, "
                  "wielkimi literami");
        if (liczba == 0 && ZawieraBezWielkosciLiter(linia, IdentyfikatorSzyfrowania))
            Zglos(RodzajUwagi::InnyZnacznikSzyfrowania, wiersz,
                  "wiersz przypomina znacznik szyfrowania, ale program go nie zamieni: obiekt "
                  "powstanie bez WITH ENCRYPTION");
        if (znacznikiWPartii < 2 && znacznikiWPartii + liczba >= 2)
            Zglos(RodzajUwagi::DrugiZnacznikSzyfrowania, wiersz,
                  "drugi znacznik szyfrowania w partii: program zamienia tylko pierwszy");
        znacznikiWPartii += liczba;
    }

    void SprawdzPartie() {
        const bool ponizejProgu = !WersjaWiekszaLubRowna(opis_.wersja, PierwszaWersjaZGeneracja);
        PodzielNaPartie(linie_, [&](std::string& partia, std::int32_t numer) {
            const auto indeks = static_cast<std::size_t>(numer - 1);
            const std::size_t separator = separatory_[indeks];
            const std::size_t pierwszy = indeks == 0 ? 1 : separatory_[indeks - 1] + 1;
            if (partia.empty())
                Zglos(RodzajUwagi::PustaPartia, separator,
                      "pusta partia (dwie linie separatora pod rząd): program zatrzyma się "
                      "na \"Missing SQL property\"");
            SprawdzZnacznikGeneracji(partia, pierwszy, ponizejProgu);
            if (numer == 1) SprawdzPartieOtwierajaca(pierwszy, separator);
            if (indeks + 1 == separatory_.size()) SprawdzPartieZamykajaca(pierwszy, separator);
        });
    }

    void SprawdzZnacznikGeneracji(const std::string& partia, std::size_t pierwszy,
                                  bool ponizejProgu) {
        const std::size_t pozycja = partia.find(ZnacznikGeneracji);
        if (pozycja == std::string::npos) return;
        ++figury_.znacznikiGeneracji;
        // A batch is CR LF before each of its lines, so the LFs before a position count its line.
        const auto wiersz =
            pierwszy - 1 +
            static_cast<std::size_t>(std::count(
                partia.begin(), partia.begin() + static_cast<std::ptrdiff_t>(pozycja), '\n'));
        bool wykonana;
        try {
            wykonana = SpelniaMinSQL(GeneracjaDomyslna, partia);
        } catch (const EConvertError& blad) {
            Zglos(RodzajUwagi::NieczytelnyZnacznikGeneracji, wiersz,
                  "nieczytelny numer generacji w znaczniku " + std::string(ZnacznikGeneracji) +
                      ": program przerwie pakiet błędem " + blad.Komunikat());
            return;
        }
        if (ponizejProgu && !wykonana)
            Zglos(RodzajUwagi::ZnacznikGeneracjiPonizejProgu, wiersz,
                  Formatuj("znacznik generacji w pakiecie sprzed wersji %s: program nie pyta tu "
                           "serwera o generację (przyjmuje %d) i zawsze pominie tę partię",
                           {PierwszaWersjaZGeneracja, GeneracjaDomyslna}));
    }

    // The opening batch lets through the previous and the own version, blanks trimmed. Its
    // statements are read as T-SQL: an assignment in any layout counts; a wrong version is an
    // error, for the chain of versions certainly breaks there; an assignment the checker cannot
    // read, or none at all, is a warning that says so.
    void SprawdzPartieOtwierajaca(std::size_t pierwszy, std::size_t separator) {
        const std::vector<TokenTSQL> tokeny = TokenyTSQL(linie_, pierwszy, separator);
        const std::pair<std::string_view, std::string_view> oczekiwane[] = {
            {"@wersja_aktualna", opis_.wersja}, {"@wersja_poprzednia", opis_.wersjaPoprzednia}};
        for (const auto& [zmienna, wersja] : oczekiwane) {
            const std::vector<PrzypisanieTSQL> przypisania = PrzypisaniaZmiennej(tokeny, zmienna);
            for (const PrzypisanieTSQL& p : przypisania) {
                if (!p.napis)
                    Zglos(RodzajUwagi::NieczytelnaPartiaOtwierajaca, p.wiersz,
                          Formatuj("partia otwierająca przypisuje %s wyrażenie, którego "
                                   "sprawdzarka nie odczyta (%s); oczekiwana wersja %s",
                                   {zmienna, Cytat(p.wyrazenie), wersja}));
                else if (BezSpacji(*p.napis) != wersja)
                    Zglos(RodzajUwagi::WersjePartiiOtwierajacej, p.wiersz,
                          Formatuj("partia otwierająca ustawia %s na '%s', a łańcuch wersji "
                                   "katalogu wymaga '%s'",
                                   {zmienna, Cytat(*p.napis), wersja}));
            }
            if (przypisania.empty())
                Zglos(RodzajUwagi::NieczytelnaPartiaOtwierajaca, pierwszy,
                      Formatuj("partia otwierająca nie przypisuje %s w żadnej znanej postaci "
                               "(SET, SELECT, DECLARE); oczekiwana wersja %s",
                               {zmienna, wersja}));
        }
    }

    // The closing batch records the own version, exactly as the catalogue writes it: the next
    // package's opening batch compares it as text. Read as T-SQL, as the opening batch is.
    void SprawdzPartieZamykajaca(std::size_t pierwszy, std::size_t separator) {
        const std::vector<PrzypisanieTSQL> przypisania =
            PrzypisaniaKolumny(TokenyTSQL(linie_, pierwszy, separator), "wartosc");
        for (const PrzypisanieTSQL& p : przypisania) {
            if (!p.napis)
                Zglos(RodzajUwagi::NieczytelnaPartiaZamykajaca, p.wiersz,
                      Formatuj("partia zamykająca zapisuje wartosc wyrażeniem, którego "
                               "sprawdzarka nie odczyta (%s); oczekiwana wersja %s",
                               {Cytat(p.wyrazenie), opis_.wersja}));
            else if (*p.napis != opis_.wersja)
                Zglos(RodzajUwagi::WersjaPartiiZamykajacej, p.wiersz,
                      Formatuj("partia zamykająca zapisuje wersję '%s', a pakiet jest wersji %s",
                               {Cytat(*p.napis), opis_.wersja}));
        }
        if (przypisania.empty())
            Zglos(RodzajUwagi::NieczytelnaPartiaZamykajaca, pierwszy,
                  Formatuj("partia zamykająca nie zapisuje wersji w żadnej znanej postaci "
                           "(UPDATE ... SET wartosc = '%s')",
                           {opis_.wersja}));
    }

    const OpisPakietu& opis_;
    std::string_view bajty_;
    RaportPakietow& raport_;
    FiguryPakietow figury_;
    ListaLinii linie_;
    std::vector<std::size_t> separatory_;  // their line numbers, from 1
};

}  // namespace

FiguryPakietow SprawdzPakiet(const OpisPakietu& opis, std::string_view bajty,
                             RaportPakietow& raport) {
    return SprawdzaniePakietu(opis, bajty, raport).Sprawdz();
}

}  // namespace zuv
