#pragma once
// The package store: loads the package of a name as a line list.

#include <string_view>

namespace zuv {

class KatalogPakietow;
class ListaLinii;

// Replaces the content of `linie` with the lines of the package `nazwa` (letters' case ignored,
// so "zuv_9_5_0_10" finds ZUV_9_5_0_10). The package's bytes are copied once into the list and
// cut in one pass by the rule of PodzielNaLinie: CR LF, a lone CR and a lone LF end a line, a NUL
// byte ends the text. No code-page conversion or other change of bytes.
// Throws EResNotFound "Resource <nazwa> not found", with the name as asked for, when the program
// carries no such package; `linie` then keeps what it held.
void WczytajZasob(std::string_view nazwa, ListaLinii& linie);
// The same from another catalogue than the program's own.
void WczytajZasob(const KatalogPakietow& pakiety, std::string_view nazwa, ListaLinii& linie);

}  // namespace zuv
