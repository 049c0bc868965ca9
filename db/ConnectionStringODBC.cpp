#include "db/ConnectionStringODBC.h"

#include <algorithm>
#include <cctype>
#include <cstdint>

#include "common/Wyjatki.h"

namespace {

constexpr std::int32_t KodBlednegoAtrybutu =
    static_cast<std::int32_t>(0x80040E73);  // DB_E_BADINITSTRING

bool Blank(char znak) { return znak == ' ' || znak == '\t'; }

std::string_view PrzytnijBlanki(std::string_view tekst) {
    while (!tekst.empty() && Blank(tekst.front())) tekst.remove_prefix(1);
    while (!tekst.empty() && Blank(tekst.back())) tekst.remove_suffix(1);
    return tekst;
}

bool RowneBezWielkosci(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

[[noreturn]] void BlednyConnectionString() {
    throw EOleException("Niepoprawny format ciągu połączenia (connection string)",
                        KodBlednegoAtrybutu, "ConnectionString");
}

// A value as ODBC reads it: in braces when it holds a character with a meaning there.
std::string WartoscODBC(std::string_view wartosc) {
    const bool potrzebneNawiasy =
        wartosc.find_first_of(";{}=") != std::string_view::npos ||
        (!wartosc.empty() && (Blank(wartosc.front()) || Blank(wartosc.back())));
    if (!potrzebneNawiasy) return std::string(wartosc);
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
        if (tekst[i] == ';' || Blank(tekst[i])) {
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
            while (i < tekst.size() && Blank(tekst[i])) ++i;
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

std::string ConnectionStringODBC(const AtrybutyPolaczenia& atrybuty, std::string_view sterownik) {
    const auto wartosc = [&](std::string_view klucz) -> std::string {
        // The last occurrence of a key wins, as in every connection-string reader.
        std::string znaleziona;
        for (const auto& [k, w] : atrybuty)
            if (RowneBezWielkosci(k, klucz)) znaleziona = w;
        return znaleziona;
    };

    std::string serwer = wartosc("Data Source");
    std::string port;
    const bool freeTds = RowneBezWielkosci(sterownik, "FreeTDS");
    if (const auto przecinek = serwer.rfind(','); freeTds && przecinek != std::string::npos) {
        port = std::string(PrzytnijBlanki(std::string_view(serwer).substr(przecinek + 1)));
        serwer = std::string(PrzytnijBlanki(std::string_view(serwer).substr(0, przecinek)));
    }

    // Driver names are written in braces, as their blanks require.
    std::string wynik = "DRIVER={" + std::string(sterownik) + "};SERVER=" + WartoscODBC(serwer);
    if (!port.empty()) wynik += ";PORT=" + WartoscODBC(port);
    wynik += ";DATABASE=" + WartoscODBC(wartosc("Initial Catalog"));
    wynik += ";UID=" + WartoscODBC(wartosc("User ID"));
    wynik += ";PWD=" + WartoscODBC(wartosc("Password"));
    if (const std::string aplikacja = wartosc("Application Name"); !aplikacja.empty())
        wynik += ";APP=" + WartoscODBC(aplikacja);
    return wynik;
}
