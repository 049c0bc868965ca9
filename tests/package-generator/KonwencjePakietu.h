#pragma once
// What the package format promises, checked on one package: the sample packages and the
// full-size ones must both keep it. Each check reports through GoogleTest.

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "AnalizaPakietu.h"

struct Pakiet {
    std::string wersja;
    std::string bajty;
    std::vector<std::string_view> wiersze;
    std::vector<Partia> partie;

    Pakiet(std::string_view w, std::string b);
    Pakiet(const Pakiet&) = delete;
    Pakiet& operator=(const Pakiet&) = delete;
};

void SprawdzBajtyIKonceWierszy(const Pakiet& p);
void SprawdzPartieOtwierajaca(const Pakiet& p);
void SprawdzPartieZamykajaca(const Pakiet& p);
// Returns how often each separator form (the exact line) occurs.
std::map<std::string, int> SprawdzSeparatoryIPartie(const Pakiet& p);
void SprawdzZnacznikiSzyfrowania(const Pakiet& p);
void SprawdzZnacznikiGeneracji(const Pakiet& p);
void SprawdzFunkcjeWersjiSerwera(const Pakiet& p);
void SprawdzSekcje(const Pakiet& p);
void SprawdzObiektySesjiIWzorca(const Pakiet& p);
