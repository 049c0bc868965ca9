#include "app/win32/ProceduraOkna.h"

#include <string>

#include "app/ObslugaBledu.h"
#include "common/TekstWin32.h"

namespace zuv {

namespace {

// The path of the running program (UTF-8).
std::string SciezkaProgramu() {
    std::wstring sciezka(MAX_PATH, L'\0');
    for (;;) {
        const DWORD dlugosc =
            GetModuleFileNameW(nullptr, sciezka.data(), static_cast<DWORD>(sciezka.size()));
        if (dlugosc < sciezka.size()) {
            sciezka.resize(dlugosc);
            return NaUtf8(sciezka);
        }
        sciezka.resize(sciezka.size() * 2);
    }
}

}  // namespace

void PokazBladProgramu(OknaKomunikatow& komunikaty, const std::exception& blad) {
    PokazBlad(komunikaty, TytulZNazwyPliku(SciezkaProgramu()), blad);
}

}  // namespace zuv
