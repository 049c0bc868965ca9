// The connection string for each kind of driver. The input is four log-in values split at the
// byte 0x1F. Whatever they hold, the ODBC string, read by the rules of the driver it is made for,
// holds exactly the attributes it is meant to write with exactly those values; or a value is
// refused with EDatabaseError before anything is sent.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "common/Wyjatki.h"
#include "db/ConnectionStringODBC.h"
#include "fuzz/Wspolne.h"

using namespace zuv;

namespace {

using Pary = std::vector<std::pair<std::string, std::string>>;

// FreeTDS: a value in braces ends at the first "}" that a ";" follows (or runs to the end).
// Microsoft: it ends at a "}" that is not doubled, and "}}" stands for "}".
Pary CzytajJakSterownik(std::string_view tekst, RodzajSterownika rodzaj) {
    Pary pary;
    std::size_t i = 0;
    while (i < tekst.size()) {
        if (tekst[i] == ';') {
            ++i;
            continue;
        }
        const std::size_t rownasie = tekst.find('=', i);
        Wymagaj(rownasie != std::string_view::npos, "klucz bez wartości");
        std::string klucz(tekst.substr(i, rownasie - i));
        i = rownasie + 1;
        std::string wartosc;
        if (i < tekst.size() && tekst[i] == '{') {
            ++i;
            if (rodzaj == RodzajSterownika::FreeTDS) {
                std::size_t koniec = tekst.find("};", i);
                if (koniec == std::string_view::npos) koniec = tekst.size();
                wartosc = tekst.substr(i, koniec - i);
                i = koniec + 1;
            } else {
                for (;; ++i) {
                    Wymagaj(i < tekst.size(), "niezamknięty nawias");
                    if (tekst[i] == '}') {
                        if (i + 1 < tekst.size() && tekst[i + 1] == '}') {
                            wartosc += '}';
                            ++i;
                            continue;
                        }
                        ++i;
                        break;
                    }
                    wartosc += tekst[i];
                }
            }
        } else {
            const std::size_t koniec = std::min(tekst.find(';', i), tekst.size());
            wartosc = tekst.substr(i, koniec - i);
            i = koniec;
        }
        pary.emplace_back(std::move(klucz), std::move(wartosc));
    }
    return pary;
}

std::string BezBlankow(std::string tekst) {
    while (!tekst.empty() && (tekst.front() == ' ' || tekst.front() == '\t')) tekst.erase(0, 1);
    while (!tekst.empty() && (tekst.back() == ' ' || tekst.back() == '\t')) tekst.pop_back();
    return tekst;
}

std::string Wartosc(const Pary& pary, std::string_view klucz) {
    std::string wynik;
    int ile = 0;
    for (const auto& [k, w] : pary)
        if (k == klucz) {
            wynik = w;
            ++ile;
        }
    Wymagaj(ile == 1, "atrybut brakuje albo jest podwójny");
    return wynik;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dane, std::size_t rozmiar) {
    std::vector<std::string> wartosci(1);
    for (std::size_t i = 0; i < rozmiar; ++i) {
        if (dane[i] == 0x1F && wartosci.size() < 4)
            wartosci.emplace_back();
        else
            wartosci.back() += static_cast<char>(dane[i]);
    }
    wartosci.resize(4);
    const std::string& serwer = wartosci[0];
    const std::string& baza = wartosci[1];
    const std::string& uzytkownik = wartosci[2];
    const std::string& haslo = wartosci[3];

    const DaneLogowania logowanie{serwer, baza, uzytkownik, haslo};
    for (const auto rodzaj : {RodzajSterownika::FreeTDS, RodzajSterownika::Microsoft}) {
        std::string odbc;
        try {
            odbc = ConnectionStringODBC(logowanie, "Sterownik", rodzaj);
        } catch (const EDatabaseError&) {
            continue;
        }
        const Pary pary = CzytajJakSterownik(odbc, rodzaj);
        const bool freeTds = rodzaj == RodzajSterownika::FreeTDS;
        // The server's parts go without the blanks around them: the machine name, "\\" and an
        // instance from the first backslash, "," and a port from the last comma, which FreeTDS
        // takes as an attribute of its own.
        const std::size_t przecinek = serwer.rfind(',');
        const std::string reszta = serwer.substr(0, przecinek);
        const std::string port =
            przecinek == std::string::npos ? "" : BezBlankow(serwer.substr(przecinek + 1));
        const std::size_t ukosnik = reszta.find('\\');
        std::string host = BezBlankow(reszta.substr(0, ukosnik));
        if (ukosnik != std::string::npos) host += "\\" + BezBlankow(reszta.substr(ukosnik + 1));
        if (!freeTds && przecinek != std::string::npos) host += "," + port;
        Wymagaj(pary.size() == 6u + (freeTds ? 2u : 0u) + (freeTds && !port.empty() ? 1u : 0u),
                "liczba atrybutów ODBC");
        if (freeTds) Wymagaj(Wartosc(pary, "Encryption") == "request", "Encryption");
        Wymagaj(Wartosc(pary, "SERVER") == host, "SERVER");
        if (freeTds && !port.empty()) Wymagaj(Wartosc(pary, "PORT") == port, "PORT");
        Wymagaj(Wartosc(pary, "DRIVER") == "Sterownik", "DRIVER");
        Wymagaj(Wartosc(pary, "DATABASE") == baza, "DATABASE");
        Wymagaj(Wartosc(pary, "UID") == uzytkownik, "UID");
        Wymagaj(Wartosc(pary, "PWD") == haslo, "PWD");
        Wymagaj(Wartosc(pary, "APP") == "U:admin", "APP");
    }
    return 0;
}
