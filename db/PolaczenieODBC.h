#pragma once
// The connection to SQL Server over ODBC: the SQL Server driver installed on the machine, opened
// from the program's connection string without any prompt, commands sent as UTF-16 with the wide
// calls, every result of a command read to its end so that no error goes unseen.

#include <memory>
#include <string>

#include "db/Polaczenie.h"

class PolaczenieODBC : public Polaczenie {
  public:
    static constexpr int LimitCzasuLogowania = 15;  // seconds

    PolaczenieODBC();
    // Ends the session; the server rolls back whatever is still open when the session goes.
    ~PolaczenieODBC() override;

    bool Otwarte() const override;
    WynikZapytania WykonajZRekordami(std::string_view polecenie) override;
    void WykonajBezRekordow(std::string_view polecenie, int limitCzasuSekund) override;

    // The driver the open session uses (empty when closed).
    std::string Sterownik() const;

  protected:
    void OtworzSesje(const std::string& connectionString) override;
    void ZamknijSesje() override;
    int RozpocznijNaSerwerze() override;
    void ZatwierdzNaSerwerze() override;
    void WycofajNaSerwerze() override;

  private:
    struct Sesja;
    void ZakonczTransakcje(bool zatwierdz);
    Sesja& OtwartaSesja() const;

    std::unique_ptr<Sesja> sesja_;
};
