#pragma once
// What the unattended program leaves behind: the closing table of every database, and the JSON
// report of --raport for whatever reads the night's results.

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

// {"program", "wersja_programu", "kod_wyjscia", "dziennik": {"sciezka", "bledy": [...]},
// "bazy": [{"serwer", "baza", "uzytkownik", "wersja_przed", "wersja_po", "wynik", "kod",
// "sekundy", "pakiety": [{"wersja", "sekundy"}], "blad"}]}, indented by two; a version not known,
// a database without failure and a journal without a file give null, seconds are numbers to the
// millisecond. Always valid JSON: each broken UTF-8 sequence of a text becomes U+FFFD. Never
// throws but for memory.
std::string RaportJson(const std::vector<const WynikBazy*>& wyniki, int kodWyjscia,
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
