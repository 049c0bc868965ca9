#pragma once
// Logging in: a session opened with the log-in values, and the version the database records.

#include <string>

#include "db/DaneLogowania.h"
#include "db/ZapisanaWersja.h"

namespace zuv {

class Dziennik;
class Polaczenie;

// Closes whatever `polaczenie` has open, opens it with `dane` and reads the recorded version, as
// the server gives it. The journal, when given, names this session from now on and records the
// log-in with the version read, or its failure with its text. The connection's errors pass on:
// the connection is then closed when it could not be opened, and open when the read failed (a
// lost connection is placed at the step OdczytWersji).
OdczytWersji Zaloguj(Polaczenie& polaczenie, const DaneLogowania& dane,
                     Dziennik* dziennik = nullptr);

// "Odczyt wersji systemu ZUV dla bazy %s.%s nie powiódł się.": the recorded version is not one
// row; a second line says whether there was none or several.
std::string TekstNieudanegoOdczytuWersji(const std::string& serwer, const std::string& baza,
                                         const OdczytWersji& odczyt);

// "Wersja bazy %s.%s: %s": the version line.
std::string TekstWersjiBazy(const std::string& serwer, const std::string& baza,
                            const std::string& wersja);

}  // namespace zuv
