#pragma once
// Writing a whole file and putting it in place of another, as the report needs it, with the
// system's own reason when it cannot: the reason is what tells an administrator what to mend.

#include <optional>
#include <string>
#include <string_view>

namespace zuv {

// Creates the file `sciezka` (UTF-8), or empties the one there, and writes `tresc` to it through
// to the disk. Nothing when it did; otherwise the system's reason (a part may have been written).
std::optional<std::string> ZapiszPlik(const std::string& sciezka, std::string_view tresc);

// Renames the file `z` to `na` (UTF-8), replacing a file there in one step, so that a reader finds
// the old file or the new one whole. Nothing when it did; otherwise the system's reason.
std::optional<std::string> ZastapPlik(const std::string& z, const std::string& na);

}  // namespace zuv
