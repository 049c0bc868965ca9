#include "app/wsadowa/platforma/PlikPrywatny.h"

namespace zuv {

// Windows keeps access in lists of its own, which a user's profile folder already limits to its
// owner; there are no group and other bits to check.
std::optional<std::string> SprawdzPlikPrywatny(const std::string&) { return std::nullopt; }

}  // namespace zuv
