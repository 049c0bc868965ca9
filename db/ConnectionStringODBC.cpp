#include "db/ConnectionStringODBC.h"

#include <algorithm>
#include <cstdint>

#include "common/Ascii.h"
#include "common/Tekst.h"
#include "common/Wyjatki.h"
#include "db/WartosciLogowania.h"

namespace zuv {

namespace {

constexpr std::int32_t KodBlednegoAtrybutu =
    static_cast<std::int32_t>(0x80040E73);  // DB_E_BADINITSTRING

bool Odstep(char znak) { return znak == ' ' || znak == '\t'; }

std::string_view PrzytnijBlanki(std::string_view tekst) {
    while (!tekst.empty() && Odstep(tekst.front())) tekst.remove_prefix(1);
    while (!tekst.empty() && Odstep(tekst.back())) tekst.remove_suffix(1);
    return tekst;
}

[[noreturn]] void BlednyConnectionString() {
    throw EOleException("Niepoprawny format ciągu połączenia (connection string)",
                        KodBlednegoAtrybutu, "ConnectionString");
}

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

AtrybutyPolaczenia ParsujConnectionString(std::string_view tekst) {
    AtrybutyPolaczenia atrybuty;
    std::size_t i = 0;
    while (i < tekst.size()) {
        if (tekst[i] == ';' || Odstep(tekst[i])) {
            ++i;
            continue;
        }
        const std::size_t rownasie = tekst.find('=', i);
        if (rownasie == std::string_view::npos) BlednyConnectionString();
        std::string klucz(PrzytnijBlanki(tekst.substr(i, rownasie - i)));
        i = rownasie + 1;

        std::string wartosc;
        if (i < tekst.size() && (tekst[i] == '"' || tekst[i] == '\'')) {
            const char cudzyslow = tekst[i++];
            for (;;) {
                if (i >= tekst.size()) BlednyConnectionString();
                if (tekst[i] == cudzyslow) {
                    if (i + 1 < tekst.size() && tekst[i + 1] == cudzyslow) {
                        wartosc += cudzyslow;
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                wartosc += tekst[i++];
            }
            while (i < tekst.size() && Odstep(tekst[i])) ++i;
            if (i < tekst.size() && tekst[i] != ';') BlednyConnectionString();
        } else {
            const std::size_t srednik = std::min(tekst.find(';', i), tekst.size());
            wartosc = tekst.substr(i, srednik - i);
            i = srednik;
        }
        atrybuty.emplace_back(std::move(klucz), std::move(wartosc));
    }
    return atrybuty;
}

RodzajSterownika RodzajSterownikaDla(std::string_view sterownik) {
    return RowneBezWielkosciLiter(sterownik, "FreeTDS") ? RodzajSterownika::FreeTDS
                                                        : RodzajSterownika::Microsoft;
}

std::string ConnectionStringODBC(const AtrybutyPolaczenia& atrybuty, std::string_view sterownik,
                                 RodzajSterownika rodzaj) {
    const auto wartosc = [&](std::string_view klucz) -> std::string {
        // The last occurrence of a key wins, as in every connection-string reader.
        std::string znaleziona;
        for (const auto& [k, w] : atrybuty)
            if (RowneBezWielkosciLiter(k, klucz)) znaleziona = w;
        return znaleziona;
    };

    const std::string serwer = wartosc("Data Source");
    const std::string baza = wartosc("Initial Catalog");
    const std::string uzytkownik = wartosc("User ID");
    const std::string haslo = wartosc("Password");
    SprawdzSerwer(serwer);
    SprawdzWartoscLogowania("Baza", baza, MaksDlugoscNazwyBazy);
    SprawdzWartoscLogowania("Użytkownik", uzytkownik, MaksDlugoscNazwyLogowania);
    SprawdzWartoscLogowania("Hasło", haslo, MaksDlugoscHasla);

    // The server goes without the blanks typed around its parts, as SprawdzSerwer measured it.
    const CzesciSerwera czesci = PodzielSerwer(serwer);
    std::string host = czesci.komputer;
    if (czesci.instancja) host += "\\" + *czesci.instancja;
    std::string port;
    const bool freeTds = rodzaj == RodzajSterownika::FreeTDS;
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
    if (const std::string aplikacja = wartosc("Application Name"); !aplikacja.empty())
        wynik += "APP=" + WartoscODBC("Nazwa aplikacji", aplikacja, rodzaj) + ";";
    // Driver 18 demands an encrypted session and a server certificate the client trusts, which an
    // on-site server with a certificate of its own does not have. The earlier providers encrypted
    // only when the server asked, and then checked no certificate; so does Optional with
    // TrustServerCertificate, without which Driver 18 would check it even then.
    if (RowneBezWielkosciLiter(sterownik, "ODBC Driver 18 for SQL Server"))
        wynik += "Encrypt=Optional;TrustServerCertificate=yes;";
    return wynik;
}

}  // namespace zuv
