#pragma once
// The edge between the program's texts (UTF-8) and the UTF-16 of the wide Windows calls, for the
// window and the console alike.

#include <string>
#include <string_view>

namespace zuv {

std::wstring NaUtf16(std::string_view tekstUtf8);
std::string NaUtf8(std::wstring_view tekst);

}  // namespace zuv
