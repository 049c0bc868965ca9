#pragma once
// "-- AKTUALIZACJE (plik ...)": the version's own changes to tables, columns, indexes and rows.

#include "Kontekst.h"

namespace generator {

void PiszSekcjeAktualizacji(Kontekst& k);

}  // namespace generator
