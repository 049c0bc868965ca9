#include "db/ConnectionStringODBC.h"

#include "common/Ascii.h"
#include "common/Tekst.h"
#include "common/Wyjatki.h"
#include "db/WartosciLogowania.h"

namespace zuv {

namespace {

// A value in braces as the driver reads it back exactly; `pole` names the field in the refusal.
std::string WartoscODBC(std::string_view pole, std::string_view wartosc, RodzajSterownika rodzaj) {
    if (rodzaj == RodzajSterownika::FreeTDS) {
        if (wartosc.find("};") != std::string_view::npos)
            throw EDatabaseError(
                Formatuj("Pole „%s” zawiera znaki „};”, których sterownik "
                         "FreeTDS nie potrafi przekazać serwerowi.",
                         {pole}));
        // Every attribute is followed by ";", so the closing brace is the first "}" before one.
        // Appended in steps: GCC 12 at -O3 takes "{" + std::string(...) for an overlapping copy.
        std::string wynik = "{";
        wynik += wartosc;
        wynik += '}';
        return wynik;
    }
    std::string wynik = "{";
    for (const char znak : wartosc) {
        wynik += znak;
        if (znak == '}') wynik += '}';
    }
    return wynik + "}";
}

}  // namespace

RodzajSterownika RodzajSterownikaDla(std::string_view sterownik) {
    return RowneBezWielkosciLiter(sterownik, "FreeTDS") ? RodzajSterownika::FreeTDS
                                                        : RodzajSterownika::Microsoft;
}

std::string ConnectionStringODBC(const DaneLogowania& dane, std::string_view sterownik,
                                 RodzajSterownika rodzaj) {
    const std::string& serwer = dane.serwer;
    const std::string& baza = dane.baza;
    const std::string& uzytkownik = dane.uzytkownik;
    const std::string& haslo = dane.haslo;
    const bool freeTds = rodzaj == RodzajSterownika::FreeTDS;
    SprawdzSerwer(serwer);
    // The server goes without the blanks typed around its parts, as SprawdzSerwer measured it.
    const CzesciSerwera czesci = PodzielSerwer(serwer);
    // Microsoft's drivers take a server without a name for the default instance on this
    // computer; FreeTDS knows no such default and refuses the connection string.
    if (freeTds) {
        SprawdzWypelnienie("Serwer", serwer, "nazwę albo adres serwera");
        if (czesci.komputer.empty())
            throw EDatabaseError(
                "Pole „Serwer” nie zawiera nazwy serwera przed przecinkiem albo ukośnikiem; "
                "wpisz nazwę albo adres serwera.");
    }
    // An empty database would have the server open the login's default one, not the system's,
    // and an empty user is no SQL Server login: both are refused before anything is sent.
    SprawdzWypelnienie("Baza", baza, "nazwę bazy danych");
    SprawdzWartoscLogowania("Baza", baza, MaksDlugoscNazwyBazy);
    SprawdzWypelnienie("Użytkownik", uzytkownik, "nazwę użytkownika (loginu SQL Server)");
    SprawdzWartoscLogowania("Użytkownik", uzytkownik, MaksDlugoscNazwyLogowania);
    SprawdzWartoscLogowania("Hasło", haslo, MaksDlugoscHasla);

    std::string host = czesci.komputer;
    if (czesci.instancja) host += "\\" + *czesci.instancja;
    std::string port;
    if (czesci.port) {
        if (freeTds)
            port = *czesci.port;
        else
            host += "," + *czesci.port;
    }

    std::string wynik = "DRIVER=" + WartoscODBC("Sterownik", sterownik, rodzaj) + ";";
    wynik += "SERVER=" + WartoscODBC("Serwer", host, rodzaj) + ";";
    if (!port.empty()) wynik += "PORT=" + WartoscODBC("Serwer", port, rodzaj) + ";";
    // Encryption as the server asks for it (the log-in packet, or the whole session), with no
    // check of its certificate: FreeTDS verifies one only against a CA file named in
    // freetds.conf, which it does not read for a server given by SERVER and PORT.
    if (freeTds) wynik += "TDS_Version=7.4;Encryption=request;";
    wynik += "DATABASE=" + WartoscODBC("Baza", baza, rodzaj) + ";";
    wynik += "UID=" + WartoscODBC("Użytkownik", uzytkownik, rodzaj) + ";";
    wynik += "PWD=" + WartoscODBC("Hasło", haslo, rodzaj) + ";";
    if (const std::string_view aplikacja = Przytnij(dane.aplikacja); !aplikacja.empty())
        wynik +=
            "APP=" + WartoscODBC("Nazwa aplikacji", "U:" + std::string(aplikacja), rodzaj) + ";";
    // Driver 18 demands an encrypted session and a server certificate the client trusts, which an
    // on-site server with a certificate of its own does not have. The earlier providers encrypted
    // only when the server asked, and then checked no certificate; so does Optional with
    // TrustServerCertificate, without which Driver 18 would check it even then.
    if (RowneBezWielkosciLiter(sterownik, "ODBC Driver 18 for SQL Server"))
        wynik += "Encrypt=Optional;TrustServerCertificate=yes;";
    return wynik;
}

}  // namespace zuv
