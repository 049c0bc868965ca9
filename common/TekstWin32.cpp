#include "common/TekstWin32.h"

#include <windows.h>

namespace zuv {

std::wstring NaUtf16(std::string_view tekstUtf8) {
    if (tekstUtf8.empty()) return {};
    const int dlugosc = static_cast<int>(tekstUtf8.size());
    const int znaki = MultiByteToWideChar(CP_UTF8, 0, tekstUtf8.data(), dlugosc, nullptr, 0);
    std::wstring wynik(static_cast<std::size_t>(znaki), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, tekstUtf8.data(), dlugosc, wynik.data(), znaki);
    return wynik;
}

std::string NaUtf8(std::wstring_view tekst) {
    if (tekst.empty()) return {};
    const int dlugosc = static_cast<int>(tekst.size());
    const int bajty =
        WideCharToMultiByte(CP_UTF8, 0, tekst.data(), dlugosc, nullptr, 0, nullptr, nullptr);
    std::string wynik(static_cast<std::size_t>(bajty), '\0');
    WideCharToMultiByte(CP_UTF8, 0, tekst.data(), dlugosc, wynik.data(), bajty, nullptr, nullptr);
    return wynik;
}

}  // namespace zuv
