#pragma once
// What the unattended program needs of its console: writing its texts, whether a person sits at
// it, reading a password without echo, and the stop asked with Ctrl+C or by the system.

#include <cstdio>
#include <optional>
#include <string>

namespace zuv {

// Gives whether standard output is a terminal or console that acts on the escape sequences that
// rewrite a line in place (on Windows: one that has taken ENABLE_VIRTUAL_TERMINAL_PROCESSING and
// shown that it moves its cursor by them); where it is not, it is left as it was found.
bool PrzygotujKonsole();
// Writes `tekst` (UTF-8) to `strumien`, stdout or stderr: on a Windows console as UTF-16, so that
// every letter shows whatever the console's code page; anywhere else (a terminal, a pipe, a file)
// as its bytes through the C stream, as they came. A console that is gone takes nothing, silently.
void WypiszTekst(std::FILE* strumien, const std::string& tekst);
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
