#include "db/platforma/SterownikODBC.h"

namespace zuv {

bool WaskieWywolaniaUtf8(std::string_view) { return false; }

std::string PodpowiedzInstalacjiSterownika() { return {}; }

}  // namespace zuv
