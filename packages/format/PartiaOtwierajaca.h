#pragma once
// The opening batch of every package, lines 1 to 22: it reads the version the database records
// and stops the package, before anything has changed, unless that is the previous catalogue
// version or the package's own. The sample packages are written from it and the tests compare
// with it, so its text lives here once.

#include <string>
#include <string_view>
#include <vector>

namespace zuv {

// How the batch raises its error: "raiserror 13000 @errmsg" in the packages up to 10.17.0.3,
// "raiserror(@errmsg, 16, 1)" from 11.1.0.0 on.
enum class FormaRaiserror { Numer13000, Waga16 };

// The batch's 22 lines, without the separator after them, as the package holds them: code page
// 1250, each padded with blanks to 86 columns, a line with a version longer or shorter by the
// difference of its length from seven characters. `wersja` is the package's own version,
// `poprzednia` the one below it.
std::vector<std::string> PartiaOtwierajaca(std::string_view wersja, std::string_view poprzednia,
                                           FormaRaiserror forma);

}  // namespace zuv
