#pragma once
// The script runner: applies one loaded update package to the database. It cuts the package's
// lines into batches at separator lines, shows which operation it is at, turns the encryption
// marker into "WITH ENCRYPTION", leaves out batches that need a newer server generation, and
// executes the rest in order, all inside one transaction: a package is applied whole or not at
// all.
//
// What a separator, a batch and a marker are is the package format's (packages/format/
// FormatPakietu.h), which the package checker reads with no database behind it; executing is
// WykonajSkrypt.

#include <cstdint>
#include <string>
#include <string_view>

#include "common/Linie.h"
#include "common/Wyjatki.h"
#include "packages/format/FormatPakietu.h"

namespace zuv {

class KontrolkaPostepu;
class Polaczenie;

// A batch's database client error as the runner raises it: "Błąd aktualizacji bazy do wersji
// <wersja> podczas wykonywania operacji <n>:" CR LF "<the client's message>", with the client's
// code, source, help file, help context and SQLSTATE; the version, the batch and the message are
// also kept apart, for a caller that words them itself.
class EBladPartii : public EOleException {
  public:
    EBladPartii(const EOleException& blad, std::string_view wersja, std::int32_t operacja);
    // The same with `dopisek` after a line break (what a failed roll back added).
    EBladPartii ZDopiskiem(const std::string& dopisek) const;

    const std::string& Wersja() const noexcept { return wersja_; }
    std::int32_t Operacja() const noexcept { return operacja_; }
    // The client's message: the server's own text.
    const std::string& TekstSerwera() const noexcept { return tekstSerwera_; }

  private:
    EBladPartii(std::string_view komunikat, const EBladPartii& wzor);

    std::string wersja_;
    std::int32_t operacja_;
    std::string tekstSerwera_;
};

struct TPrzetwarzanieSTR {
    TPrzetwarzanieSTR() = delete;

    // Seconds each batch may run: 30 days.
    static constexpr std::int32_t LimitCzasuPartii = 2592000;
    // The info panel's colour after a failed batch: BBBBFF with red in the low byte.
    static constexpr std::uint32_t KolorBledu = 12303359;

    // Applies the package `linie` for the target version `wersja` over `polaczenie`, on which no
    // transaction may be open. Gives false, having begun nothing and shown nothing, when the
    // package holds only bytes 0 to 32; true once every batch up to the last separator line has
    // run (or been left out by the generation gate) and the transaction is committed.
    //
    // The server generation is read once, before anything else, for targets from 8.11.0.0 on, and
    // is 2000 below. `zamienZnacznik` turns the encryption marker of each batch into
    // "WITH ENCRYPTION". `kontrolka` shows the preparation text, then which operation of how many
    // is running; it may be null.
    //
    // Errors: a malformed `wersja` (EConvertError) and the errors of reading the generation pass
    // on before any transaction. Once the transaction is begun every error rolls it back and is
    // raised again; a database client error (EOleException) of a batch is first wrapped into an
    // EBladPartii "Błąd aktualizacji bazy do wersji <wersja> podczas wykonywania operacji
    // <n>:" CR LF "<message>" with the caught code, source, help file and help context, and a
    // visible control shows the failure text in KolorBledu. A roll-back never hides the error:
    // when it fails, its error's text is added after a line break; when the session is gone after
    // it, the text that says so (OpisUtraty at Wycofanie). A transaction the connection no longer
    // counts (its session was lost, and the server rolled it back) is not rolled back again.
    //
    // A lost connection (EUtrataPolaczenia, db/UtrataPolaczenia.h) is raised again placed at its
    // step of this package: OdczytGeneracji, Rozpoczecie, Partia with the operation's number (the
    // control then shows the failure as for a batch's error), Zatwierdzenie or PoZatwierdzeniu.
    static bool WykonajSkrypt(Polaczenie* polaczenie, const ListaLinii& linie, bool zamienZnacznik,
                              KontrolkaPostepu* kontrolka, std::string_view wersja);

    // Whether a batch may run on a server of this generation: the format's generation gate
    // (zuv::SpelniaMinSQL), which the runner applies to every batch.
    static bool SpelniaMinSQL(std::int32_t wersjaSerwera, std::string_view partia) {
        return zuv::SpelniaMinSQL(wersjaSerwera, partia);
    }
};

}  // namespace zuv
