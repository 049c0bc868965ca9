#pragma once
// A procedure, function or trigger of a package and how it is written: a drop guard batch and a
// create batch.

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "Kontekst.h"

namespace generator {

enum class RodzajObiektu {
    Procedura,
    FunkcjaSkalarna,
    FunkcjaTabelaryczna,
    FunkcjaWbudowana,
    Wyzwalacz
};

// Lines of a definition that the writer replaces: the place of WITH ENCRYPTION, and the place
// where the full-size packages put their filler statements (nothing in the samples).
inline constexpr std::string_view MiejsceSzyfrowania = "{SZYFROWANIE}";
inline constexpr std::string_view MiejsceWypelnienia = "{WYPELNIENIE}";

inline constexpr std::string_view ZnacznikSzyfrowania = "-- 'C810A5C6-2053-412E-8618-652E1868305B'";
inline constexpr std::string_view ZnacznikGeneracji = "-- $MIN_SQL_2005";

struct ObiektBazy {
    RodzajObiektu rodzaj = RodzajObiektu::Procedura;
    std::string nazwa;
    // UTF-8 text of the create batch, lines separated by '\n'. It begins with CREATE PROCEDURE,
    // FUNCTION or TRIGGER dbo.<nazwa>; the line MiejsceSzyfrowania stands where WITH ENCRYPTION
    // belongs (a definition without it gets no marker).
    std::string definicja;
    // Comment lines that open the drop guard batch: section frames, group headings.
    std::string komentarz;
    bool generacja = false;         // the generation marker follows the encryption marker
    bool blankPoZnaczniku = false;  // the encryption marker line ends with one blank
};

// Type letters of SYSOBJECTS and the DROP statement word for a kind of object.
std::string_view TypWSysobjects(RodzajObiektu rodzaj);

void PiszObiekt(Kontekst& k, const ObiektBazy& obiekt);
void PiszObiekty(Kontekst& k, const std::vector<ObiektBazy>& obiekty);

// Replaces every {KLUCZ} of `wzor` by its value; a key without a value is an error.
std::string Podstaw(std::string_view wzor,
                    std::initializer_list<std::pair<std::string_view, std::string_view>> wartosci);

}  // namespace generator
