#include "app/usluga/CzasISO.h"

#include <cstdio>
#include <ctime>

#include "app/usluga/platforma/ZapisDziennika.h"

namespace zuv {

std::string CzasISO(std::chrono::system_clock::time_point chwila, DokladnoscCzasu dokladnosc) {
    const std::time_t t = std::chrono::system_clock::to_time_t(chwila);
    long przesuniecie = 0;
    const std::tm lokalny = CzasLokalny(t, przesuniecie);
    char data[32];
    std::strftime(data, sizeof data, "%Y-%m-%dT%H:%M:%S", &lokalny);
    char ulamek[8] = "";
    if (dokladnosc == DokladnoscCzasu::Milisekundy) {
        const auto ms =
            std::chrono::duration_cast<std::chrono::milliseconds>(chwila.time_since_epoch()) % 1000;
        std::snprintf(ulamek, sizeof ulamek, ".%03d", static_cast<int>(ms.count()));
    }
    const char znak = przesuniecie < 0 ? '-' : '+';
    const long minuty = (przesuniecie < 0 ? -przesuniecie : przesuniecie) / 60;
    char wynik[64];
    std::snprintf(wynik, sizeof wynik, "%s%s%c%02ld:%02ld", data, ulamek, znak, minuty / 60,
                  minuty % 60);
    return wynik;
}

}  // namespace zuv
