#pragma once
// A connection held in memory, for unit tests of the code above the connection: it records every
// call in order, answers queries from a table given by the test, and fails any chosen call with
// the error the test gives. It reaches no server and is never part of the program.

#include <exception>
#include <map>
#include <string>
#include <vector>

#include "db/Polaczenie.h"

namespace zuv {

class PolaczeniePamieciowe : public Polaczenie {
  public:
    enum class Rodzaj {
        Otwarcie,
        Zamkniecie,
        Zapytanie,
        Polecenie,
        Rozpoczecie,
        Zatwierdzenie,
        Wycofanie
    };

    struct Wywolanie {
        Rodzaj rodzaj;
        std::string tekst;      // command text, or the OLE DB connection string when opening
        int limitCzasu = 0;     // seconds, for commands
        bool nieudane = false;  // the call raised the error set with Zawiedz
    };

    bool Otwarte() const override { return otwarte_; }
    WynikZapytania WykonajZRekordami(std::string_view polecenie) override;
    void WykonajBezRekordow(std::string_view polecenie, int limitCzasuSekund) override;

    // The answer to a query with exactly this text; a query without one raises EOleException.
    void UstawWynik(std::string zapytanie, WynikZapytania wynik);
    // A query with exactly this text raises `blad`, as a server that refuses it.
    void UstawBlad(std::string zapytanie, std::exception_ptr blad);
    // The n-th call (from 1) of this kind raises `blad` instead of completing.
    void Zawiedz(Rodzaj rodzaj, int ktore, std::exception_ptr blad);

    const std::vector<Wywolanie>& Wywolania() const noexcept { return wywolania_; }
    // The texts of the commands executed without records, in order.
    std::vector<std::string> Polecenia() const;
    // How many calls of this kind were made, failed ones included.
    int Liczba(Rodzaj rodzaj) const;

  protected:
    void OtworzSesje(const DaneLogowania& dane) override;
    void ZamknijSesje() override;
    int RozpocznijNaSerwerze() override;
    void ZatwierdzNaSerwerze() override;
    void WycofajNaSerwerze() override;

  private:
    void Zapisz(Rodzaj rodzaj, std::string tekst, int limitCzasu = 0);

    bool otwarte_ = false;
    int poziomNaSerwerze_ = 0;
    std::vector<Wywolanie> wywolania_;
    std::map<std::string, WynikZapytania, std::less<>> wyniki_;
    std::map<std::string, std::exception_ptr, std::less<>> bledyZapytan_;
    std::map<std::pair<Rodzaj, int>, std::exception_ptr> bledy_;
};

}  // namespace zuv
