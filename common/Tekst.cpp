#include "common/Tekst.h"

#include <limits>

#include "common/Wyjatki.h"

namespace zuv {

std::string_view Przytnij(std::string_view tekst) {
    std::size_t poczatek = 0;
    std::size_t koniec = tekst.size();
    while (poczatek < koniec && static_cast<unsigned char>(tekst[poczatek]) <= 32) ++poczatek;
    while (koniec > poczatek && static_cast<unsigned char>(tekst[koniec - 1]) <= 32) --koniec;
    return tekst.substr(poczatek, koniec - poczatek);
}

namespace {

int WartoscCyfry(char znak, int podstawa) {
    int wartosc = -1;
    if (znak >= '0' && znak <= '9')
        wartosc = znak - '0';
    else if (znak >= 'a' && znak <= 'f')
        wartosc = znak - 'a' + 10;
    else if (znak >= 'A' && znak <= 'F')
        wartosc = znak - 'A' + 10;
    return wartosc < podstawa ? wartosc : -1;
}

}  // namespace

std::int32_t TekstNaInt(std::string_view tekst) {
    const auto blad = [&] {
        return EConvertError(Formatuj("'%s' is not a valid integer value", {tekst}));
    };
    std::size_t i = 0;
    while (i < tekst.size() && tekst[i] == ' ') ++i;
    bool ujemna = false;
    if (i < tekst.size() && (tekst[i] == '+' || tekst[i] == '-')) {
        ujemna = tekst[i] == '-';
        ++i;
    }
    int podstawa = 10;
    if (i < tekst.size() && (tekst[i] == '$' || tekst[i] == 'x' || tekst[i] == 'X')) {
        podstawa = 16;
        ++i;
    } else if (i + 1 < tekst.size() && tekst[i] == '0' &&
               (tekst[i + 1] == 'x' || tekst[i + 1] == 'X')) {
        podstawa = 16;
        i += 2;
    }
    if (i == tekst.size()) throw blad();

    const std::int64_t granica =
        ujemna ? -static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::min())
               : std::numeric_limits<std::int32_t>::max();
    std::int64_t wartosc = 0;
    for (; i < tekst.size(); ++i) {
        const int cyfra = WartoscCyfry(tekst[i], podstawa);
        if (cyfra < 0) throw blad();
        wartosc = wartosc * podstawa + cyfra;
        if (wartosc > granica) throw blad();
    }
    return static_cast<std::int32_t>(ujemna ? -wartosc : wartosc);
}

std::string Formatuj(std::string_view wzorzec, std::initializer_list<ArgumentFormatu> argumenty) {
    std::string wynik;
    wynik.reserve(wzorzec.size() + 32);
    auto argument = argumenty.begin();
    for (std::size_t i = 0; i < wzorzec.size(); ++i) {
        const char znak = wzorzec[i];
        if (znak != '%' || i + 1 == wzorzec.size()) {
            wynik += znak;
            continue;
        }
        const char rodzaj = wzorzec[++i];
        if (rodzaj == '%') {
            wynik += '%';
            continue;
        }
        if ((rodzaj != 's' && rodzaj != 'd') || argument == argumenty.end())
            throw Exception("Format '" + std::string(wzorzec) +
                            "' invalid or incompatible with argument");
        const auto& wartosc = (argument++)->Wartosc();
        if (rodzaj == 's' && std::holds_alternative<std::string_view>(wartosc))
            wynik += std::get<std::string_view>(wartosc);
        else if (rodzaj == 'd' && std::holds_alternative<std::int64_t>(wartosc))
            wynik += std::to_string(std::get<std::int64_t>(wartosc));
        else
            throw Exception("Format '" + std::string(wzorzec) +
                            "' invalid or incompatible with argument");
    }
    return wynik;
}

std::string TekstBledu(std::string komunikat) {
    if (!komunikat.empty() && static_cast<unsigned char>(komunikat.back()) > '.') komunikat += '.';
    return komunikat;
}

}  // namespace zuv
