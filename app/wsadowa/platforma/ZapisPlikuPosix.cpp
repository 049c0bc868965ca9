#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "app/wsadowa/platforma/ZapisPliku.h"

namespace zuv {

namespace {

std::string Powod(int kod) { return std::strerror(kod); }

}  // namespace

std::optional<std::string> ZapiszPlik(const std::string& sciezka, std::string_view tresc) {
    // Read by whatever collects the night's results: the usual rights, as the umask leaves them.
    const int plik = open(sciezka.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (plik < 0) return Powod(errno);
    while (!tresc.empty()) {
        const ssize_t zapisane = write(plik, tresc.data(), tresc.size());
        if (zapisane < 0 && errno == EINTR) continue;
        if (zapisane <= 0) {
            const int kod = zapisane < 0 ? errno : ENOSPC;
            close(plik);
            return Powod(kod);
        }
        tresc.remove_prefix(static_cast<std::size_t>(zapisane));
    }
    // A full disk or a lost network share may show only here.
    if (fsync(plik) != 0) {
        const int kod = errno;
        close(plik);
        return Powod(kod);
    }
    if (close(plik) != 0) return Powod(errno);
    return std::nullopt;
}

std::optional<std::string> ZastapPlik(const std::string& z, const std::string& na) {
    if (std::rename(z.c_str(), na.c_str()) != 0) return Powod(errno);
    return std::nullopt;
}

}  // namespace zuv
