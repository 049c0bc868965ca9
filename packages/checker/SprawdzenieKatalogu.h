#pragma once
// The checks of a package folder as a whole: one file for each catalogue version, named as the
// program looks it up, and every package checked against its place in the chain of versions.

#include <filesystem>

#include "packages/checker/RaportPakietow.h"
#include "packages/checker/SprawdzeniePakietu.h"

namespace zuv {

// Reports on `raport` a catalogue version without its file, a file that is no catalogue
// version's, two files giving one resource name (the file name without its extension, letters'
// case ignored), a file that cannot be read, and whatever SprawdzPakiet finds in each package.
// Files whose names begin with a full stop are passed over, as the build does. Gives the figures
// of the packages checked. Throws std::filesystem::filesystem_error when the folder cannot be
// listed.
FiguryPakietow SprawdzKatalogPakietow(const std::filesystem::path& katalog, RaportPakietow& raport);

}  // namespace zuv
