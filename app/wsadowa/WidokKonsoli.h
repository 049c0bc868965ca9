#pragma once
// The main window's parts as the unattended program has them for one database: the log-in values
// of its line, the version line and the runner's texts printed, every box printed instead of shown
// and the question answered by --tak or by the person at the terminal.

#include <chrono>
#include <cstddef>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "app/InterfejsyOkna.h"
#include "app/ObserwatorPrzebiegu.h"
#include "app/wsadowa/ListaBaz.h"
#include "app/wsadowa/Wydruk.h"

namespace zuv {

// How the question "Wykonać aktualizację ...?" gets its answer.
enum class OdpowiedzNaPytanie {
    Tak,         // --tak
    ZTerminala,  // the person at the terminal
    Nie,         // nobody to ask: standard input is no terminal
    NieNaraz,    // several databases at once cannot share one keyboard
};

class WidokKonsoli final : public PolaLogowania,
                           public GrupaAktualizacji,
                           public ListaWersji,
                           public OknaKomunikatow,
                           public PasekInformacyjny,
                           public ObserwatorPrzebiegu {
  public:
    // `numer`: the database's place on the list, for its status line. `przedrostek`: what starts
    // each of its lines ("[serwer/baza] " on a list, nothing for one database).
    WidokKonsoli(BazaDoAktualizacji baza, std::size_t numer, std::string przedrostek,
                 OdpowiedzNaPytanie odpowiedz, Wydruk& wydruk);

    std::string Serwer() const override { return baza_.serwer; }
    std::string Baza() const override { return baza_.baza; }
    std::string Uzytkownik() const override { return baza_.uzytkownik; }
    std::string Haslo() const override { return baza_.haslo; }

    void UstawTekstWersji(const std::string& tekst) override;
    void PokazGrupe(bool) override {}

    int LiczbaWersji() const override;
    std::string Wersja(int indeks) const override;

    int Pokaz(const std::string& tekst, const std::string& tytul, int styl) override;

    void UstawTekst(std::string_view tekstUtf8) override;
    void OdswiezTeraz() override {}
    bool Widoczna() const override { return true; }
    void UstawKolor(std::uint32_t) override {}
    void PrzywrocKolor() override {}
    void UstawWypelnienie(std::int64_t, std::int64_t) override {}

    void PakietRozpoczety(const std::string& wersja, std::size_t numer,
                          std::size_t liczba) override;
    void PakietZatwierdzony(const std::string& wersja, double sekundy) override;

    // A line of this database's run; its failure on standard error.
    void Wiersz(const std::string& tekst) { wydruk_.Wiersz(przedrostek_ + tekst); }
    void Blad(const std::string& tekst) { wydruk_.Blad(przedrostek_ + tekst); }
    // The status line, with the time since the database's run began.
    void OdswiezStan();
    void ZakonczStan() { wydruk_.UsunStan(numer_); }

    // The packages committed, with their times in seconds.
    std::vector<std::pair<std::string, double>> Zatwierdzone() const;
    const std::string& PrzedrostekLinii() const noexcept { return przedrostek_; }

  private:
    BazaDoAktualizacji baza_;
    std::size_t numer_;
    std::string przedrostek_;
    OdpowiedzNaPytanie odpowiedz_;
    Wydruk& wydruk_;
    std::chrono::steady_clock::time_point poczatek_ = std::chrono::steady_clock::now();

    mutable std::mutex blokada_;
    std::string tekstPaska_;
    std::vector<std::pair<std::string, double>> zatwierdzone_;
};

}  // namespace zuv
