#pragma once
// The checks of one package text, made with the program's own rules: the text is cut into lines
// by ListaLinii and into batches by PodzielNaPartie, separators are JestSeparatorem's, the
// encryption marker is what ZamienZnacznikSzyfrowania replaces, and the generation marker is read
// by SpelniaMinSQL. What the checker reports is therefore what the runner would meet.

#include <cstddef>
#include <string>
#include <string_view>

#include "packages/checker/RaportPakietow.h"

namespace zuv {

// Counted over the packages checked.
struct FiguryPakietow {
    std::size_t pakiety = 0;
    std::size_t bajty = 0;
    std::size_t wiersze = 0;
    std::size_t partie = 0;                // separator lines: the runner's operations
    std::size_t znacznikiSzyfrowania = 0;  // batches whose marker the runner replaces
    std::size_t znacznikiGeneracji = 0;    // batches with a generation marker
    std::size_t samotneCR = 0;             // line breaks that are a CR alone

    FiguryPakietow& operator+=(const FiguryPakietow& inne);
};

struct OpisPakietu {
    std::string plik;                   // as it is named in the remarks
    std::string_view wersja;            // the catalogue version of the package
    std::string_view wersjaPoprzednia;  // the one before it in the chain
};

// Reports on `raport` what is wrong with the package `bajty` (the exact bytes of its file), and
// gives its figures.
//
// Errors: a byte that code page 1250 leaves undefined; a UTF-8 byte-order mark; an empty batch (the
// connection refuses an empty command); a generation marker whose number cannot be read; no
// separator line at all; an opening batch that does not accept exactly the previous and the own
// version, or a closing batch that does not record the own version. Warnings: a line that looks
// like a separator and is not ("go;", "GO -- x", "G O", GO beside a non-breaking space, GOTO in the
// first column); an encryption marker in another form than the runner's exact line, or a second one
// in a batch (only the first is replaced); text after the last separator or after a NUL byte (never
// executed); lines ending in LF alone; text in UTF-8 rather than code page 1250; a generation
// marker that leaves its batch out because the package lies below the version from which the
// runner asks the server for its generation.
// A CR alone is a line break like CR LF (the older packages hold them inside literals): it is
// only counted.
FiguryPakietow SprawdzPakiet(const OpisPakietu& opis, std::string_view bajty,
                             RaportPakietow& raport);

}  // namespace zuv
