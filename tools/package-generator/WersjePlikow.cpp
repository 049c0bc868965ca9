#include "WersjePlikow.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>

#include "Separatory.h"

namespace generator {

namespace {

enum class Rodzaj { Program, Biblioteka, Kontrolka, Pomoc, Szablon, Raport };

struct Plik {
    std::string_view nazwa;
    Rodzaj rodzaj;
};

// In the order they joined the system; the first 37 are those of 8.1.0.0.
constexpr std::array<Plik, 58> Pliki = {{
    {"ZUV.exe", Rodzaj::Program},
    {"ZUVAdmin.exe", Rodzaj::Program},
    {"ZUVKonfiguracja.exe", Rodzaj::Program},
    {"ZUVSlowniki.dll", Rodzaj::Biblioteka},
    {"ZUVDokumenty.dll", Rodzaj::Biblioteka},
    {"ZUVAmortyzacja.dll", Rodzaj::Biblioteka},
    {"ZUVInwentaryzacja.dll", Rodzaj::Biblioteka},
    {"ZUVRaporty.dll", Rodzaj::Biblioteka},
    {"ZUVWydruki.dll", Rodzaj::Biblioteka},
    {"ZUVEksportFK.dll", Rodzaj::Biblioteka},
    {"ZUVImport.dll", Rodzaj::Biblioteka},
    {"ZUVUzytkownicy.dll", Rodzaj::Biblioteka},
    {"ZUVKalendarz.dll", Rodzaj::Biblioteka},
    {"ZUVSiatka.ocx", Rodzaj::Kontrolka},
    {"ZUVDrzewo.ocx", Rodzaj::Kontrolka},
    {"ZUVKalendarzKontrolka.ocx", Rodzaj::Kontrolka},
    {"ZUVKodyKreskowe.ocx", Rodzaj::Kontrolka},
    {"ZUV.chm", Rodzaj::Pomoc},
    {"ZUVAdmin.chm", Rodzaj::Pomoc},
    {"OT.rtf", Rodzaj::Szablon},
    {"LT.rtf", Rodzaj::Szablon},
    {"PT.rtf", Rodzaj::Szablon},
    {"MT.rtf", Rodzaj::Szablon},
    {"KartaSrodka.rtf", Rodzaj::Szablon},
    {"ArkuszSpisowy.rtf", Rodzaj::Szablon},
    {"PlanAmortyzacji.rtf", Rodzaj::Szablon},
    {"Etykieta.rtf", Rodzaj::Szablon},
    {"ZestawienieSrodkow.rpt", Rodzaj::Raport},
    {"TabelaAmortyzacyjna.rpt", Rodzaj::Raport},
    {"RozniceInwentaryzacyjne.rpt", Rodzaj::Raport},
    {"SrodkiWgLokalizacji.rpt", Rodzaj::Raport},
    {"SrodkiWgOsob.rpt", Rodzaj::Raport},
    {"UmorzenieRoczne.rpt", Rodzaj::Raport},
    {"libeay32.dll", Rodzaj::Biblioteka},
    {"ssleay32.dll", Rodzaj::Biblioteka},
    {"zlib1.dll", Rodzaj::Biblioteka},
    {"ZUVAktualizacja.exe", Rodzaj::Program},
    {"ZUVPPC.exe", Rodzaj::Program},
    {"ZUVPPCSynchronizacja.dll", Rodzaj::Biblioteka},
    {"ZUVWS.dll", Rodzaj::Biblioteka},
    {"ZUVWWW.dll", Rodzaj::Biblioteka},
    {"ZUVXml.dll", Rodzaj::Biblioteka},
    {"ZUVPodpis.dll", Rodzaj::Biblioteka},
    {"ZUVDotacje.dll", Rodzaj::Biblioteka},
    {"ZUVLeasing.dll", Rodzaj::Biblioteka},
    {"ZUVUbezpieczenia.dll", Rodzaj::Biblioteka},
    {"DokumentOT.xslt", Rodzaj::Szablon},
    {"DokumentLT.xslt", Rodzaj::Szablon},
    {"KartaSrodka.xslt", Rodzaj::Szablon},
    {"EksportFK.xslt", Rodzaj::Szablon},
    {"RaportGUS.rpt", Rodzaj::Raport},
    {"DeklaracjaPodatkowa.rpt", Rodzaj::Raport},
    {"SrodkiWgMPK.rpt", Rodzaj::Raport},
    {"Przeszacowania.rpt", Rodzaj::Raport},
    {"ZUVSkaner.ocx", Rodzaj::Kontrolka},
    {"ZUVWykres.ocx", Rodzaj::Kontrolka},
    {"ZUVPPC.chm", Rodzaj::Pomoc},
    {"ZUVWS.chm", Rodzaj::Pomoc},
}};

std::uint32_t Skrot(std::string_view a, std::string_view b) {
    std::uint32_t h = 2166136261u;
    for (std::string_view s : {a, b})
        for (char c : s) h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
    return h;
}

std::string Hex(std::uint32_t wartosc, int cyfry) {
    char bufor[16];
    std::snprintf(bufor, sizeof bufor, "%08X", static_cast<unsigned>(wartosc));
    const std::string s(bufor);
    return s.substr(s.size() - static_cast<std::size_t>(cyfry));
}

std::string Tekst(std::string_view s) {
    std::string wynik(1, '\'');
    wynik += s;
    wynik += '\'';
    return wynik;
}

// The release date of the version: the packages came out about every two months.
std::string DataWydania(std::size_t pozycja, std::size_t numerPliku) {
    using namespace std::chrono;
    const sys_days dzien =
        sys_days{year{2006} / January / 16} + days{static_cast<int>(pozycja) * 67};
    const year_month_day d{dzien};
    char bufor[32];
    std::snprintf(bufor, sizeof bufor, "%04d%02u%02u %02u:%02u:%02u.000",
                  static_cast<int>(d.year()), static_cast<unsigned>(d.month()),
                  static_cast<unsigned>(d.day()), static_cast<unsigned>(9 + numerPliku % 8),
                  static_cast<unsigned>((numerPliku * 7) % 60),
                  static_cast<unsigned>((numerPliku * 13) % 60));
    return bufor;
}

}  // namespace

void PiszWersjePlikow(Kontekst& k) {
    const PlanPakietu& plan = k.plan;
    PisarzPakietu& p = k.pisarz;
    PiszRamke(p, "-- WERSJE PLIKOW");
    // The sample lists a spread of the files the real package lists.
    const std::size_t wszystkie =
        37 + 21 * std::min(plan.pozycja, Pozycja("10.8.0.5")) / Pozycja("10.8.0.5");
    const auto ile = static_cast<std::size_t>(plan.plikiKlienta);
    for (std::size_t j = 0; j < ile; ++j) {
        const std::size_t i = j * wszystkie / ile;
        const Plik& plik = Pliki[i];
        const std::string nazwa = Tekst(plik.nazwa);
        const bool modul = plik.rodzaj == Rodzaj::Program || plik.rodzaj == Rodzaj::Biblioteka ||
                           plik.rodzaj == Rodzaj::Kontrolka;
        const std::string katalog = plik.rodzaj == Rodzaj::Pomoc     ? "'Pomoc'"
                                    : plik.rodzaj == Rodzaj::Szablon ? "'Szablony'"
                                    : plik.rodzaj == Rodzaj::Raport  ? "'Raporty'"
                                                                     : "''";
        const std::string wersja = modul ? Tekst(plan.wersja) : "NULL";
        const std::string wersjaMin = plik.rodzaj == Rodzaj::Program ? Tekst(plan.wersja) : "NULL";
        const std::string wymagany =
            plik.rodzaj == Rodzaj::Pomoc || plik.rodzaj == Rodzaj::Raport ? "'0'" : "'1'";
        const std::uint32_t skrot = Skrot(plik.nazwa, plan.wersja);
        const std::string guid =
            plik.rodzaj == Rodzaj::Kontrolka
                ? "'{" + Hex(Skrot(plik.nazwa, "klasa"), 8) + "-" + Hex(skrot >> 16, 4) + "-4" +
                      Hex(Skrot(plik.nazwa, "a"), 3) + "-8" + Hex(Skrot(plik.nazwa, "b"), 3) + "-" +
                      Hex(Skrot(plik.nazwa, "c"), 8) + Hex(Skrot(plik.nazwa, "d"), 4) + "}'"
                : "NULL";
        const std::string crc = plik.rodzaj == Rodzaj::Pomoc ? "NULL" : Tekst(Hex(skrot, 8));
        const std::string data = Tekst(DataWydania(plan.pozycja, i));
        const std::string kolejnosc = Tekst(std::to_string(i + 1));

        p.Wiersz("if exists (select 'X' from dbo.PLIKI_WERSJE where NAZWA_PLIKU = " + nazwa + ")");
        p.Wiersz("\tupdate dbo.PLIKI_WERSJE");
        p.Wiersz("\t   set KATALOG = " + katalog + ", WERSJA = " + wersja + ", WERSJA_MIN = " +
                 wersjaMin + ", KOLEJNOSC = " + kolejnosc + ", WYMAGANY = " + wymagany + ",");
        p.Wiersz("\t       GUID = " + guid + ", CRC = " + crc + ", DATA_MODYFIKACJI = " + data);
        p.Wiersz("\t where NAZWA_PLIKU = " + nazwa);
        p.Wiersz("else");
        p.Wiersz(
            "\tinsert into dbo.PLIKI_WERSJE (NAZWA_PLIKU, KATALOG, WERSJA, WERSJA_MIN, KOLEJNOSC, "
            "WYMAGANY, GUID, CRC, DATA_WPISU, DATA_MODYFIKACJI)");
        p.Wiersz("\tvalues (" + nazwa + ", " + katalog + ", " + wersja + ", " + wersjaMin + ", " +
                 kolejnosc + ", " + wymagany + ", " + guid + ", " + crc + ", " + data + ", " +
                 data + ")");
        if (j + 1 < ile) p.Wiersz("");
    }
    p.Separator(SeparatorPrzedZamknieciem());
}

}  // namespace generator
