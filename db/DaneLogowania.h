#pragma once
// The values a session is opened with: the four the administrator types (exactly as typed, UTF-8)
// and the application name under which the server knows the session. The driver's connection
// string is made from them directly (ConnectionStringODBC.h); the OLE DB form of ConnectionST.h is
// made from them only where a connection string is shown.

#include <string>

namespace zuv {

struct DaneLogowania {
    std::string serwer;
    std::string baza;
    std::string uzytkownik;
    std::string haslo;
    // The packages' code takes the business system's user from the text after "U:".
    std::string aplikacja = "admin";
};

}  // namespace zuv
