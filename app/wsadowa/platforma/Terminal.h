#pragma once
// Whether a standard stream reaches a person at a terminal (a Windows console) rather than a
// file, a pipe or a log.

#include <cstdio>

namespace zuv {

bool NaTerminal(std::FILE* strumien);

}  // namespace zuv
