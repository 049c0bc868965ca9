#include "app/win32/OknaKomunikatowWin32.h"

#include "app/win32/TekstWin32.h"

namespace zuv {

int OknaKomunikatowWin32::Pokaz(const std::string& tekst, const std::string& tytul, int styl) {
    return MessageBoxW(wlasciciel_, NaUtf16(tekst).c_str(), NaUtf16(tytul).c_str(),
                       static_cast<UINT>(styl));
}

}  // namespace zuv
