#include "db/platforma/SterownikODBC.h"

namespace zuv {

bool WaskieWywolaniaUtf8(std::string_view sterownik) { return sterownik == "FreeTDS"; }

std::string PodpowiedzInstalacjiSterownika() {
    // On Linux the FreeTDS driver is the one at hand; its package registers it, but a system
    // whose registration was lost or never made finds none.
    return ". W Debianie i Ubuntu sterownik FreeTDS daje pakiet tdsodbc (sudo apt install "
           "tdsodbc); jeśli jest zainstalowany, a niezarejestrowany, zarejestruj go poleceniem: "
           "sudo odbcinst -i -d -f /usr/share/tdsodbc/odbcinst.ini";
}

}  // namespace zuv
