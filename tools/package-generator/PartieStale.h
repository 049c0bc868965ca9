#pragma once
// The fixed first and last batches of every package: the check of the recorded version and the
// recording of the package's own version.

#include "Kontekst.h"

namespace generator {

// Lines 1 to 22, the package format's opening batch, and the separator on line 23.
void PiszPartieOtwierajaca(Kontekst& k);
// The closing section: the version stamp and the last separator line.
void PiszPartieZamykajaca(Kontekst& k);

}  // namespace generator
