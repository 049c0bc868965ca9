#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "app/wsadowa/platforma/PlikPrywatny.h"
#include "common/Tekst.h"

namespace zuv {

std::optional<std::string> SprawdzPlikPrywatny(const std::string& sciezka) {
    struct stat opis {};
    if (stat(sciezka.c_str(), &opis) != 0)
        return Formatuj("Nie można odczytać pliku haseł %s: %s.",
                        {sciezka, std::string(std::strerror(errno))});
    if ((opis.st_mode & (S_IRWXG | S_IRWXO)) != 0)
        return Formatuj(
            "Plik haseł %s jest dostępny dla grupy lub innych użytkowników; "
            "odmowa. Ogranicz dostęp poleceniem: chmod 600 %s",
            {sciezka, sciezka});
    return std::nullopt;
}

}  // namespace zuv
