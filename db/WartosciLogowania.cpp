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

std::string_view BezBlankow(std::string_view tekst) {
    const auto blank = [](char znak) { return znak == ' ' || znak == '\t'; };
    while (!tekst.empty() && blank(tekst.front())) tekst.remove_prefix(1);
    while (!tekst.empty() && blank(tekst.back())) tekst.remove_suffix(1);
    return tekst;
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

void SprawdzWypelnienie(std::string_view pole, std::string_view wartosc,
                        std::string_view coWpisac) {
    if (BezBlankow(wartosc).empty())
        throw EDatabaseError(Formatuj("Pole „%s” jest puste; wpisz %s.", {pole, coWpisac}));
}

CzesciSerwera PodzielSerwer(std::string_view wartosc) {
    CzesciSerwera czesci;
    if (const std::size_t przecinek = wartosc.rfind(','); przecinek != std::string_view::npos) {
        czesci.port = std::string(BezBlankow(wartosc.substr(przecinek + 1)));
        wartosc = wartosc.substr(0, przecinek);
    }
    if (const std::size_t ukosnik = wartosc.find('\\'); ukosnik != std::string_view::npos) {
        czesci.instancja = std::string(BezBlankow(wartosc.substr(ukosnik + 1)));
        wartosc = wartosc.substr(0, ukosnik);
    }
    czesci.komputer = std::string(BezBlankow(wartosc));
    return czesci;
}

void SprawdzSerwer(std::string_view wartosc) {
    constexpr std::string_view pole = "Serwer";
    SprawdzWartoscLogowania(pole, wartosc, std::u16string::npos);
    // Measured as sent: the blanks around each part never reach the driver.
    const CzesciSerwera czesci = PodzielSerwer(wartosc);
    SprawdzDlugosc("Nazwa komputera w polu „Serwer”", Szeroki(pole, czesci.komputer).size(),
                   MaksDlugoscNazwyKomputera);
    if (czesci.instancja)
        SprawdzDlugosc("Nazwa instancji w polu „Serwer”", Szeroki(pole, *czesci.instancja).size(),
                       MaksDlugoscNazwyInstancji);
    if (czesci.port)
        SprawdzDlugosc("Liczba po przecinku (port) w polu „Serwer”",
                       Szeroki(pole, *czesci.port).size(), MaksDlugoscPortu);
}

}  // namespace zuv
