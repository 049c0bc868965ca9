#pragma once
// "-- WERSJE PLIKOW": one batch that records the versions of the system's client files in
// PLIKI_WERSJE, updating a file's row when there is one and inserting it otherwise.

#include "Kontekst.h"

namespace generator {

void PiszWersjePlikow(Kontekst& k);

}  // namespace generator
