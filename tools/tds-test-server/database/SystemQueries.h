#pragma once

#include <chrono>
#include <string>
#include <string_view>

#include "ProcessList.h"
#include "Reply.h"
#include "ServerConfig.h"

// The system functions and views the program reads before an update and while a batch runs: the
// other sessions in the database, VIEW SERVER STATE, the login's rights, the last full backup,
// the session's own spid, and whether a session waits on another's lock. Each is known as the
// one statement the program sends and answered as the generation of the product version would
// answer it; a 2000 (8.x) has no HAS_PERMS_BY_NAME and shows every login every process.
namespace tds {

// What the asking session sees of the server.
struct SystemView {
    const ServerConfig& config;
    const ProcessList& processes;
    int spid = 0;  // the asking session's
    // When the server started; the recorded backup finished ServerConfig::backupAge before it.
    std::chrono::system_clock::time_point started;
};

// Writes the answer into `reply` and returns true when `statement` (as normaliseStatement leaves
// it) is one of the system queries; otherwise writes nothing and returns false.
bool answerSystemQuery(const std::string& statement, std::string_view productVersion,
                       const SystemView& view, Reply& reply);

// A moment as a datetime column carries it: in the server's local time, as GETDATE() and the
// dates msdb records are.
DateTime localDateTime(std::chrono::system_clock::time_point time);

}  // namespace tds
