#pragma once
// The unattended program without its entry point: the arguments (UTF-8, after the program's name)
// in, the exit code out.

#include <string>
#include <vector>

namespace zuv {

int UruchomProgramWsadowy(const std::vector<std::string>& argumenty);

}  // namespace zuv
