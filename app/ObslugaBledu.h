#pragma once
// The default error handler of the program: every error that no handler catches ends here and is
// shown in a stop box, after which the program goes on running.

#include <exception>
#include <stdexcept>
#include <string>
#include <utility>

#include "app/OknaKomunikatow.h"
#include "common/Tekst.h"

namespace zuv {

// The executable's file name without its folder (after the last "/" or "\") and without
// everything from its first "." on, every character after the first in lower case
// ("C:\Program\UPDATE.EXE" gives "Update").
std::string TytulZNazwyPliku(const std::string& sciezka);

// Shows the error with TekstBledu in a stop box (OK) captioned `tytul`.
void PokazBlad(OknaKomunikatow& komunikaty, const std::string& tytul, const std::exception& blad);

// The error boundary of every handler of a window: runs `obsluga`, and gives what it throws to
// `pokaz` as a std::exception (anything else as "Nieznany błąd"); the program goes on in the
// state the handler left. Gives whether the handler ran to its end.
template <typename Obsluga, typename Pokaz>
bool UruchomWGranicyBledu(Obsluga&& obsluga, Pokaz&& pokaz) {
    try {
        std::forward<Obsluga>(obsluga)();
        return true;
    } catch (const std::exception& blad) {
        pokaz(blad);
    } catch (...) {
        pokaz(std::runtime_error("Nieznany błąd"));
    }
    return false;
}

}  // namespace zuv
