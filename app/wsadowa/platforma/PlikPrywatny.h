#pragma once
// Whether a file that holds passwords is kept from others, as ssh and libpq require of theirs.

#include <optional>
#include <string>

namespace zuv {

// Nothing when only the owner may read the file; otherwise a Polish sentence saying why it is
// refused and how to mend it. Where the system keeps no such bits (Windows), always nothing.
std::optional<std::string> SprawdzPlikPrywatny(const std::string& sciezka);

}  // namespace zuv
