#include "db/SondaPreLogin.h"

#include <algorithm>
#include <charconv>
#include <string>

#include "db/WartosciLogowania.h"
#include "db/platforma/WymianaTCP.h"

namespace zuv {

namespace {

constexpr std::uint8_t TypPreLogin = 0x12;
constexpr std::uint8_t TypOdpowiedzi = 0x04;
constexpr std::uint8_t KoniecWiadomosci = 0x01;
constexpr std::size_t DlugoscNaglowka = 8;

constexpr std::uint8_t OpcjaWersja = 0x00;
constexpr std::uint8_t OpcjaSzyfrowanie = 0x01;
constexpr std::uint8_t OpcjaInstancja = 0x02;
constexpr std::uint8_t OpcjaMars = 0x04;
constexpr std::uint8_t KoniecOpcji = 0xFF;

constexpr std::uint8_t SzyfrowanieWylaczone = 0x00;
constexpr std::uint8_t SzyfrowanieWlaczone = 0x01;
constexpr std::uint8_t SzyfrowanieNieobslugiwane = 0x02;
constexpr std::uint8_t SzyfrowanieWymagane = 0x03;

constexpr std::uint16_t DomyslnyPort = 1433;

// The header's length and the option table's offsets are big-endian.
std::uint16_t Liczba16(std::span<const std::uint8_t> bajty, std::size_t przesuniecie) {
    return static_cast<std::uint16_t>(bajty[przesuniecie] << 8 | bajty[przesuniecie + 1]);
}

}  // namespace

std::vector<std::uint8_t> ZapytaniePreLogin() {
    // Option table: token, offset and length (2 bytes each, from the payload's start), then 0xFF.
    const struct {
        std::uint8_t opcja;
        std::vector<std::uint8_t> wartosc;
    } opcje[] = {
        {OpcjaWersja, {9, 0, 0, 0, 0, 0}},  // 9.0.0.0, sub-build 0
        {OpcjaSzyfrowanie, {SzyfrowanieWylaczone}},
        {OpcjaInstancja, {0x00}},  // an empty name: no instance to check
        {OpcjaMars, {0x00}},
    };
    std::vector<std::uint8_t> tabela;
    std::vector<std::uint8_t> dane;
    const std::size_t poczatekDanych = std::size(opcje) * 5 + 1;
    for (const auto& o : opcje) {
        const std::size_t przesuniecie = poczatekDanych + dane.size();
        tabela.insert(tabela.end(), {o.opcja, static_cast<std::uint8_t>(przesuniecie >> 8),
                                     static_cast<std::uint8_t>(przesuniecie), 0,
                                     static_cast<std::uint8_t>(o.wartosc.size())});
        dane.insert(dane.end(), o.wartosc.begin(), o.wartosc.end());
    }
    tabela.push_back(KoniecOpcji);
    const std::size_t dlugosc = DlugoscNaglowka + tabela.size() + dane.size();
    // Made whole at its length and filled in place: GCC 12 at -O3 takes inserts into a vector of
    // eight bytes for a copy out of its bounds.
    std::vector<std::uint8_t> pakiet(dlugosc, 0);
    pakiet[0] = TypPreLogin;
    pakiet[1] = KoniecWiadomosci;
    pakiet[2] = static_cast<std::uint8_t>(dlugosc >> 8);
    pakiet[3] = static_cast<std::uint8_t>(dlugosc);
    const auto poTabeli = std::copy(tabela.begin(), tabela.end(),
                                    pakiet.begin() + static_cast<std::ptrdiff_t>(DlugoscNaglowka));
    std::copy(dane.begin(), dane.end(), poTabeli);
    return pakiet;
}

bool CalyPakiet(std::span<const std::uint8_t> odpowiedz) {
    return odpowiedz.size() >= DlugoscNaglowka && odpowiedz.size() >= Liczba16(odpowiedz, 2);
}

OdpowiedzPreLogin CzytajOdpowiedzPreLogin(std::span<const std::uint8_t> odpowiedz) {
    if (!CalyPakiet(odpowiedz) || odpowiedz[0] != TypOdpowiedzi)
        return OdpowiedzPreLogin::BezOdpowiedzi;
    const std::size_t dlugosc = Liczba16(odpowiedz, 2);
    if (dlugosc < DlugoscNaglowka) return OdpowiedzPreLogin::BezOdpowiedzi;
    const auto dane = odpowiedz.subspan(DlugoscNaglowka, dlugosc - DlugoscNaglowka);
    for (std::size_t i = 0; i < dane.size() && dane[i] != KoniecOpcji; i += 5) {
        if (i + 5 > dane.size()) break;
        if (dane[i] != OpcjaSzyfrowanie) continue;
        const std::size_t przesuniecie = Liczba16(dane, i + 1);
        if (Liczba16(dane, i + 3) < 1 || przesuniecie >= dane.size()) break;
        switch (dane[przesuniecie]) {
            case SzyfrowanieNieobslugiwane:
                return OdpowiedzPreLogin::BezSzyfrowania;
            case SzyfrowanieWylaczone:
            case SzyfrowanieWlaczone:
            case SzyfrowanieWymagane:
                return OdpowiedzPreLogin::ZSzyfrowaniem;
            default:
                return OdpowiedzPreLogin::BezOdpowiedzi;
        }
    }
    return OdpowiedzPreLogin::BezOdpowiedzi;
}

OdpowiedzPreLogin ZapytajOPreLogin(std::string_view serwer, std::chrono::milliseconds limit) {
    const CzesciSerwera czesci = PodzielSerwer(serwer);
    std::uint16_t port = DomyslnyPort;
    if (czesci.port) {
        const std::string& tekst = *czesci.port;
        const auto [koniec, blad] =
            std::from_chars(tekst.data(), tekst.data() + tekst.size(), port);
        if (blad != std::errc{} || koniec != tekst.data() + tekst.size() || port == 0)
            return OdpowiedzPreLogin::Niesprawdzona;
    } else if (czesci.instancja) {
        return OdpowiedzPreLogin::Niesprawdzona;
    }
    std::vector<std::uint8_t> odpowiedz;
    switch (WymienTCP(czesci.komputer, port, ZapytaniePreLogin(), CalyPakiet, limit, odpowiedz)) {
        case WynikWymianyTCP::Odpowiedz:
            return CzytajOdpowiedzPreLogin(odpowiedz);
        case WynikWymianyTCP::Zamkniete:
        case WynikWymianyTCP::CzasMinal:
            return OdpowiedzPreLogin::BezOdpowiedzi;
        case WynikWymianyTCP::BrakPolaczenia:
            break;
    }
    return OdpowiedzPreLogin::Niesprawdzona;
}

}  // namespace zuv
