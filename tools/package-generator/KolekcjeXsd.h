#pragma once
// XML schema collections: each dropped and created anew, many extended by ALTER; their batches
// need a 2005 server and, but for the three collections new in 11.5.0.6, carry the generation
// marker as their first line.

#include <string_view>

#include "Kontekst.h"

namespace generator {

// One collection in two batches (drop guard, create) or three (and ALTER ... ADD), ended by
// separators of the update section or of the object sections.
void PiszKolekcjeXml(Kontekst& k, std::string_view nazwa, std::string_view opis,
                     bool zRozszerzeniem, bool znaczona, bool wAktualizacji);

// "-- XSD ZUV" (its frame closes the batch before it).
void PiszSekcjeXsd(Kontekst& k);

}  // namespace generator
