// The program's code page 1250 table against Windows' own conversion (MultiByteToWideChar and
// WideCharToMultiByte), byte by byte. The five bytes that code page 1250 leaves undefined are
// where the two part: Windows turns them into characters without a word, the program refuses
// them, as a package holding one is damaged.

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "common/Wyjatki.h"
#include "db/Kodowanie.h"

using namespace zuv;

namespace {

constexpr unsigned char Niezdefiniowane[] = {0x81, 0x83, 0x88, 0x90, 0x98};

bool Niezdefiniowany(int bajt) {
    for (const unsigned char n : Niezdefiniowane)
        if (n == bajt) return true;
    return false;
}

std::u16string Windows1250NaUtf16(const std::string& tekst) {
    wchar_t znaki[8] = {};
    const int ile =
        MultiByteToWideChar(1250, 0, tekst.data(), static_cast<int>(tekst.size()), znaki, 8);
    return std::u16string(reinterpret_cast<const char16_t*>(znaki), static_cast<std::size_t>(ile));
}

std::string WindowsUtf16Na1250(const std::u16string& tekst) {
    char bajty[8] = {};
    BOOL zastepczy = FALSE;
    const int ile = WideCharToMultiByte(
        1250, WC_NO_BEST_FIT_CHARS, reinterpret_cast<const wchar_t*>(tekst.data()),
        static_cast<int>(tekst.size()), bajty, 8, nullptr, &zastepczy);
    return zastepczy ? std::string("(zastępczy)")
                     : std::string(bajty, static_cast<std::size_t>(ile));
}

}  // namespace

TEST(KodowanieWindows, EveryDefinedByteConvertsAsWindowsConvertsIt) {
    for (int b = 0; b < 256; ++b) {
        if (Niezdefiniowany(b)) continue;
        SCOPED_TRACE(b);
        const std::string bajt(1, static_cast<char>(b));
        const std::u16string windows = Windows1250NaUtf16(bajt);
        ASSERT_EQ(windows.size(), 1u);
        EXPECT_EQ(Cp1250NaUtf16(bajt), windows);
        // And back: the character Windows made is that byte again.
        EXPECT_EQ(WindowsUtf16Na1250(windows), bajt);
        BuforKonwersji<char> bufor;
        EXPECT_EQ(Cp1250NaUtf8(bajt, bufor), Utf16NaUtf8(windows));
    }
}

TEST(KodowanieWindows, TheFiveUndefinedBytesWindowsMapsSilentlyAreRefused) {
    for (const unsigned char b : Niezdefiniowane) {
        SCOPED_TRACE(static_cast<int>(b));
        const std::string tekst = std::string("GO ") + static_cast<char>(b);
        // Windows gives a character for the byte and no error.
        EXPECT_EQ(Windows1250NaUtf16(tekst).size(), 4u);
        EXPECT_THROW(Cp1250NaUtf16(tekst), EOleException);
        BuforKonwersji<char> bufor;
        EXPECT_THROW(Cp1250NaUtf8(tekst, bufor), EOleException);
    }
}
