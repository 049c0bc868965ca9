#pragma once
// The databases of a run and their passwords, read whole before anything runs, so that a line
// that cannot be read stops the program with its file and line named instead of halfway through.

#include <string>
#include <vector>

namespace zuv {

struct BazaDoAktualizacji {
    std::string serwer;
    std::string baza;
    std::string uzytkownik;
    std::string haslo;
};

// Both files are UTF-8; a byte order mark at the start of one (as Windows Notepad writes it) is
// dropped.
//
// The list (serwer;baza;uzytkownik a line; blank lines and lines starting with "#" skipped,
// blanks around the fields dropped) with each database's password from the password file
// (serwer;baza;uzytkownik;haslo, the password being the rest of the line as it stands, so it may
// hold ";"). Raises EBladArgumentow naming the file and line of the first line that cannot be
// read or is not UTF-8, of a database listed twice, or of one without a password; and when the
// password file may be read by others than its owner.
std::vector<BazaDoAktualizacji> WczytajListeBaz(const std::string& lista,
                                                const std::string& plikHasel);

// The first line of a password file of one database, kept exactly (only a byte order mark and its
// line end dropped); refused as for the list's password file.
std::string WczytajHasloZPliku(const std::string& plik);

}  // namespace zuv
