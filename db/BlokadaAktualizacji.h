#pragma once
// One updater per database at a time. Before the update flag a run takes an exclusive
// application lock owned by its session; a second program (another administrator, another
// workstation) asking for it at once is refused at once and does nothing. The lock goes at
// ZwolnijBlokadeAktualizacji, and in any case with the session, so a program that ends or loses
// its connection never leaves the database locked.

#include <string>

#include "common/Wyjatki.h"

namespace zuv {

class Polaczenie;

// The statements, as the server receives them.
inline constexpr const char* ZapytanieBlokadyAktualizacji =
    "DECLARE @wynik int; EXEC @wynik = sp_getapplock @Resource = 'ZUV_AKTUALIZACJA', "
    "@LockMode = 'Exclusive', @LockOwner = 'Session', @LockTimeout = 0; SELECT @wynik";
inline constexpr const char* PolecenieZwolnieniaBlokady =
    "EXEC sp_releaseapplock @Resource = 'ZUV_AKTUALIZACJA', @LockOwner = 'Session'";

// Another session holds the update lock: nothing was done.
class EBazaZablokowana : public EDatabaseError {
  public:
    using EDatabaseError::EDatabaseError;
};

// Takes the lock on the session of `polaczenie`. Not granted (another session holds it, or the
// server refuses it with any other negative code), raises EBazaZablokowana saying that the database
// `serwer`.`baza` is being updated from another session and that nothing was done; the server's
// errors and a lost connection are raised as the connection raises them.
void ZalozBlokadeAktualizacji(Polaczenie& polaczenie, const std::string& serwer,
                              const std::string& baza);

// Gives the lock back. The server's refusal is raised; the caller that only tidies up may let it
// go, since the lock ends with the session anyway.
void ZwolnijBlokadeAktualizacji(Polaczenie& polaczenie);

}  // namespace zuv
