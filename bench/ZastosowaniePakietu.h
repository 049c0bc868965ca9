#pragma once
// One package applied the way the program applies it: a connection opened with the window's
// connection string, the package's bytes loaded into a line list, the script runner, the
// connection closed.

#include <string>
#include <string_view>

// Throws what the program would show when the package fails.
void ZastosujPakiet(const std::string& connectionString, std::string_view pakiet,
                    std::string_view wersja);
