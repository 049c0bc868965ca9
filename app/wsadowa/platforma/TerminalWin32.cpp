#include <windows.h>

#include "app/wsadowa/platforma/Terminal.h"

namespace zuv {

bool NaTerminal(std::FILE* strumien) {
    // Only a console has a console mode; a file or a pipe does not.
    DWORD tryb = 0;
    return GetConsoleMode(GetStdHandle(strumien == stderr ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE),
                          &tryb) != 0;
}

}  // namespace zuv
