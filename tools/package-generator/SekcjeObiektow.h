#pragma once
// The sections that re-create the procedures, functions and triggers, and the hand-written
// objects among them that the runner, the update command or the copy batch rely on.

#include <string>
#include <vector>

#include "Kontekst.h"
#include "ObiektBazy.h"

namespace generator {

// How many of a section's objects are written by hand (the rest come from templates).
LiczbyObiektow ObiektyReczneWzoruAplikacji(const PlanPakietu& plan);
LiczbyObiektow ObiektyReczneZuv(const PlanPakietu& plan);

// "-- PROCEDURY WZORU APLIKACJI": the framework objects, the change-log trigger template and the
// batch that copies it. When the XML schema section follows, its frame closes the copy batch,
// because every batch of that section begins with the generation marker.
void PiszSekcjeWzoruAplikacji(Kontekst& k);
// "-- PROCEDURY ZUV", "-- PROCEDURY ZUV WWW", "-- PROCEDURY ZUV PPC", "-- PROCEDURY ZUV WS".
void PiszSekcjeZuv(Kontekst& k);
void PiszSekcjeWww(Kontekst& k);
void PiszSekcjePpc(Kontekst& k);
void PiszSekcjeWs(Kontekst& k);

// The hand-written objects.
ObiektBazy ProceduraKonfigOpcjeZuvUpdate();
ObiektBazy ProceduraOpcjaTmpZapisz();
ObiektBazy FunkcjaLoginUzytkownika();
ObiektBazy WyzwalaczWzorcaLogu();
void PiszKopieWyzwalaczaWzorca(Kontekst& k, bool ramkaXsdNaKoncu);
ObiektBazy FunkcjaWersjiSerwera(int wariant);
ObiektBazy ProceduraAktualizacjiSesji();
ObiektBazy WyzwalaczDokumentow();
ObiektBazy WyzwalaczElementowDokumentow();
ObiektBazy ProceduraKonwersjiZnakow();
ObiektBazy ProceduraSlownikaGrupSrodkow(bool pelny);

// Objects made from templates, in the order functions, procedures, triggers. The last
// `*ZGeneracja` of each kind need a 2005 server and carry the generation marker.
enum class Obszar { WzorAplikacji, Zuv, Www, Ppc, Ws };
struct ZGeneracja {
    int procedury = 0;
    int funkcje = 0;
    int wyzwalacze = 0;
};
std::vector<ObiektBazy> ObiektySzablonowe(Obszar obszar, LiczbyObiektow liczby,
                                          ZGeneracja zGeneracja);

}  // namespace generator
