#pragma once
// The connection to SQL Server over ODBC: the SQL Server driver installed on the machine, opened
// from the program's connection string without any prompt, commands sent as UTF-16 with the wide
// calls, every result of a command read to its end so that no error goes unseen.

#include <memory>
#include <string>

#include "db/Polaczenie.h"

namespace zuv {

class PolaczenieODBC : public Polaczenie {
  public:
    static constexpr int LimitCzasuLogowania = 15;  // seconds

    // `limitCzasuLogowania`: seconds a log-in may take before it gives up. `limitPolecenia`: the
    // seconds that DomyslnyLimitCzasuPolecenia stands for on this connection. Tests shorten them.
    explicit PolaczenieODBC(int limitCzasuLogowania = LimitCzasuLogowania,
                            int limitPolecenia = DomyslnyLimitCzasuPolecenia);
    // Ends the session; the server rolls back whatever is still open when the session goes.
    ~PolaczenieODBC() override;

    // A command that fails because the link to the server is lost leaves the connection closed,
    // with no transaction counted: the server rolls back the transaction of an ended session.
    // A commit completes once the server confirms it, whatever becomes of the session after it.
    // A roll back completes also when the session is lost (the connection then counts as closed:
    // the server rolls back the transaction of an ended session) and when the server reports no
    // transaction open any more (it ended it itself, as for a deadlock victim). Any other failure
    // of a roll back raises its error and the transaction stays counted.

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
    Sesja& OtwartaSesja() const;
    WynikZapytania ZapytanieZRekordami(std::string_view polecenie);
    void PolecenieBezRekordow(std::string_view polecenie, int limitCzasuSekund);
    // Runs `funkcja`; when it fails because the link to the server is lost, the session is
    // released (the connection counts as closed, no transaction open) before the error goes on.
    template <typename Funkcja>
    auto ZamykajPoZerwaniu(Funkcja&& funkcja);
    // Whether the driver knows the link to the server lost (true also when closed).
    bool SesjaZerwana() const;
    // Releases a session that cannot be used any more; the connection counts as closed.
    void PorzucSesje() noexcept;
    // A new session from the same connection string in place of the old one; closed when the
    // server cannot be reached.
    void OdnowSesje() noexcept;
    // Asks the server whether it has a transaction open in this session (unreadable counts as
    // yes).
    bool TransakcjaNaSerwerze();
    // Autocommit back on after the transaction ended; false when the driver refused (the session
    // is released when the link is lost). Never throws.
    bool PrzywrocAutoZatwierdzanie() noexcept;
    int RozpocznijWSesji();

    int limitCzasuLogowania_;
    int limitPolecenia_;
    std::unique_ptr<Sesja> sesja_;
};

}  // namespace zuv
