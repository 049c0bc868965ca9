#include "ProcesSerwera.h"

#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

#include "db/ConnectionST.h"

using namespace zuv;

ProcesSerwera::ProcesSerwera(const std::string& wersjaPoczatkowa) {
    std::string wzor = (std::filesystem::temp_directory_path() / "zuv-bench-XXXXXX").string();
    if (mkdtemp(wzor.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    katalog_ = wzor;
    const std::string stan = (katalog_ / "stan").string();

    int potok[2];
    if (pipe(potok) != 0) throw std::runtime_error("pipe failed");
    std::fflush(nullptr);  // what is buffered must not be written twice, by the child too
    pid_ = fork();
    if (pid_ < 0) throw std::runtime_error("fork failed");
    if (pid_ == 0) {
        // The server goes with the benchmark even when the benchmark ends by an uncaught error.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        dup2(potok[1], STDOUT_FILENO);
        close(potok[0]);
        close(potok[1]);
        execl(SCIEZKA_SERWERA_TDS, SCIEZKA_SERWERA_TDS, "--port", "0", "--state", stan.c_str(),
              "--init-version", wersjaPoczatkowa.c_str(), "--password", Haslo,
              static_cast<char*>(nullptr));
        _exit(127);
    }
    close(potok[1]);
    // The server prints "listening on 127.0.0.1:PORT" once it accepts connections.
    FILE* wyjscie = fdopen(potok[0], "r");
    char wiersz[256] = {};
    const bool przeczytano = std::fgets(wiersz, sizeof wiersz, wyjscie) != nullptr;
    std::fclose(wyjscie);
    const std::string tekst = przeczytano ? wiersz : "";
    const std::size_t dwukropek = tekst.rfind(':');
    if (dwukropek == std::string::npos) throw std::runtime_error("the test server did not start");
    port_ = std::atoi(tekst.c_str() + dwukropek + 1);
}

ProcesSerwera::~ProcesSerwera() {
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
    std::error_code blad;
    std::filesystem::remove_all(katalog_, blad);
}

DaneLogowania ProcesSerwera::Logowanie() const { return {Adres(), "ZUV", "sa", Haslo}; }

double ProcesSerwera::CzasCpu() const {
    // Fields 14 and 15 of /proc/PID/stat, in clock ticks; the name in field 2 holds no blank.
    std::ifstream plik("/proc/" + std::to_string(pid_) + "/stat");
    std::string pole;
    double takty = 0;
    for (int numer = 1; numer <= 15 && plik >> pole; ++numer)
        if (numer >= 14) takty += std::atof(pole.c_str());
    return takty / static_cast<double>(sysconf(_SC_CLK_TCK));
}
