#pragma once
// A program run as an administrator's script runs it: its own process, standard input from
// /dev/null, standard output and error captured, its own environment, its exit code.

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

class UruchomienieProgramu {
  public:
    // `polecenie`: the program (looked up in PATH) and its arguments. `srodowisko`: NAME=value
    // entries added to the test's environment. The output goes to files in `katalog`.
    UruchomienieProgramu(std::vector<std::string> polecenie,
                         const std::vector<std::string>& srodowisko,
                         const std::filesystem::path& katalog)
        : wyjscie_(katalog / "wyjscie.txt"), bledy_(katalog / "bledy.txt") {
        pid_ = fork();
        if (pid_ == 0) {
            const int pusty = open("/dev/null", O_RDONLY);
            const int out = open(wyjscie_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            const int err = open(bledy_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            dup2(pusty, 0);
            dup2(out, 1);
            dup2(err, 2);
            for (const std::string& wpis : srodowisko) putenv(strdup(wpis.c_str()));
            std::vector<char*> argv;
            for (std::string& argument : polecenie) argv.push_back(argument.data());
            argv.push_back(nullptr);
            execvp(argv[0], argv.data());
            _exit(127);
        }
    }
    ~UruchomienieProgramu() {
        if (pid_ > 0 && !zakonczony_) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }

    void Sygnal(int numer) const { kill(pid_, numer); }
    // The exit code; -1 when the program did not end in time (it is then killed).
    int Czekaj(std::chrono::seconds limit = std::chrono::seconds(60)) {
        const auto koniec = std::chrono::steady_clock::now() + limit;
        int stan = 0;
        while (waitpid(pid_, &stan, WNOHANG) == 0) {
            if (std::chrono::steady_clock::now() > koniec) return -1;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        zakonczony_ = true;
        return WIFEXITED(stan) ? WEXITSTATUS(stan) : 128 + WTERMSIG(stan);
    }
    // What the program wrote, each line without the local time it begins with where output is
    // no terminal (as here); ...ZCzasem: as written.
    std::string Wyjscie() const { return BezCzasu(Tresc(wyjscie_)); }
    std::string Bledy() const { return BezCzasu(Tresc(bledy_)); }
    std::string WyjscieZCzasem() const { return Tresc(wyjscie_); }
    std::string BledyZCzasem() const { return Tresc(bledy_); }

    // The time a line of a log begins with: local, ISO 8601 to the second, with the offset.
    static const std::regex& CzasLinii() {
        static const std::regex czas(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d[+-]\d\d:\d\d )");
        return czas;
    }
    // Each line without the time it begins with; a line without one stays as it is.
    static std::string BezCzasu(const std::string& tekst) {
        std::string wynik;
        std::size_t od = 0;
        while (od < tekst.size()) {
            std::size_t koniec = tekst.find('\n', od);
            koniec = koniec == std::string::npos ? tekst.size() : koniec + 1;
            const std::string linia = tekst.substr(od, koniec - od);
            std::smatch dopasowanie;
            if (std::regex_search(linia, dopasowanie, CzasLinii(),
                                  std::regex_constants::match_continuous))
                wynik += linia.substr(dopasowanie.length());
            else
                wynik += linia;
            od = koniec;
        }
        return wynik;
    }

    static std::string Tresc(const std::filesystem::path& plik) {
        std::ifstream strumien(plik, std::ios::binary);
        std::stringstream tresc;
        tresc << strumien.rdbuf();
        return tresc.str();
    }

  private:
    std::filesystem::path wyjscie_;
    std::filesystem::path bledy_;
    pid_t pid_ = -1;
    bool zakonczony_ = false;
};
