#pragma once
// The connection to SQL Server over ODBC: the SQL Server driver installed on the machine, opened
// from the log-in values without any prompt, every result of a command read to its end so that no
// error goes unseen. Commands go as UTF-16 through the wide calls, except to FreeTDS on Linux with
// log-in values in ASCII: it takes them as UTF-8 through the narrow calls, one conversion fewer.

#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "common/Wyjatki.h"
#include "db/Polaczenie.h"
#include "db/UtrataPolaczenia.h"

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

    // A log-in the driver fails raises EOleException by the rules of BladLogowania
    // (db/BladLogowania.h): its cause in Polish, then the driver's text. Where FreeTDS's records
    // cannot tell the cause, the server is first asked for its pre-login answer, which may add up
    // to the log-in time-out. Log-in values that cannot be sent raise EDatabaseError before
    // anything is sent (db/ConnectionStringODBC.h).
    //
    // A command waits as long as its time-out says. A begin or commit waits as long as
    // DomyslnyLimitCzasuPolecenia stands for, where the driver allows it (FreeTDS; Microsoft's
    // drivers bound only log-ins and commands): a server that does not answer in time then ends
    // the session, which counts as lost (EUtrataPolaczenia, PrzyczynaUtraty::BrakOdpowiedzi).
    //
    // A command, begin or commit that fails because the link to the server is lost (the driver
    // marks the connection dead, or reports SQLSTATE class 08) raises EUtrataPolaczenia (step
    // Polecenie, Rozpoczecie or Zatwierdzenie) and leaves the connection closed, with no
    // transaction counted: the server rolls back the transaction of an ended session. A commit the
    // server confirmed, after which the session is lost or cannot be trusted (the driver could not
    // leave manual-commit mode), raises EUtrataPolaczenia at PoZatwierdzeniu: the package is
    // committed, and the connection is closed.
    //
    // A roll back first asks the server whether a transaction is open (it may have ended it
    // itself, as for a deadlock victim). It completes when the session is lost (the connection
    // then counts as closed), when nothing was open, and when the server answers 3903 (nothing to
    // roll back). Any other failure ends the session, so that the server rolls back whatever is
    // open, and raises EOleException "Wycofanie zmian nie powiodło się: <server's text>" CR LF
    // with what the program did and what to do next; no transaction is counted afterwards. A
    // session the driver cannot bring back to autocommit after a roll back is replaced by a new
    // one (closed when the server cannot be reached).

    bool Otwarte() const override;
    // SQLCancel on the statement running now; the driver sends the server an attention.
    void Anuluj() noexcept override;
    WynikZapytania WykonajZRekordami(std::string_view polecenie) override;
    void WykonajBezRekordow(std::string_view polecenie, int limitCzasuSekund) override;

    // The driver the open session uses (empty when closed).
    std::string Sterownik() const;

  protected:
    void OtworzSesje(const DaneLogowania& dane) override;
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
    // `krok` names the step in the EUtrataPolaczenia raised in place of the error.
    template <typename Funkcja>
    auto ZamykajPoZerwaniu(KrokUtraty krok, Funkcja&& funkcja);
    // Whether the driver knows the link to the server lost (true also when closed).
    bool SesjaZerwana() const;
    // Whether `blad`, raised by a call on the open connection, tells of a lost link.
    bool LaczeZerwane(const EOleException& blad) const;
    // Releases a session that cannot be used any more; the connection counts as closed.
    void PorzucSesje() noexcept;
    // A new session from the same connection string in place of the old one; closed when the
    // server cannot be reached.
    void OdnowSesje() noexcept;
    // Asks the server whether it has a transaction open in this session (unreadable counts as
    // yes).
    bool TransakcjaNaSerwerze();
    // Autocommit back on after the transaction ended; the driver's error when it refused, the
    // driver then still in manual-commit mode.
    std::optional<EOleException> PrzywrocAutoZatwierdzanie();
    int RozpocznijWSesji();

    // Keeps the statement handle of the command running now, for Anuluj from another thread.
    class BiezacePolecenie;

    int limitCzasuLogowania_;
    int limitPolecenia_;
    std::unique_ptr<Sesja> sesja_;
    std::mutex blokadaAnulowania_;
    void* biezace_ = nullptr;  // the running statement's handle, under blokadaAnulowania_
};

}  // namespace zuv
