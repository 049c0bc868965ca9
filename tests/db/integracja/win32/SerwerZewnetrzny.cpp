#include "tests/db/integracja/win32/SerwerZewnetrzny.h"

#include <windows.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

#include "db/ConnectionST.h"

namespace zuv::testy {

namespace {

// A Linux path as a Windows program under Wine opens it (drive Z: is the root).
std::string SciezkaWine(const std::string& sciezka) {
    std::string wynik = "Z:" + sciezka;
    for (char& znak : wynik)
        if (znak == '/') znak = '\\';
    return wynik;
}

// A value for the shell, in single quotes.
std::string Cytat(const std::string& tekst) {
    std::string wynik = "'";
    for (const char znak : tekst)
        wynik += znak == '\'' ? std::string("'\\''") : std::string(1, znak);
    return wynik + "'";
}

void Zapisz(const std::string& sciezkaLinux, const std::string& tresc) {
    std::ofstream plik(SciezkaWine(sciezkaLinux), std::ios::binary);
    plik << tresc;
}

// Runs a shell script of the Linux side and does not wait for it.
void UruchomSkrypt(const std::string& sciezkaLinux) {
    std::wstring wiersz = L"/bin/sh " + std::wstring(sciezkaLinux.begin(), sciezkaLinux.end());
    STARTUPINFOW start{};
    start.cb = sizeof start;
    PROCESS_INFORMATION proces{};
    if (!CreateProcessW(L"/bin/sh", wiersz.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &start, &proces))
        throw std::runtime_error("Nie można uruchomić /bin/sh " + sciezkaLinux);
    if (proces.hThread != nullptr) CloseHandle(proces.hThread);
    if (proces.hProcess != nullptr) CloseHandle(proces.hProcess);
}

}  // namespace

SerwerZewnetrzny::SerwerZewnetrzny(const std::vector<std::string>& opcje, const std::string& haslo)
    : haslo_(haslo) {
    static int licznik = 0;
    katalog_ =
        "/tmp/zuv-wine-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++licznik);
    CreateDirectoryA(SciezkaWine(katalog_).c_str(), nullptr);
    Uruchom(opcje, "");
}

void SerwerZewnetrzny::UruchomPonownie(const std::vector<std::string>& opcje) {
    // The old process must be gone before the new one opens the state file.
    const std::string pid = Cytat(katalog_ + "/pid");
    Uruchom(opcje, "stary=$(cat " + pid + ")\nkill $stary 2>/dev/null\nwhile kill -0 $stary " +
                       "2>/dev/null; do sleep 0.05; done\n");
}

void SerwerZewnetrzny::Uruchom(const std::vector<std::string>& opcje,
                               const std::string& przedStartem) {
    const char* serwer = std::getenv("ZUV_SERWER_TESTOWY");
    if (serwer == nullptr) throw std::runtime_error("ZUV_SERWER_TESTOWY nie jest ustawiona");
    const std::string wyjscie = katalog_ + "/wyjscie" + std::to_string(++uruchomienie_);
    std::string polecenie = "exec " + Cytat(serwer) + " --port 0 --state " +
                            Cytat(katalog_ + "/stan") + " --journal " +
                            Cytat(katalog_ + "/dziennik") + " --password " + Cytat(haslo_);
    for (const std::string& opcja : opcje) polecenie += " " + Cytat(opcja);
    Zapisz(katalog_ + "/start.sh", przedStartem + polecenie + " >" + Cytat(wyjscie) +
                                       " 2>&1 &\necho $! >" + Cytat(katalog_ + "/pid") + "\n");
    UruchomSkrypt(katalog_ + "/start.sh");

    const auto koniec = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < koniec) {
        std::ifstream plik(SciezkaWine(wyjscie));
        std::string linia;
        while (std::getline(plik, linia)) {
            const std::string znak = "listening on 127.0.0.1:";
            if (linia.rfind(znak, 0) == 0) {
                port_ = linia.substr(znak.size());
                return;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    throw std::runtime_error("Serwer testowy nie wystartował");
}

SerwerZewnetrzny::~SerwerZewnetrzny() {
    Zapisz(katalog_ + "/stop.sh", "kill $(cat " + Cytat(katalog_ + "/pid") +
                                      ") 2>/dev/null\nsleep 0.2\nrm -rf " + Cytat(katalog_) + "\n");
    try {
        UruchomSkrypt(katalog_ + "/stop.sh");
    } catch (const std::exception&) {
    }
}

DaneLogowania SerwerZewnetrzny::Logowanie(const std::string& haslo) const {
    return {Adres(), "ZUV", "sa", haslo};
}

std::string SerwerZewnetrzny::Dziennik() const {
    std::ifstream plik(SciezkaWine(katalog_ + "/dziennik"), std::ios::binary);
    std::ostringstream tresc;
    tresc << plik.rdbuf();
    return tresc.str();
}

}  // namespace zuv::testy
