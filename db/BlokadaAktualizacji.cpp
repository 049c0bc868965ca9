#include "db/BlokadaAktualizacji.h"

#include <cstdint>
#include <variant>

#include "common/Tekst.h"
#include "common/Wyjatki.h"
#include "db/Polaczenie.h"

namespace zuv {

void ZalozBlokadeAktualizacji(Polaczenie& polaczenie, const std::string& serwer,
                              const std::string& baza) {
    const WynikZapytania wynik = polaczenie.WykonajZRekordami(ZapytanieBlokadyAktualizacji);
    // sp_getapplock gives 0 or 1 when the lock is granted, and a negative number when it is not:
    // -1 another session holds it (no waiting with a time-out of 0), -2 cancelled, -3 chosen as
    // a deadlock victim, -999 a wrong call.
    const std::int64_t* kod = wynik.liczbaRekordow == 1 && wynik.pierwszePole
                                  ? std::get_if<std::int64_t>(&*wynik.pierwszePole)
                                  : nullptr;
    if (kod != nullptr && *kod >= 0) return;
    if (kod != nullptr && *kod == -1)
        throw EBazaZablokowana(Formatuj(
            "Baza %s.%s jest właśnie aktualizowana z innej sesji (inny program lub inne "
            "stanowisko). Nic nie zostało zmienione. Spróbuj ponownie, gdy tamta aktualizacja "
            "się zakończy.",
            {serwer, baza}));
    // Engines answer a lock held elsewhere with different codes (one -1, another -999): any
    // refusal is one outcome, with the code kept for whoever must look further.
    if (kod != nullptr)
        throw EBazaZablokowana(Formatuj(
            "Serwer nie przyznał blokady aktualizacji bazy %s.%s (sp_getapplock: %d): bazę "
            "może właśnie aktualizować inna sesja (inny program lub inne stanowisko). Nic nie "
            "zostało zmienione. Spróbuj ponownie później.",
            {serwer, baza, static_cast<long long>(*kod)}));
    throw EDatabaseError(Formatuj(
        "Serwer nie założył blokady aktualizacji bazy %s.%s (sp_getapplock: %s). Nic "
        "nie zostało zmienione.",
        {serwer, baza, kod != nullptr ? std::to_string(*kod) : std::string("brak wyniku")}));
}

void ZwolnijBlokadeAktualizacji(Polaczenie& polaczenie) {
    polaczenie.WykonajBezRekordow(PolecenieZwolnieniaBlokady,
                                  Polaczenie::DomyslnyLimitCzasuPolecenia);
}

}  // namespace zuv
