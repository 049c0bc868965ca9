#include <unistd.h>

#include "app/wsadowa/platforma/Terminal.h"

namespace zuv {

bool NaTerminal(std::FILE* strumien) { return isatty(fileno(strumien)) != 0; }

}  // namespace zuv
