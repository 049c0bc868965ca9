#include "db/WartosciLogowania.h"

#include <string>

#include "common/Tekst.h"
#include "common/Wyjatki.h"
#include "db/Kodowanie.h"

namespace zuv {

namespace {

bool Sterujacy(char16_t znak) { return znak < 0x20 || (znak >= 0x7F && znak <= 0x9F); }

std::u16string Szeroki(std::string_view pole, std::string_view wartosc) {
    try {
        return Utf8NaUtf16(wartosc);
    } catch (const EOleException&) {
        throw EDatabaseError(
            Formatuj("Pole „%s” zawiera bajty, które nie są poprawnym tekstem.", {pole}));
    }
}

void SprawdzDlugosc(std::string_view opis, std::size_t dlugosc, std::size_t maksDlugosc) {
    if (dlugosc > maksDlugosc)
        throw EDatabaseError(
            Formatuj("%s jest za długa: ma %d znaków, a SQL Server przyjmuje "
                     "najwyżej %d.",
                     {opis, static_cast<long long>(dlugosc), static_cast<long long>(maksDlugosc)}));
}

}  // namespace

void SprawdzWartoscLogowania(std::string_view pole, std::string_view wartosc,
                             std::size_t maksDlugosc) {
    const std::u16string szeroki = Szeroki(pole, wartosc);
    // A control character cannot be typed meaningfully into a log-in field; a NUL would also cut
    // the value and every message quoting it.
    for (const char16_t znak : szeroki)
        if (Sterujacy(znak))
            throw EDatabaseError(Formatuj(
                "Pole „%s” zawiera znak sterujący o kodzie %d; usuń go i spróbuj ponownie.",
                {pole, static_cast<int>(znak)}));
    SprawdzDlugosc(Formatuj("Wartość pola „%s”", {pole}), szeroki.size(), maksDlugosc);
}

void SprawdzSerwer(std::string_view wartosc) {
    constexpr std::string_view pole = "Serwer";
    SprawdzWartoscLogowania(pole, wartosc, std::u16string::npos);
    const std::u16string szeroki = Szeroki(pole, wartosc);
    const std::size_t ukosnik = szeroki.find(u'\\');
    const std::size_t przecinek = szeroki.rfind(u',');
    const std::size_t koniecNazwy = std::min(ukosnik, przecinek);
    SprawdzDlugosc("Nazwa komputera w polu „Serwer”",
                   koniecNazwy == std::u16string::npos ? szeroki.size() : koniecNazwy,
                   MaksDlugoscNazwyKomputera);
    if (ukosnik != std::u16string::npos) {
        const std::size_t koniec =
            przecinek != std::u16string::npos && przecinek > ukosnik ? przecinek : szeroki.size();
        SprawdzDlugosc("Nazwa instancji w polu „Serwer”", koniec - ukosnik - 1,
                       MaksDlugoscNazwyInstancji);
    }
    if (przecinek != std::u16string::npos)
        SprawdzDlugosc("Liczba po przecinku (port) w polu „Serwer”", szeroki.size() - przecinek - 1,
                       MaksDlugoscPortu);
}

}  // namespace zuv
