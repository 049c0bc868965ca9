#pragma once
// The main window as the update command sees it, held in memory: log-in values set by the test,
// the version line, the group's visibility, the strip's texts, colour and fill recorded, and the
// catalogue of the program.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "app/InterfejsyOkna.h"
#include "versions/KatalogWersji.h"

class OknoPamieciowe : public zuv::PolaLogowania,
                       public zuv::GrupaAktualizacji,
                       public zuv::ListaWersji,
                       public zuv::PasekInformacyjny {
  public:
    std::string Serwer() const override { return serwer; }
    std::string Baza() const override { return baza; }
    std::string Uzytkownik() const override { return "sa"; }
    std::string Haslo() const override { return "Tajne;1"; }
    void UstawTekstWersji(const std::string& tekst) override { wersja = tekst; }
    void PokazGrupe(bool widoczna) override { grupaWidoczna = widoczna; }
    int LiczbaWersji() const override { return static_cast<int>(zuv::KatalogWersji.size()); }
    std::string Wersja(int i) const override { return std::string(zuv::KatalogWersji.at(i)); }
    void UstawTekst(std::string_view tekst) override { teksty.emplace_back(tekst); }
    void OdswiezTeraz() override {}
    bool Widoczna() const override { return true; }
    void UstawKolor(std::uint32_t nowy) override { kolor = nowy; }
    void PrzywrocKolor() override { kolor = 0xFFFFFF; }
    void UstawWypelnienie(std::int64_t wykonane, std::int64_t wszystkie) override {
        wypelnienia.emplace_back(wykonane, wszystkie);
    }

    std::string serwer = "SERWER\\ZUV";
    std::string baza = "Środki";
    std::string wersja;
    bool grupaWidoczna = false;
    std::vector<std::string> teksty;
    std::uint32_t kolor = 0xFFFFFF;
    std::vector<std::pair<std::int64_t, std::int64_t>> wypelnienia;
};
