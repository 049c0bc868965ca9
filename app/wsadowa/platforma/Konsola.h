#pragma once
// What the unattended program needs of its console: whether a person sits at it, reading a
// password without echo, and the stop asked with Ctrl+C or by the system.

#include <optional>
#include <string>

namespace zuv {

// Prepares the console for UTF-8 output; gives whether standard output is a terminal that takes
// the escape sequences that rewrite a line in place.
bool PrzygotujKonsole();
bool WejscieZTerminala();
// Columns of the terminal on standard output; 80 when not known.
int SzerokoscTerminala();

// Prints `zacheta` on standard error and reads a line from the terminal; without echo when
// `bezEcha`. Nothing at the end of input.
std::optional<std::string> CzytajZTerminala(const std::string& zacheta, bool bezEcha);

// From now on Ctrl+C and SIGTERM (on Windows Ctrl+C, Ctrl+Break and closing the console) only
// ask for a stop, which ZatrzymanieZadane then tells; a second one ends the program at once.
void PrzechwytujZatrzymanie();
bool ZatrzymanieZadane() noexcept;

}  // namespace zuv
