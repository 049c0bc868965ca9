#pragma once
// The unattended program's command line: one database (--serwer, --baza, --uzytkownik) or a list
// of them (--lista), and how to run them. No option takes a password: it would show in the
// process list. A line that cannot be read is refused before anything runs.

#include <optional>
#include <string>
#include <vector>

#include "common/Wyjatki.h"

namespace zuv {

// Bad arguments, a list or password file that cannot be read: nothing has run yet.
class EBladArgumentow : public Exception {
  public:
    using Exception::Exception;
};

struct OpcjeWsadowe {
    // One database; all three empty with a list.
    std::string serwer;
    std::string baza;
    std::string uzytkownik;
    std::string plikHasla;        // --plik-hasla: the password is its first line
    std::string lista;            // --lista: serwer;baza;uzytkownik a line
    std::string plikHasel;        // --plik-hasel: serwer;baza;uzytkownik;haslo a line
    std::string raport;           // --raport: the JSON report's file
    std::string doWersji;         // --do-wersji: the last version to apply
    int rownolegle = 1;           // --rownolegle: databases at once, 1 to 16
    bool tak = false;             // --tak: the question answered Yes
    bool sprawdz = false;         // --sprawdz: only what would run
    bool cicho = false;           // --cicho: only the result
    bool pomoc = false;           // --pomoc, --help, -h
    bool wersjaProgramu = false;  // --version
};

inline constexpr int NajwiecejRownoleglych = 16;

// Reads the arguments that follow the program's name (UTF-8). "--opcja wartosc" and
// "--opcja=wartosc" alike. Raises EBladArgumentow with a Polish sentence.
OpcjeWsadowe ParsujOpcje(const std::vector<std::string>& argumenty);

// What --pomoc prints.
std::string TekstPomocy();

}  // namespace zuv
