#pragma once
// The program's one database connection, as the code above it sees it: open and close, execute a
// command with or without records, and transactions with the connection's own nesting counter.
// Every failure of the client interface or the server is raised as EOleException.
//
// The counter is kept here, never asked of the server: beginning sets it to the nesting level the
// interface returns; a commit or roll back that completes lowers it by one (never below zero); one
// that fails leaves it as it was, unless the connection ended its session for it (the server then
// rolls back what was open, and the counter is zero). Closing first rolls back while the counter
// is above zero; a failing roll back stops the close with its error.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "db/DaneLogowania.h"

namespace zuv {

// A field value as the server returns it: NULL, text (UTF-8) or integer.
using WartoscPola = std::variant<std::monostate, std::string, std::int64_t>;

struct WynikZapytania {
    std::int64_t liczbaRekordow = 0;          // exact
    std::optional<WartoscPola> pierwszePole;  // field 0 of record 0; empty when there is none
    // Every field of every record of the first result set, for the few small queries that read
    // more than one value; integers as integers, everything else (dates too) as text.
    std::vector<std::vector<WartoscPola>> wiersze = {};
};

class Polaczenie {
  public:
    static constexpr int DomyslnyLimitCzasuPolecenia = 30;  // seconds

    virtual ~Polaczenie() = default;
    Polaczenie(const Polaczenie&) = delete;
    Polaczenie& operator=(const Polaczenie&) = delete;

    // The values the next Otworz logs in with.
    void UstawDaneLogowania(DaneLogowania dane) { dane_ = std::move(dane); }
    const DaneLogowania& Logowanie() const noexcept { return dane_; }

    // Opens a session with the log-in values; never prompts for credentials.
    void Otworz();
    // Rolls back open transactions one at a time, then ends the session. Nothing when closed.
    void Zamknij();
    virtual bool Otwarte() const = 0;

    // Executes a command text (code page 1250) that returns a result set, with the 30 s limit.
    virtual WynikZapytania WykonajZRekordami(std::string_view polecenie) = 0;
    // Executes a command text (code page 1250) to its end, every statement of it, expecting no
    // records; an error raised by any statement of the text is raised here.
    virtual void WykonajBezRekordow(std::string_view polecenie,
                                    int limitCzasuSekund = DomyslnyLimitCzasuPolecenia) = 0;

    // Asks the server to stop the command that another thread is running on this connection (an
    // attention): that command then fails with the driver's cancel error. Between commands it
    // does nothing. Any thread; never throws.
    virtual void Anuluj() noexcept {}

    // Begins a transaction and returns its nesting level (1 for a first transaction).
    int BeginTrans();
    void CommitTrans();
    void RollbackTrans();
    int PoziomTransakcji() const noexcept { return poziomTransakcji_; }

  protected:
    Polaczenie() = default;

    virtual void OtworzSesje(const DaneLogowania& dane) = 0;
    virtual void ZamknijSesje() = 0;
    // Each returns when the interface completed the step and throws when it did not.
    virtual int RozpocznijNaSerwerze() = 0;
    virtual void ZatwierdzNaSerwerze() = 0;
    virtual void WycofajNaSerwerze() = 0;

    // For a subclass whose session ended without a roll back: the server rolled back whatever
    // was open, so no transaction counts any more.
    void ZapomnijTransakcje() noexcept { poziomTransakcji_ = 0; }

  private:
    DaneLogowania dane_;
    int poziomTransakcji_ = 0;
};

}  // namespace zuv
