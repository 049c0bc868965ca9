#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "app/usluga/Dziennik.h"
#include "app/usluga/platforma/ZapisDziennika.h"

namespace zuv {

namespace {

// Closes the descriptor at the end of its scope (the advisory lock goes with it).
class Deskryptor {
  public:
    explicit Deskryptor(int fd) : fd_(fd) {}
    ~Deskryptor() {
        if (fd_ >= 0) close(fd_);
    }
    Deskryptor(const Deskryptor&) = delete;
    Deskryptor& operator=(const Deskryptor&) = delete;
    int get() const { return fd_; }

  private:
    int fd_;
};

std::string Powod(int kod) { return std::strerror(kod); }

}  // namespace

std::string SciezkaDziennika() {
    std::string stan = ZmiennaSrodowiska("XDG_STATE_HOME");
    if (stan.empty()) {
        const std::string dom = ZmiennaSrodowiska("HOME");
        if (dom.empty()) return {};
        stan = dom + "/.local/state";
    }
    return stan + "/aktualizacja-zuv/dziennik.log";
}

std::tm CzasLokalny(std::time_t t, long& przesuniecieSekund) {
    std::tm lokalny{};
    localtime_r(&t, &lokalny);
    przesuniecieSekund = lokalny.tm_gmtoff;
    return lokalny;
}

long IdentyfikatorProcesu() { return static_cast<long>(getpid()); }

std::string ZmiennaSrodowiska(const char* nazwa) {
    const char* wartosc = std::getenv(nazwa);
    return wartosc != nullptr ? wartosc : "";
}

std::string SciezkaPoprzedniegoPliku(const std::string& sciezka) {
    const std::filesystem::path p(sciezka);
    return (p.parent_path() / (p.stem().string() + ".1" + p.extension().string())).string();
}

std::optional<std::string> DopiszDoPliku(const std::string& sciezka, std::string_view linia,
                                         std::uint64_t limit) {
    std::error_code blad;
    const std::filesystem::path folder = std::filesystem::path(sciezka).parent_path();
    if (!folder.empty()) std::filesystem::create_directories(folder, blad);
    if (blad) return blad.message();
    // Another program may rename the file between our open and our write; the lock and the
    // check that the name still leads to the opened file make the rename and the writes of all
    // programs take turns, so every entry lands whole in one of the two files.
    for (int proba = 0; proba < 8; ++proba) {
        const Deskryptor plik(
            open(sciezka.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0600));
        if (plik.get() < 0) return Powod(errno);
        if (flock(plik.get(), LOCK_EX) != 0) return Powod(errno);
        struct stat otwarty {};
        struct stat podNazwa {};
        if (fstat(plik.get(), &otwarty) != 0) return Powod(errno);
        if (stat(sciezka.c_str(), &podNazwa) != 0 || podNazwa.st_ino != otwarty.st_ino ||
            podNazwa.st_dev != otwarty.st_dev)
            continue;  // renamed meanwhile: open the new one
        if (static_cast<std::uint64_t>(otwarty.st_size) >= limit && otwarty.st_size > 0) {
            if (rename(sciezka.c_str(), SciezkaPoprzedniegoPliku(sciezka).c_str()) != 0)
                return Powod(errno);
            continue;
        }
        const ssize_t zapisane = write(plik.get(), linia.data(), linia.size());
        if (zapisane < 0) return Powod(errno);
        if (static_cast<std::size_t>(zapisane) != linia.size()) return Powod(ENOSPC);
        return std::nullopt;
    }
    return std::string("plik był w tym czasie wielokrotnie przenoszony");
}

}  // namespace zuv
