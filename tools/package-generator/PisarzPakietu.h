#pragma once
// Writes the bytes of a package line by line: code page 1250, CR LF after every line, and the
// bare CR that the older packages have after a few lines.

#include <cstddef>
#include <string>
#include <string_view>

namespace generator {

// In templates, this character at the end of a line stands for a line that the packages up to
// 10.17.0.3 end with a bare CR; the 11.x packages end the same line with CR LF.
inline constexpr std::string_view KoniecSamymCR = "⏎";

class PisarzPakietu {
  public:
    // `samotneCR`: whether lines marked for it end with a bare CR (8.1.0.0 to 10.17.0.3).
    explicit PisarzPakietu(bool samotneCR) : samotneCR_(samotneCR) {}

    // One line of UTF-8 text, written in code page 1250 and ended with CR LF.
    void Wiersz(std::string_view utf8);
    // One line ended with a bare CR where the package has bare CRs, else with CR LF.
    void WierszCR(std::string_view utf8);
    // One line, padded with blanks to `szerokosc` bytes when shorter.
    void WierszDoSzerokosci(std::string_view utf8, std::size_t szerokosc);
    // One line of a template: written by WierszCR when it ends with KoniecSamymCR (the marker
    // itself is left out), else by Wiersz.
    void WierszSzablonu(std::string_view utf8);
    // Several template lines separated by '\n' (a single leading '\n' is skipped, and a final
    // '\n' adds no empty line).
    void Tekst(std::string_view utf8);
    // A line already in code page 1250, ended with CR LF.
    void WierszCp1250(std::string_view bajty);
    // A separator line in the exact form given ("GO", "go ", ...).
    void Separator(std::string_view forma) { WierszCp1250(forma); }

    void Zarezerwuj(std::size_t bajty) { bajty_.reserve(bajty); }
    const std::string& Bajty() const { return bajty_; }
    std::string Zabierz() { return std::move(bajty_); }
    // Line breaks written so far; as every line is ended, this is the package's line count.
    long long Wiersze() const { return wiersze_; }

  private:
    std::string bajty_;
    long long wiersze_ = 0;
    bool samotneCR_;
};

}  // namespace generator
