#pragma once
// The window command's calls made start to end on the calling thread, for a test that keeps no
// event loop turning: what a window does with each ZadanieWTle, without the thread.

#include <optional>

#include "app/PolecenieAktualizacji.h"

namespace zuv {

// "Loguj": the log-in, the version read and its end.
inline void ZalogujWWatku(PolecenieAktualizacji& polecenie) {
    if (std::optional<ZadanieWTle> logowanie = polecenie.RozpocznijLogowanie()) {
        logowanie->Wykonaj();
        (void)logowanie->Zakoncz();
    }
}

// "Aktualizuj" up to its run: the version read and its end (the checks and the question); gives
// the run when it is due.
inline std::optional<ZadanieWTle> RozpocznijPrzebiegWWatku(PolecenieAktualizacji& polecenie) {
    std::optional<ZadanieWTle> odczyt = polecenie.RozpocznijAktualizacje();
    if (!odczyt) return std::nullopt;
    odczyt->Wykonaj();
    return odczyt->Zakoncz();
}

// "Aktualizuj" whole: the run, when due, and its end.
inline void AktualizujWWatku(PolecenieAktualizacji& polecenie) {
    if (std::optional<ZadanieWTle> przebieg = RozpocznijPrzebiegWWatku(polecenie)) {
        przebieg->Wykonaj();
        (void)przebieg->Zakoncz();
    }
}

}  // namespace zuv
