#include "AnalizaPakietu.h"

#include <iconv.h>

#include <algorithm>
#include <stdexcept>

#include "versions/KatalogWersji.h"

using namespace zuv;

std::vector<std::string_view> PodzielNaWiersze(std::string_view tekst) {
    std::vector<std::string_view> wiersze;
    std::size_t i = 0;
    while (i < tekst.size() && tekst[i] != '\0') {
        std::size_t koniec = i;
        while (koniec < tekst.size() && tekst[koniec] != '\r' && tekst[koniec] != '\n' &&
               tekst[koniec] != '\0')
            ++koniec;
        wiersze.push_back(tekst.substr(i, koniec - i));
        i = koniec;
        if (i < tekst.size() && tekst[i] == '\r') ++i;
        if (i < tekst.size() && tekst[i] == '\n') ++i;
    }
    return wiersze;
}

bool JestSeparatoremDrugiOdczyt(std::string_view wiersz) {
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
    while (!wiersz.empty() && blank(wiersz.front())) wiersz.remove_prefix(1);
    while (!wiersz.empty() && blank(wiersz.back())) wiersz.remove_suffix(1);
    return wiersz.size() == 2 && (wiersz[0] == 'G' || wiersz[0] == 'g') &&
           (wiersz[1] == 'O' || wiersz[1] == 'o');
}

std::size_t Partia::Znaki() const {
    std::size_t n = 0;
    for (std::string_view w : wiersze) n += 2 + w.size();
    return n;
}

std::string Partia::Tekst() const {
    std::string t;
    t.reserve(Znaki());
    for (std::string_view w : wiersze) {
        t += "\r\n";
        t += w;
    }
    return t;
}

std::string_view Partia::PierwszyWierszKodu() const {
    for (std::string_view w : wiersze) {
        const std::size_t poczatek = w.find_first_not_of(" \t");
        if (poczatek == std::string_view::npos || w.substr(poczatek).starts_with("--")) continue;
        return w;
    }
    return {};
}

std::vector<Partia> PodzielNaPartieDrugiOdczyt(const std::vector<std::string_view>& wiersze) {
    std::vector<Partia> partie;
    Partia biezaca;
    for (std::size_t i = 0; i < wiersze.size(); ++i) {
        if (JestSeparatoremDrugiOdczyt(wiersze[i])) {
            biezaca.separator = wiersze[i];
            biezaca.numerSeparatora = i + 1;
            partie.push_back(std::move(biezaca));
            biezaca = {};
        } else {
            biezaca.wiersze.push_back(wiersze[i]);
        }
    }
    return partie;
}

StanLeksykalny StanNaKoncu(std::string_view t) {
    StanLeksykalny s;
    for (std::size_t i = 0; i < t.size(); ++i) {
        const char c = t[i];
        const char nastepny = i + 1 < t.size() ? t[i + 1] : '\0';
        if (s.wLiterale) {
            if (c == '\'') s.wLiterale = false;  // a doubled quote reopens at once
        } else if (s.glebokoscKomentarza > 0) {
            if (c == '/' && nastepny == '*') {
                ++s.glebokoscKomentarza;
                ++i;
            } else if (c == '*' && nastepny == '/') {
                --s.glebokoscKomentarza;
                ++i;
            }
        } else if (c == '-' && nastepny == '-') {
            while (i < t.size() && t[i] != '\r' && t[i] != '\n') ++i;
        } else if (c == '/' && nastepny == '*') {
            ++s.glebokoscKomentarza;
            ++i;
        } else if (c == '\'') {
            s.wLiterale = true;
        }
    }
    return s;
}

RodzajPartii Rodzaj(const Partia& partia) {
    const std::string_view w = partia.PierwszyWierszKodu();
    if (w.starts_with("CREATE PROCEDURE dbo.")) return RodzajPartii::Procedura;
    if (w.starts_with("CREATE FUNCTION dbo.")) return RodzajPartii::Funkcja;
    if (w.starts_with("CREATE TRIGGER dbo.")) return RodzajPartii::Wyzwalacz;
    return RodzajPartii::Inna;
}

std::string NazwaTworzonegoObiektu(const Partia& partia) {
    if (Rodzaj(partia) == RodzajPartii::Inna) return {};
    const std::string_view w = partia.PierwszyWierszKodu();
    const std::size_t od = w.find("dbo.") + 4;
    const std::size_t koniec = w.find_first_of(" (", od);
    return std::string(
        w.substr(od, koniec == std::string_view::npos ? std::string_view::npos : koniec - od));
}

std::string Cp1250(std::string_view utf8) {
    iconv_t cd = iconv_open("CP1250", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv: brak CP1250");
    std::string wejscie(utf8);
    std::string wynik(wejscie.size(), '\0');
    char* we = wejscie.data();
    char* wy = wynik.data();
    std::size_t weDl = wejscie.size();
    std::size_t wyDl = wynik.size();
    const std::size_t r = iconv(cd, &we, &weDl, &wy, &wyDl);
    iconv_close(cd);
    if (r == static_cast<std::size_t>(-1)) throw std::runtime_error("iconv: znak spoza CP1250");
    wynik.resize(wynik.size() - wyDl);
    return wynik;
}

std::string RTrim(std::string_view s) {
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return std::string(s);
}

Figury Zmierz(std::string_view pakiet) {
    Figury f;
    f.bajty = static_cast<long>(pakiet.size());
    for (std::size_t i = 0; i < pakiet.size(); ++i)
        if (pakiet[i] == '\r' && (i + 1 == pakiet.size() || pakiet[i + 1] != '\n')) ++f.samotneCR;
    const std::vector<std::string_view> wiersze = PodzielNaWiersze(pakiet);
    f.wiersze = static_cast<long>(wiersze.size());
    for (const Partia& p : PodzielNaPartieDrugiOdczyt(wiersze)) {
        ++f.partie;
        (p.separator.starts_with("GO") ? f.separatoryGO : f.separatorygo)++;
        bool szyfrowanie = false;
        bool generacja = false;
        for (std::string_view w : p.wiersze) {
            szyfrowanie = szyfrowanie || w.find(ZnacznikSzyfrowania) != std::string_view::npos;
            generacja = generacja || w.find("-- $MIN_SQL_") != std::string_view::npos;
        }
        f.partieZSzyfrowaniem += szyfrowanie;
        f.partieZGeneracja += generacja;
        switch (Rodzaj(p)) {
            case RodzajPartii::Procedura:
                ++f.procedury;
                break;
            case RodzajPartii::Funkcja:
                ++f.funkcje;
                break;
            case RodzajPartii::Wyzwalacz:
                ++f.wyzwalacze;
                break;
            case RodzajPartii::Inna:
                break;
        }
        const std::size_t znaki = p.Znaki();
        if (znaki > 65536) ++f.partiePonad64k;
        if (znaki > f.najwiekszaPartia) {
            f.najwiekszaPartia = znaki;
            f.wierszeNajwiekszejPartii = p.wiersze.size();
        }
    }
    return f;
}

std::size_t Pozycja(std::string_view wersja) {
    const auto it = std::find(KatalogWersji.begin(), KatalogWersji.end(), wersja);
    if (it == KatalogWersji.end()) throw std::invalid_argument("wersja spoza katalogu");
    return static_cast<std::size_t>(it - KatalogWersji.begin());
}

bool Od(std::string_view wersja, std::string_view pierwsza) {
    return Pozycja(wersja) >= Pozycja(pierwsza);
}
