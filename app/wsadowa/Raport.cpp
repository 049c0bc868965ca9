#include "app/wsadowa/Raport.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "common/Tekst.h"
#include "common/WersjaProgramu.h"

namespace zuv {

namespace {

// A JSON string: quote, backslash and control characters escaped; the rest is UTF-8 as it is.
std::string Napis(const std::string& tekst) {
    std::string wynik = "\"";
    for (const char znak : tekst) {
        const auto bajt = static_cast<unsigned char>(znak);
        if (znak == '"' || znak == '\\') {
            wynik += '\\';
            wynik += znak;
        } else if (znak == '\n') {
            wynik += "\\n";
        } else if (znak == '\r') {
            wynik += "\\r";
        } else if (znak == '\t') {
            wynik += "\\t";
        } else if (bajt < 0x20) {
            char kod[8];
            std::snprintf(kod, sizeof kod, "\\u%04x", bajt);
            wynik += kod;
        } else {
            wynik += znak;
        }
    }
    return wynik + "\"";
}

std::string NapisLubNull(const std::string& tekst) { return tekst.empty() ? "null" : Napis(tekst); }

std::string Liczba(double sekundy) {
    char tekst[32];
    std::snprintf(tekst, sizeof tekst, "%.3f", sekundy);
    return tekst;
}

// Characters of a UTF-8 text, for the table's columns.
std::size_t Znaki(const std::string& tekst) {
    return static_cast<std::size_t>(std::count_if(tekst.begin(), tekst.end(), [](char znak) {
        return (static_cast<unsigned char>(znak) & 0xC0) != 0x80;
    }));
}

}  // namespace

std::string TabelaWynikow(const std::vector<const WynikBazy*>& wyniki) {
    std::vector<std::vector<std::string>> wiersze = {
        {"Serwer", "Baza", "Przed", "Po", "Wynik", "Czas"}};
    for (const WynikBazy* wynik : wyniki)
        wiersze.push_back({wynik->serwer, wynik->baza,
                           wynik->wersjaPrzed.empty() ? "-" : wynik->wersjaPrzed,
                           wynik->wersjaPo.empty() ? "-" : wynik->wersjaPo, OpisWyniku(*wynik),
                           wynik->rozpoczeta ? CzasDlaLudzi(wynik->sekundy) : "-"});
    std::vector<std::size_t> szerokosci(wiersze.front().size(), 0);
    for (const auto& wiersz : wiersze)
        for (std::size_t i = 0; i < wiersz.size(); ++i)
            szerokosci[i] = std::max(szerokosci[i], Znaki(wiersz[i]));
    std::string tabela;
    for (const auto& wiersz : wiersze) {
        std::string linia;
        for (std::size_t i = 0; i < wiersz.size(); ++i) {
            linia += wiersz[i];
            if (i + 1 < wiersz.size()) linia.append(szerokosci[i] - Znaki(wiersz[i]) + 2, ' ');
        }
        tabela += linia + "\n";
    }
    return tabela;
}

std::string RaportJson(const std::vector<const WynikBazy*>& wyniki, int kodWyjscia) {
    std::string json = "{\n  \"program\": \"aktualizacja-zuv-wsadowa\",\n";
    json += "  \"wersja_programu\": " + Napis(WersjaProgramu) + ",\n";
    json += "  \"kod_wyjscia\": " + std::to_string(kodWyjscia) + ",\n  \"bazy\": [";
    for (std::size_t i = 0; i < wyniki.size(); ++i) {
        const WynikBazy& wynik = *wyniki[i];
        json += i == 0 ? "\n" : ",\n";
        json += "    {\"serwer\": " + Napis(wynik.serwer) + ", \"baza\": " + Napis(wynik.baza) +
                ", \"uzytkownik\": " + Napis(wynik.uzytkownik) +
                ",\n     \"wersja_przed\": " + NapisLubNull(wynik.wersjaPrzed) +
                ", \"wersja_po\": " + NapisLubNull(wynik.wersjaPo) +
                ", \"wynik\": " + Napis(OpisWyniku(wynik)) +
                ", \"kod\": " + std::to_string(wynik.kod) +
                ", \"sekundy\": " + Liczba(wynik.sekundy) + ",\n     \"pakiety\": [";
        for (std::size_t j = 0; j < wynik.pakiety.size(); ++j)
            json += (j == 0 ? "" : ", ") + std::string("{\"wersja\": ") +
                    Napis(wynik.pakiety[j].first) +
                    ", \"sekundy\": " + Liczba(wynik.pakiety[j].second) + "}";
        json += "],\n     \"blad\": " + NapisLubNull(wynik.blad) + "}";
    }
    json += "\n  ]\n}\n";
    return json;
}

void ZapiszRaport(const std::string& sciezka, const std::string& tresc) {
    const std::filesystem::path docelowa(std::u8string(sciezka.begin(), sciezka.end()));
    std::filesystem::path tymczasowa = docelowa;
    tymczasowa += ".tmp";
    {
        std::ofstream plik(tymczasowa, std::ios::binary | std::ios::trunc);
        plik << tresc;
        plik.close();
        if (!plik) throw Exception(Formatuj("Nie można zapisać raportu %s.", {sciezka}));
    }
    std::error_code blad;
    std::filesystem::rename(tymczasowa, docelowa, blad);
    if (blad)
        throw Exception(Formatuj("Nie można zapisać raportu %s: %s.", {sciezka, blad.message()}));
}

}  // namespace zuv
