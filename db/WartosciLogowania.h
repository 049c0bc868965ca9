#pragma once
// The checks a log-in value passes before anything is sent: every value reaches the server whole
// or not at all, so a value the server would not take, or a driver would cut, is refused here with
// a Polish message naming the field.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace zuv {

// The limits SQL Server documents, counted in UTF-16 characters as the server counts them: a
// login name, a password and a database name are at most 128 characters (sysname); a server
// is a machine's DNS name (at most 253), optionally "\" and an instance name (at most 16), and
// optionally "," and a port (at most 5 digits).
inline constexpr std::size_t MaksDlugoscNazwyLogowania = 128;
inline constexpr std::size_t MaksDlugoscHasla = 128;
inline constexpr std::size_t MaksDlugoscNazwyBazy = 128;
inline constexpr std::size_t MaksDlugoscNazwyKomputera = 253;
inline constexpr std::size_t MaksDlugoscNazwyInstancji = 16;
inline constexpr std::size_t MaksDlugoscPortu = 5;

// Raises EDatabaseError naming `pole` when `wartosc` (UTF-8) holds a control character (codes 0 to
// 31, 127 and 128 to 159), is not valid UTF-8, or is longer than `maksDlugosc` characters.
void SprawdzWartoscLogowania(std::string_view pole, std::string_view wartosc,
                             std::size_t maksDlugosc);

// Raises EDatabaseError naming `pole` when `wartosc` is empty or holds only blanks (spaces and
// tabs): "Pole „<pole>” jest puste; wpisz <coWpisac>."
void SprawdzWypelnienie(std::string_view pole, std::string_view wartosc, std::string_view coWpisac);

// The server field as it is sent: the machine name, optionally "\" and an instance name (from the
// first "\"), optionally "," and a port (from the last ","), each part without the blanks typed
// around it ("srv , 1433" and " srv\ SQL2005" are what people type).
struct CzesciSerwera {
    std::string komputer;
    std::optional<std::string> instancja;
    std::optional<std::string> port;
};
CzesciSerwera PodzielSerwer(std::string_view wartosc);

// The same checks for the server field; its machine name, instance name and port are measured
// apart, as PodzielSerwer sends them.
void SprawdzSerwer(std::string_view wartosc);

}  // namespace zuv
