#pragma once
// What the package checker found. Errors are what would stop the program on a package at run
// time or break the chain of versions; warnings are text that the program reads otherwise than it
// looks. Each remark names its file and line and says what is wrong in a short Polish text.

#include <cstddef>
#include <map>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zuv {

enum class RodzajUwagi {
    // Errors.
    BrakPakietu,
    PlikSpozaKatalogu,
    PowtorzonaNazwaZasobu,
    NieczytelnyPlik,
    BajtNieokreslony,
    ZnacznikUtf8,
    PustaPartia,
    NieczytelnyZnacznikGeneracji,
    BrakSeparatora,
    WersjePartiiOtwierajacej,
    WersjaPartiiZamykajacej,
    // Warnings.
    PodobnaDoSeparatora,
    InnyZnacznikSzyfrowania,
    DrugiZnacznikSzyfrowania,
    TekstPoOstatnimSeparatorze,
    TekstPoBajcieNul,
    SamotnyLF,
    TekstUtf8,
    ZnacznikGeneracjiPonizejProgu,
    NieczytelnaPartiaOtwierajaca,
    NieczytelnaPartiaZamykajaca,
};

bool JestBledem(RodzajUwagi rodzaj) noexcept;

struct Uwaga {
    RodzajUwagi rodzaj;
    std::string plik;
    std::size_t wiersz;  // from 1; 0 when the remark concerns the file as a whole
    std::string tekst;   // UTF-8
};

class RaportPakietow {
  public:
    // Of one kind in one file, this many remarks are kept; the rest are only counted, so that a
    // package saved in a wrong code page does not bury every other remark.
    static constexpr std::size_t NajwiecejJednegoRodzaju = 10;

    void Dodaj(RodzajUwagi rodzaj, std::string_view plik, std::size_t wiersz, std::string tekst);

    // The kept remarks, in the order they were made.
    const std::vector<Uwaga>& Uwagi() const noexcept { return uwagi_; }
    // All errors and all warnings, those beyond the kept ones included.
    std::size_t Bledy() const noexcept { return bledy_; }
    std::size_t Ostrzezenia() const noexcept { return ostrzezenia_; }

    // One line a remark, "plik:wiersz: błąd: tekst" (or "ostrzeżenie"), the form compilers use so
    // that editors can jump to it; then one line for each kind with remarks left out.
    void Wypisz(std::ostream& wyjscie) const;

  private:
    std::vector<Uwaga> uwagi_;
    std::map<std::pair<std::string, RodzajUwagi>, std::size_t> liczby_;
    std::size_t bledy_ = 0;
    std::size_t ostrzezenia_ = 0;
};

// A line of a package, as it may be quoted in a remark: printable ASCII as it is, every other
// byte as \xNN, at most 60 bytes of it.
std::string Cytat(std::string_view linia);

}  // namespace zuv
