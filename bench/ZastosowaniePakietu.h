#pragma once
// One package applied the way the program applies it: a connection opened with the log-in
// values, the package's bytes loaded into a line list, the script runner, the
// connection closed.

#include <string>
#include <string_view>

#include "db/DaneLogowania.h"

// Throws what the program would show when the package fails.
void ZastosujPakiet(const zuv::DaneLogowania& logowanie, std::string_view pakiet,
                    std::string_view wersja);
