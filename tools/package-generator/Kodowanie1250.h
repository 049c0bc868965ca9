#pragma once
// Code page 1250 for the generator's own texts. The SQL templates are kept in UTF-8 in the
// sources; the packages hold the same characters as single code page 1250 bytes.

#include <string>
#include <string_view>

namespace generator {

// Appends the code page 1250 form of `utf8` to `cel`. Only ASCII (tab included, other control
// characters excluded) and the few non-ASCII characters the packages use are accepted; anything
// else throws std::logic_error, so that a typo in a template cannot put a stray byte into a
// package.
void DopiszCp1250(std::string& cel, std::string_view utf8);

std::string NaCp1250(std::string_view utf8);

}  // namespace generator
