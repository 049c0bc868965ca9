#pragma once
// Text helpers shared by every part of the program. Texts are 8-bit (UTF-8 for the program's own
// texts, code page 1250 for package texts); none of these helpers depends on which.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

namespace zuv {

// Removes leading and trailing bytes with values 0 to 32.
std::string_view Przytnij(std::string_view tekst);

// Converts a text to a signed 32-bit integer: leading blanks, an optional sign, then decimal
// digits, or hexadecimal digits after "$", "x" or "0x". Anything else, or a value outside the
// 32-bit range, throws EConvertError "'<tekst>' is not a valid integer value".
std::int32_t TekstNaInt(std::string_view tekst);

// One argument of Formatuj: a text for "%s" or an integer for "%d".
class ArgumentFormatu {
  public:
    ArgumentFormatu(std::string_view tekst) : wartosc_(tekst) {}
    ArgumentFormatu(const std::string& tekst) : wartosc_(std::string_view(tekst)) {}
    ArgumentFormatu(const char* tekst) : wartosc_(std::string_view(tekst)) {}
    ArgumentFormatu(int liczba) : wartosc_(static_cast<std::int64_t>(liczba)) {}
    ArgumentFormatu(long liczba) : wartosc_(static_cast<std::int64_t>(liczba)) {}
    ArgumentFormatu(long long liczba) : wartosc_(static_cast<std::int64_t>(liczba)) {}

    const std::variant<std::string_view, std::int64_t>& Wartosc() const { return wartosc_; }

  private:
    std::variant<std::string_view, std::int64_t> wartosc_;
};

// An error's message as a person reads it: "." appended when its last character sorts above ".".
std::string TekstBledu(std::string komunikat);

// Fills the "%s" and "%d" placeholders of the pattern in order ("%%" stands for "%"). A missing
// argument or one of the wrong kind throws Exception: that is a fault in the caller.
std::string Formatuj(std::string_view wzorzec, std::initializer_list<ArgumentFormatu> argumenty);

}  // namespace zuv
