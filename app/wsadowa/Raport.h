#pragma once
// What the unattended program leaves behind: the closing table of every database, and the JSON
// report of --raport for whatever reads the night's results.

#include <chrono>
#include <string>
#include <vector>

#include "app/wsadowa/PrzebiegBazy.h"

namespace zuv {

// The table: server, database, version before and after, result and time, one line each.
std::string TabelaWynikow(const std::vector<const WynikBazy*>& wyniki);

// The run journal as the report gives it: its file (empty when none is known) and each distinct
// failure to write it, a sentence naming the file and the system's reason.
struct DziennikRaportu {
    std::string sciezka;
    std::vector<std::string> bledy;
};

// The program's run as the report gives it.
struct PrzebiegProgramu {
    std::chrono::system_clock::time_point poczatek;
    std::chrono::system_clock::time_point koniec;
    std::string doWersji;      // --do-wersji; empty without it
    bool sprawdzenie = false;  // --sprawdz
    int kodWyjscia = 0;
};

// The report, in the form docs/raport.schema.json gives and the read-me shows: the program, its
// version, start and end (ISO 8601 local time with its offset), the target, whether it only
// checked, the exit code, the journal, and for each database its names, the result as an ASCII
// code and in Polish, its code, the versions before, after and targeted, its start and end, the
// packages committed and those due, where a failure met a package (version and batch) and the
// failure's text. Indented by two; what is not known gives null; seconds are numbers to the
// millisecond. Always valid JSON: each broken UTF-8 sequence of a text becomes U+FFFD. Never
// throws but for memory.
std::string RaportJson(const std::vector<const WynikBazy*>& wyniki, const PrzebiegProgramu& program,
                       const DziennikRaportu& dziennik);

// Before anything runs: whether the report can be written at `sciezka`, by creating and removing
// the file it will be written through. Raises EBladArgumentow with a Polish sentence naming the
// path and the system's reason when it cannot (a missing folder, a file in a folder's place, a
// folder in the report's place, no right to create a file there).
void SprawdzMiejsceRaportu(const std::string& sciezka);

// Writes the report whole (to a file beside it, then renamed over it, so that a reader never meets
// half of one); raises Exception with a Polish sentence naming the path and the system's reason
// when it cannot, leaving no file beside it.
void ZapiszRaport(const std::string& sciezka, const std::string& tresc);

}  // namespace zuv
