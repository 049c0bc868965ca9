// clang-format off
#include <windows.h>
// clang-format on

#include <filesystem>
#include <system_error>

#include "app/usluga/Dziennik.h"
#include "app/usluga/platforma/ZapisDziennika.h"
#include "db/Kodowanie.h"

namespace zuv {

namespace {

std::wstring Szeroki(const std::string& utf8) {
    const std::u16string tekst = Utf8NaUtf16(utf8);
    return std::wstring(tekst.begin(), tekst.end());
}

std::string Powod(DWORD kod) { return std::system_category().message(static_cast<int>(kod)); }

// Closes the handle at the end of its scope.
class Uchwyt {
  public:
    explicit Uchwyt(HANDLE h) : h_(h) {}
    ~Uchwyt() {
        if (h_ != INVALID_HANDLE_VALUE) CloseHandle(h_);
    }
    Uchwyt(const Uchwyt&) = delete;
    Uchwyt& operator=(const Uchwyt&) = delete;
    HANDLE get() const { return h_; }

  private:
    HANDLE h_;
};

}  // namespace

std::string SciezkaDziennika() {
    const std::string lokalne = ZmiennaSrodowiska("LOCALAPPDATA");
    if (lokalne.empty()) return {};
    return lokalne + "\\aktualizacja-zuv\\dziennik.log";
}

std::tm CzasLokalny(std::time_t t, long& przesuniecieSekund) {
    std::tm lokalny{};
    localtime_s(&lokalny, &t);
    std::tm kopia = lokalny;
    przesuniecieSekund = static_cast<long>(_mkgmtime(&kopia) - t);
    return lokalny;
}

long IdentyfikatorProcesu() { return static_cast<long>(GetCurrentProcessId()); }

std::string ZmiennaSrodowiska(const char* nazwa) {
    const std::wstring szeroka = Szeroki(nazwa);
    const DWORD dlugosc = GetEnvironmentVariableW(szeroka.c_str(), nullptr, 0);
    if (dlugosc == 0) return {};
    std::wstring wartosc(dlugosc, L'\0');
    const DWORD zapisane = GetEnvironmentVariableW(szeroka.c_str(), wartosc.data(), dlugosc);
    wartosc.resize(zapisane);
    return Utf16NaUtf8(std::u16string(wartosc.begin(), wartosc.end()));
}

std::string SciezkaPoprzedniegoPliku(const std::string& sciezka) {
    const std::size_t kropka = sciezka.rfind('.');
    const std::size_t ukosnik = sciezka.find_last_of("\\/");
    if (kropka == std::string::npos || (ukosnik != std::string::npos && kropka < ukosnik))
        return sciezka + ".1";
    return sciezka.substr(0, kropka) + ".1" + sciezka.substr(kropka);
}

std::optional<std::string> DopiszDoPliku(const std::string& sciezka, std::string_view linia,
                                         std::uint64_t limit) {
    const std::wstring nazwa = Szeroki(sciezka);
    std::error_code blad;
    const std::filesystem::path folder = std::filesystem::path(nazwa).parent_path();
    if (!folder.empty()) std::filesystem::create_directories(folder, blad);
    if (blad) return blad.message();
    for (int proba = 0; proba < 8; ++proba) {
        // FILE_APPEND_DATA alone: every write goes to the end of the file as one piece, whatever
        // other programs append at the same time.
        const Uchwyt plik(CreateFileW(nazwa.c_str(), FILE_APPEND_DATA | SYNCHRONIZE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (plik.get() == INVALID_HANDLE_VALUE) return Powod(GetLastError());
        // The first byte locked by whoever rotates or writes: the programs take turns.
        OVERLAPPED obszar{};
        if (!LockFileEx(plik.get(), LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &obszar))
            return Powod(GetLastError());
        // Renamed by another program since we opened it: open the new one.
        BY_HANDLE_FILE_INFORMATION otwarty{};
        BY_HANDLE_FILE_INFORMATION podNazwa{};
        const Uchwyt nazwany(CreateFileW(nazwa.c_str(), 0,
                                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (nazwany.get() == INVALID_HANDLE_VALUE ||
            !GetFileInformationByHandle(plik.get(), &otwarty) ||
            !GetFileInformationByHandle(nazwany.get(), &podNazwa) ||
            otwarty.nFileIndexHigh != podNazwa.nFileIndexHigh ||
            otwarty.nFileIndexLow != podNazwa.nFileIndexLow ||
            otwarty.dwVolumeSerialNumber != podNazwa.dwVolumeSerialNumber) {
            UnlockFileEx(plik.get(), 0, 1, 0, &obszar);
            continue;
        }
        LARGE_INTEGER rozmiar{};
        GetFileSizeEx(plik.get(), &rozmiar);
        if (static_cast<std::uint64_t>(rozmiar.QuadPart) >= limit && rozmiar.QuadPart > 0) {
            const std::wstring poprzedni = Szeroki(SciezkaPoprzedniegoPliku(sciezka));
            const BOOL przeniesiony =
                MoveFileExW(nazwa.c_str(), poprzedni.c_str(), MOVEFILE_REPLACE_EXISTING);
            UnlockFileEx(plik.get(), 0, 1, 0, &obszar);
            if (!przeniesiony) return Powod(GetLastError());
            continue;
        }
        DWORD zapisane = 0;
        const BOOL udany = WriteFile(plik.get(), linia.data(), static_cast<DWORD>(linia.size()),
                                     &zapisane, nullptr);
        const DWORD kod = GetLastError();
        UnlockFileEx(plik.get(), 0, 1, 0, &obszar);
        if (!udany) return Powod(kod);
        if (zapisane != linia.size()) return Powod(ERROR_DISK_FULL);
        return std::nullopt;
    }
    return std::string("plik był w tym czasie wielokrotnie przenoszony");
}

}  // namespace zuv
