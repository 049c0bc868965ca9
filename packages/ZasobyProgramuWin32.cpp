#include <windows.h>

#include <string>
#include <vector>

#include "packages/ZasobyProgramu.h"

namespace zuv {

namespace {

// A name FindResourceA would read otherwise than as the plain name: "#12" asks for the numeric
// resource 12, and a NUL would end the name early.
bool NazwaZwykla(std::string_view nazwa) {
    return !nazwa.empty() && nazwa.front() != '#' && nazwa.find('\0') == std::string_view::npos;
}

BOOL CALLBACK DodajNazwe(HMODULE, LPCSTR, LPSTR nazwa, LONG_PTR lista) {
    // Numeric resources are not packages.
    if (!IS_INTRESOURCE(nazwa))
        reinterpret_cast<std::vector<std::string>*>(lista)->emplace_back(nazwa);
    return TRUE;
}

}  // namespace

// The packages are RCDATA resources of the executable itself
// (packages/cmake/ZasobyLinkowane.cmake). FindResourceA compares names without regard to case. A
// loaded resource of the program's own image stays mapped as long as the program runs, so its bytes
// are handed out as they lie; FreeResource does nothing on 32- and 64-bit Windows, so there is
// nothing to release.
std::optional<std::string_view> ZnajdzZasob(std::string_view nazwa) {
    if (!NazwaZwykla(nazwa)) return std::nullopt;
    const HMODULE program = GetModuleHandleA(nullptr);
    const std::string zakonczona(nazwa);
    const HRSRC zasob = FindResourceA(program, zakonczona.c_str(), MAKEINTRESOURCEA(10));
    if (zasob == nullptr) return std::nullopt;
    const HGLOBAL zaladowany = LoadResource(program, zasob);
    const DWORD rozmiar = SizeofResource(program, zasob);
    const void* dane = zaladowany != nullptr ? LockResource(zaladowany) : nullptr;
    if (dane == nullptr) return std::nullopt;
    return std::string_view(static_cast<const char*>(dane), rozmiar);
}

std::vector<std::string> NazwyZasobow() {
    std::vector<std::string> nazwy;
    EnumResourceNamesA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(10), DodajNazwe,
                       reinterpret_cast<LONG_PTR>(&nazwy));
    return nazwy;
}

}  // namespace zuv
