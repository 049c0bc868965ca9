#include <windows.h>

#include <filesystem>
#include <system_error>

#include "app/wsadowa/platforma/ZapisPliku.h"

namespace zuv {

namespace {

std::wstring Szeroka(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end())).wstring();
}

// The system's text for the code, as the journal gives its reasons.
std::string Powod(DWORD kod) { return std::system_category().message(static_cast<int>(kod)); }

}  // namespace

std::optional<std::string> ZapiszPlik(const std::string& sciezka, std::string_view tresc) {
    const HANDLE plik = CreateFileW(Szeroka(sciezka).c_str(), GENERIC_WRITE, 0, nullptr,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (plik == INVALID_HANDLE_VALUE) return Powod(GetLastError());
    const auto blad = [&] {
        const DWORD kod = GetLastError();
        CloseHandle(plik);
        return Powod(kod);
    };
    while (!tresc.empty()) {
        const DWORD porcja = tresc.size() > 1u << 30 ? 1u << 30 : static_cast<DWORD>(tresc.size());
        DWORD zapisane = 0;
        if (!WriteFile(plik, tresc.data(), porcja, &zapisane, nullptr)) return blad();
        if (zapisane == 0) {
            CloseHandle(plik);
            return Powod(ERROR_DISK_FULL);
        }
        tresc.remove_prefix(zapisane);
    }
    // A full disk or a lost network share may show only here.
    if (!FlushFileBuffers(plik)) return blad();
    if (!CloseHandle(plik)) return Powod(GetLastError());
    return std::nullopt;
}

std::optional<std::string> ZastapPlik(const std::string& z, const std::string& na) {
    if (!MoveFileExW(Szeroka(z).c_str(), Szeroka(na).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return Powod(GetLastError());
    return std::nullopt;
}

}  // namespace zuv
