#pragma once
// The tests' second reading of a package, written apart from the program's own
// (packages/format/FormatPakietu.h) so that the two check each other: lines cut at CR LF, a
// lone CR or a lone LF; separator lines that trim (bytes 0 to 32) to GO in any case; batches
// between them. Its functions carry "DrugiOdczyt" in their names for that reason.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "ObiektBazy.h"

std::vector<std::string_view> PodzielNaWiersze(std::string_view tekst);
bool JestSeparatoremDrugiOdczyt(std::string_view wiersz);

struct Partia {
    std::vector<std::string_view> wiersze;
    std::string_view separator;
    std::size_t numerSeparatora = 0;  // line number of the separator, from 1
    // The batch as the runner sends it: CR LF before every line.
    std::size_t Znaki() const;
    std::string Tekst() const;
    // The first line that is neither blank nor a "--" comment.
    std::string_view PierwszyWierszKodu() const;
};

// Lines after the last separator are not a batch (the packages have none).
std::vector<Partia> PodzielNaPartieDrugiOdczyt(const std::vector<std::string_view>& wiersze);

// Where a T-SQL text ends: inside a quoted literal, inside block comments, or in plain code.
struct StanLeksykalny {
    bool wLiterale = false;
    int glebokoscKomentarza = 0;
};
StanLeksykalny StanNaKoncu(std::string_view tekst);

enum class RodzajPartii { Procedura, Funkcja, Wyzwalacz, Inna };
RodzajPartii Rodzaj(const Partia& partia);
// The object name after "dbo." in the CREATE line, or empty.
std::string NazwaTworzonegoObiektu(const Partia& partia);

std::string Cp1250(std::string_view utf8);
std::string RTrim(std::string_view s);

// Counted the way the measured figures of the real packages are counted.
struct Figury {
    long bajty = 0;
    long wiersze = 0;
    long samotneCR = 0;
    long separatoryGO = 0;
    long separatorygo = 0;
    long partie = 0;
    long partieZSzyfrowaniem = 0;
    long partieZGeneracja = 0;
    long procedury = 0;
    long funkcje = 0;
    long wyzwalacze = 0;
    long partiePonad64k = 0;
    std::size_t najwiekszaPartia = 0;
    std::size_t wierszeNajwiekszejPartii = 0;
};
Figury Zmierz(std::string_view pakiet);

// Catalogue position, for "from version X on" rules.
std::size_t Pozycja(std::string_view wersja);
bool Od(std::string_view wersja, std::string_view pierwsza);

// The markers as the generator writes them.
using generator::ZnacznikGeneracji;
using generator::ZnacznikSzyfrowania;
