#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "ServerConfig.h"

namespace tds {

struct CommandLine {
    ServerConfig config;
    bool help = false;
};

// Parses the program's arguments (without the program name). Options take their value as the
// next argument or after '='. Throws std::invalid_argument with a message for the user.
CommandLine parseCommandLine(const std::vector<std::string>& arguments);

// --fail-batch V:N:NUMBER:MESSAGE[:K]. V, N and NUMBER are split off from the left, so MESSAGE
// may hold ':'; a last ':' followed by digits only is K. In MESSAGE, \r and \n become CR and LF
// and \\ a backslash. Throws std::invalid_argument.
FailBatchFault parseFailBatch(std::string_view text);

// --session SPID:LOGIN:HOST:PROGRAM:IDLE. SPID, LOGIN and HOST are split off from the left and
// IDLE (whole seconds) from the right, so PROGRAM may hold ':'. Throws std::invalid_argument.
OtherSession parseOtherSession(std::string_view text);

std::string_view usage();

}  // namespace tds
