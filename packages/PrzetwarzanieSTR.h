#pragma once
// The script runner: applies one loaded update package to the database. It cuts the package's
// lines into batches at separator lines, shows which operation it is at, turns the encryption
// marker into "WITH ENCRYPTION", leaves out batches that need a newer server generation, and
// executes the rest in order, all inside one transaction: a package is applied whole or not at
// all.
//
// Cutting is a pure function of the lines (PodzielNaPartie); executing is WykonajSkrypt.

#include <cstdint>
#include <string>
#include <string_view>

#include "common/Linie.h"

namespace zuv {

class KontrolkaPostepu;
class Polaczenie;

// A line that, without its leading and trailing bytes 0 to 32, is exactly G and O, each in
// either case. "go;", "GO -- x", "G O" and go next to a byte 160 are not separators.
bool JestSeparatorem(std::string_view linia) noexcept;

// The number of separator lines: the number of operations of a package.
std::int32_t LiczbaSeparatorow(const ListaLinii& linie) noexcept;

// Calls `oddaj(std::string& partia, std::int32_t numer)` for each separator line, in order, with
// the batch of the lines before it (up to the previous separator) and the separator's number,
// from 1. A batch is, for each of its lines, CR LF followed by the line unchanged: it begins with
// CR LF and has none at its end. `oddaj` may change the batch; one string is reused for all
// batches. Lines after the last separator are never handed on.
template <typename Funkcja>
void PodzielNaPartie(const ListaLinii& linie, Funkcja&& oddaj) {
    std::string partia;
    std::int32_t numer = 0;
    for (const std::string_view linia : linie) {
        if (JestSeparatorem(linia)) {
            oddaj(partia, ++numer);
            partia.clear();  // keeps its capacity for the next batch
        } else {
            partia += "\r\n";
            partia += linia;
        }
    }
}

// The encryption marker of the packages and what takes its place.
inline constexpr std::string_view ZnacznikSzyfrowania = "-- 'C810A5C6-2053-412E-8618-652E1868305B'";
inline constexpr std::string_view KlauzulaSzyfrowania = "WITH ENCRYPTION";

// The generation marker: "-- $MIN_SQL_" (exactly so) and the lowest server generation a batch
// needs in the four characters after it.
inline constexpr std::string_view ZnacznikGeneracji = "-- $MIN_SQL_";
// The first target version for which the runner asks the server for its generation; below it the
// generation is taken as GeneracjaDomyslna.
inline constexpr std::string_view PierwszaWersjaZGeneracja = "8.11.0.0";
inline constexpr std::int32_t GeneracjaDomyslna = 2000;

// Replaces the first occurrence of the encryption marker, letters' case ignored, by
// "WITH ENCRYPTION"; gives whether there was one. The rest of the batch is left as it was.
bool ZamienZnacznikSzyfrowania(std::string& partia);

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
    // raised again; a database client error (EOleException) of a batch is first wrapped into a
    // new EOleException "Błąd aktualizacji bazy do wersji <wersja> podczas wykonywania operacji
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

    // Whether a batch may run on a server of this generation. A batch with "-- $MIN_SQL_"
    // (exactly so) needs at least the number written in the (at most) four characters after the
    // first such text; they are converted with TekstNaInt, whose EConvertError passes on. A batch
    // without it always runs.
    static bool SpelniaMinSQL(std::int32_t wersjaSerwera, std::string_view partia);
};

}  // namespace zuv
