#pragma once
// What the ODBC connection does differently on each operating system.

#include <string>
#include <string_view>

namespace zuv {

// Whether a session with the driver of this name passes its texts as UTF-8 through the narrow
// calls. FreeTDS on Linux keeps a command as UTF-8 and converts it to the server's UCS-2 when
// sending it: a wide call makes it convert UTF-16 to UTF-8 first, a narrow one with its client
// character set UTF-8 takes the bytes as they are (that conversion was a seventh of the client's
// instructions for a package). Other drivers, and every driver on Windows, read narrow texts in
// the process's code page, so they get UTF-16.
bool WaskieWywolaniaUtf8(std::string_view sterownik);

// What to add, after the list of drivers, to the message that no SQL Server driver was found:
// how to install or register one here; empty where there is nothing to say.
std::string PodpowiedzInstalacjiSterownika();

}  // namespace zuv
