// The text conversions, checked against the C library's iconv where the platform has one: every
// byte of code page 1250 both ways, the sample packages whole, and UTF-8 / UTF-16 including the
// malformed sequences iconv refuses.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

#include "common/Wyjatki.h"
#include "db/Kodowanie.h"

// ZUV_BEZ_ICONV: a C library whose conversion modules are missing (a cross root run under qemu).
#if __has_include(<iconv.h>) && !defined(ZUV_BEZ_ICONV)
#include <iconv.h>
#define ZUV_TEST_ICONV 1
#endif

using namespace zuv;

namespace {

// The message of the EOleException `dzialanie` raises, or "(no error)".
template <typename Dzialanie>
std::string Blad(Dzialanie dzialanie) {
    try {
        dzialanie();
    } catch (const EOleException& e) {
        return e.Komunikat();
    }
    return "(no error)";
}

#ifdef ZUV_TEST_ICONV
std::string Bajty(std::u16string_view tekst) {
    std::string bajty;
    for (const char16_t znak : tekst) {
        bajty += static_cast<char>(znak & 0xFF);
        bajty += static_cast<char>(znak >> 8);
    }
    return bajty;
}

struct WynikIconv {
    bool udany;
    std::string bajty;    // when udany
    std::size_t pozycja;  // of the refused input byte otherwise
};

WynikIconv Iconv(const char* doKodowania, const char* zKodowania, std::string_view wejscie) {
    const iconv_t deskryptor = iconv_open(doKodowania, zKodowania);
    // Without the converter every byte would read as refused: stop rather than compare with that.
    if (deskryptor == reinterpret_cast<iconv_t>(-1))
        throw std::runtime_error(std::string("iconv_open: ") + zKodowania + " -> " + doKodowania);
    std::string wyjscie(wejscie.size() * 4 + 8, '\0');
    char* we = const_cast<char*>(wejscie.data());
    std::size_t zostalo = wejscie.size();
    char* wy = wyjscie.data();
    std::size_t miejsce = wyjscie.size();
    const bool udany = iconv(deskryptor, &we, &zostalo, &wy, &miejsce) != static_cast<size_t>(-1);
    iconv_close(deskryptor);
    wyjscie.resize(static_cast<std::size_t>(wy - wyjscie.data()));
    return {udany, wyjscie, static_cast<std::size_t>(we - wejscie.data())};
}

std::string Wczytaj(const std::filesystem::path& sciezka) {
    std::ifstream plik(sciezka, std::ios::binary);
    std::ostringstream bufor;
    bufor << plik.rdbuf();
    return bufor.str();
}

TEST(Kodowanie, EveryByteOfCodePage1250AgreesWithIconvBothWays) {
    for (int b = 0; b < 256; ++b) {
        SCOPED_TRACE(b);
        // The byte stands after three others, so the refusal must name position 3.
        const std::string tekst = std::string("ab ") + static_cast<char>(b);
        const WynikIconv utf16 = Iconv("UTF-16LE", "CP1250", tekst);
        if (!utf16.udany) {
            char bajt[3];
            std::snprintf(bajt, sizeof bajt, "%02X", b);
            EXPECT_EQ(Blad([&] { Cp1250NaUtf16(tekst); }),
                      "Polecenie SQL zawiera na pozycji 3 bajt 0x" + std::string(bajt) +
                          ", którego nie można przekształcić (CP1250 -> UTF-16LE)");
            BuforKonwersji<char> bufor;
            EXPECT_NE(Blad([&] {
                          Cp1250NaUtf8(tekst, bufor);
                      }).find("pozycji 3 bajt 0x" + std::string(bajt)),
                      std::string::npos);
            continue;
        }
        const std::u16string wynik = Cp1250NaUtf16(tekst);
        EXPECT_EQ(Bajty(wynik), utf16.bajty);
        BuforKonwersji<char> bufor;
        EXPECT_EQ(Cp1250NaUtf8(tekst, bufor), Iconv("UTF-8", "CP1250", tekst).bajty);
        // Back: the character maps to this byte and to no other.
        const WynikIconv z = Iconv("CP1250", "UTF-16LE", Bajty(wynik.substr(3)));
        EXPECT_TRUE(z.udany);
        EXPECT_EQ(z.bajty, std::string(1, static_cast<char>(b)));
    }
}

TEST(Kodowanie, TheSamplePackagesConvertAsIconvConvertsThem) {
    BuforKonwersji<char16_t> utf16;
    BuforKonwersji<char> utf8;
    int pakiety = 0;
    for (const auto& plik : std::filesystem::directory_iterator(KATALOG_DANYCH_PAKIETOW)) {
        SCOPED_TRACE(plik.path().filename().string());
        const std::string tekst = Wczytaj(plik.path());
        // The buffers are the same for every package, as the connection keeps its own.
        EXPECT_TRUE(Bajty(Cp1250NaUtf16(tekst, utf16)) == Iconv("UTF-16LE", "CP1250", tekst).bajty);
        EXPECT_TRUE(Cp1250NaUtf8(tekst, utf8) == Iconv("UTF-8", "CP1250", tekst).bajty);
        // The table alone, the path of processors without SSE2, gives the same.
        EXPECT_TRUE(Bajty(Cp1250NaUtf16Tablica(tekst, utf16)) ==
                    Iconv("UTF-16LE", "CP1250", tekst).bajty);
        EXPECT_TRUE(Cp1250NaUtf8Tablica(tekst, utf8) == Iconv("UTF-8", "CP1250", tekst).bajty);
        ++pakiety;
    }
    EXPECT_EQ(pakiety, 39);
}

TEST(Kodowanie, MalformedUtf8IsRefusedWhereIconvRefusesIt) {
    const struct {
        const char* nazwa;
        std::string tekst;
    } przypadki[] = {
        {"two, three and four bytes", "Hasło€1 \xF0\x9F\x98\x80."},
        {"cut at the end", "ab\xC5"},
        {"cut before ASCII", "ab\xE2\x82x"},
        {"lone continuation", "a\x80"},
        {"overlong two bytes", "a\xC0\x80"},
        {"overlong three bytes", "a\xE0\x80\x80"},
        {"overlong four bytes", "a\xF0\x80\x80\x80"},
        {"surrogate", "a\xED\xA0\x80"},
        {"above U+10FFFF", "a\xF4\x90\x80\x80"},
        {"F5", "a\xF5\x80\x80\x80"},
        {"FF", "abc\xFF"},
        {"largest", "\xF4\x8F\xBF\xBF\xEF\xBF\xBF"},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        const WynikIconv oczekiwany = Iconv("UTF-16LE", "UTF-8", p.tekst);
        if (oczekiwany.udany) {
            EXPECT_EQ(Bajty(Utf8NaUtf16(p.tekst)), oczekiwany.bajty);
            continue;
        }
        const std::string komunikat = Blad([&] { Utf8NaUtf16(p.tekst); });
        EXPECT_NE(komunikat.find("Tekst zawiera na pozycji " + std::to_string(oczekiwany.pozycja) +
                                 " bajt"),
                  std::string::npos)
            << komunikat;
    }
}

TEST(Kodowanie, Utf16FromTheServerBecomesUtf8AndLoneSurrogatesAreRefused) {
    const struct {
        const char* nazwa;
        std::u16string tekst;
        const char* blad;  // nullptr when the text converts
    } przypadki[] = {
        {"Polish letters and a pair", u"Błąd ąę – \U0001F600", nullptr},
        {"lone low surrogate", std::u16string(u"ab") + char16_t(0xDC01), "pozycji 4 bajt 0x01"},
        {"high surrogate at the end", std::u16string(u"a") + char16_t(0xD83D),
         "pozycji 2 bajt 0x3D"},
        {"high surrogate before a letter", std::u16string(1, char16_t(0xD800)) + u"x",
         "pozycji 0 bajt 0x00"},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        const WynikIconv oczekiwany = Iconv("UTF-8", "UTF-16LE", Bajty(p.tekst));
        if (p.blad == nullptr) {
            EXPECT_EQ(Utf16NaUtf8(p.tekst), oczekiwany.bajty);
            continue;
        }
        EXPECT_FALSE(oczekiwany.udany);
        const std::string komunikat = Blad([&] { Utf16NaUtf8(p.tekst); });
        EXPECT_NE(komunikat.find(p.blad), std::string::npos) << komunikat;
        EXPECT_NE(komunikat.find("pozycji " + std::to_string(oczekiwany.pozycja) + " "),
                  std::string::npos)
            << komunikat;
    }
}
#endif

TEST(Kodowanie, AnUndefinedByteIsFoundWhereverItStands) {
    // The converters take 16 ASCII bytes at a time: the byte may stand in such a block, right
    // after one, or in the tail shorter than a block.
    for (const std::size_t pozycja : {0u, 15u, 16u, 17u, 40u, 47u, 50u}) {
        SCOPED_TRACE(pozycja);
        std::string tekst(51, 'x');
        tekst[pozycja] = '\x98';
        const std::string oczekiwany = "pozycji " + std::to_string(pozycja) + " bajt 0x98";
        EXPECT_NE(Blad([&] { Cp1250NaUtf16(tekst); }).find(oczekiwany), std::string::npos);
        BuforKonwersji<char> bufor;
        EXPECT_NE(Blad([&] { Cp1250NaUtf8(tekst, bufor); }).find(oczekiwany), std::string::npos);
        BuforKonwersji<char16_t> utf16;
        EXPECT_NE(Blad([&] { Cp1250NaUtf16Tablica(tekst, utf16); }).find(oczekiwany),
                  std::string::npos);
        EXPECT_NE(Blad([&] { Cp1250NaUtf8Tablica(tekst, bufor); }).find(oczekiwany),
                  std::string::npos);
    }
}

TEST(Kodowanie, ABufferKeptFromCommandToCommandHoldsOnlyTheLastText) {
    const std::string dluga(1000, 'a');
    const std::string krotka = "Za\xBF\xF3\xB3\xE6 g\xEA\x9Cl\xB9 ja\x9F\xF1 \x96 \x94";
    BuforKonwersji<char16_t> utf16;
    BuforKonwersji<char> utf8;
    EXPECT_EQ(Cp1250NaUtf16(dluga, utf16), std::u16string(1000, u'a'));
    EXPECT_EQ(Cp1250NaUtf8(dluga, utf8), dluga);
    const char16_t* pamiec16 = utf16.Dane();
    const char* pamiec8 = utf8.Dane();
    EXPECT_EQ(Cp1250NaUtf16(krotka, utf16), u"Zażółć gęślą jaźń – ”");
    EXPECT_EQ(Cp1250NaUtf8(krotka, utf8), "Zażółć gęślą jaźń – ”");
    EXPECT_EQ(Cp1250NaUtf16("", utf16), u"");
    EXPECT_EQ(utf16.Dane(), pamiec16);
    EXPECT_EQ(utf8.Dane(), pamiec8);
}

}  // namespace
