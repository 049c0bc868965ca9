#pragma once
// Sample update packages: T-SQL scripts that follow every convention of the real package
// format, in miniature (the committed samples) or at the real size (for benchmarks).

#include <string>
#include <string_view>

namespace generator {

enum class RozmiarPakietu {
    Probny,  // a few dozen kilobytes: every convention, few objects
    Pelny,   // the measured size of the real package: bytes, lines, batches, markers, objects
};

// The bytes of the package of catalogue version `wersja` (code page 1250, CR LF, bare CRs where
// the format has them). The same arguments always give the same bytes. Throws
// std::invalid_argument for a version outside the catalogue.
std::string GenerujPakiet(std::string_view wersja, RozmiarPakietu rozmiar);

}  // namespace generator
