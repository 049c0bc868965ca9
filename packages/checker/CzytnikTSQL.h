#pragma once
// Just enough T-SQL for the checker to find where a batch assigns a value: the batch's tokens with
// comments and blanks dropped (comments of both kinds, strings and bracketed names may span
// lines), and the assignments to a variable (SET @v = ..., SELECT @v = ..., DECLARE @v type = ...)
// or to a column in an UPDATE's SET list, in any letter case and over any number of lines.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/Linie.h"

namespace zuv {

struct TokenTSQL {
    enum class Rodzaj { Slowo, Zmienna, Napis, Znak };
    Rodzaj rodzaj;
    std::string tekst;   // a string's contents with '' made ', a bracketed name without brackets
    std::size_t wiersz;  // the line it begins on, from 1
};

// The tokens of lines [pierwszy, koniec) of `linie` (numbered from 1). An operator of two
// characters (<=, >=, <>, !=, +=, ...) is one token, so that "=" stands only for itself.
std::vector<TokenTSQL> TokenyTSQL(const ListaLinii& linie, std::size_t pierwszy,
                                  std::size_t koniec);

// One assignment found: the literal assigned, or what stands there when it is no literal.
struct PrzypisanieTSQL {
    std::optional<std::string> napis;  // the string literal's contents
    std::string wyrazenie;             // otherwise the expression's first tokens, for a warning
    std::size_t wiersz;
};

// Assignments to `zmienna` ("@name") in SET, SELECT and DECLARE statements; comparisons (IF,
// WHERE, ...) are not assignments.
std::vector<PrzypisanieTSQL> PrzypisaniaZmiennej(const std::vector<TokenTSQL>& tokeny,
                                                 std::string_view zmienna);
// Assignments to column `kolumna` (possibly qualified or bracketed) in the SET list of an UPDATE.
std::vector<PrzypisanieTSQL> PrzypisaniaKolumny(const std::vector<TokenTSQL>& tokeny,
                                                std::string_view kolumna);

}  // namespace zuv
