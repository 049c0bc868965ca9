// The word wrapping every window shares: where lines break, over a measure of known widths that
// also checks it is given only whole characters of the text being wrapped.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "app/okno/ZawijanieTekstu.h"

using namespace zuv;

namespace {

bool WysokiSurogat(char16_t znak) { return znak >= 0xD800 && znak <= 0xDBFF; }
bool NiskiSurogat(char16_t znak) { return znak >= 0xDC00 && znak <= 0xDFFF; }

// Every code unit 6 pixels wide, a blank 3, "W" and "Ź" 9: a proportional font's widths. A
// surrogate pair is 12, half of one 6, so a rule that measured half a pair would find room that
// the whole pair does not have. A piece that is not a part of `tekst` or cuts a pair in two fails
// the test.
MiaraTekstuUtf16 Miara(std::u16string_view tekst) {
    return [tekst](std::u16string_view odcinek) {
        EXPECT_TRUE(odcinek.data() >= tekst.data() &&
                    odcinek.data() + odcinek.size() <= tekst.data() + tekst.size())
            << "a piece from outside the text";
        if (!odcinek.empty()) {
            EXPECT_FALSE(NiskiSurogat(odcinek.front())) << "a piece after half a pair";
            EXPECT_FALSE(WysokiSurogat(odcinek.back())) << "a piece with half a pair";
        }
        int szerokosc = 0;
        for (const char16_t znak : odcinek)
            szerokosc += znak == u' ' ? 3 : (znak == u'W' || znak == u'Ź') ? 9 : 6;
        return szerokosc;
    };
}

std::vector<std::u16string> Linie(std::u16string_view tekst, int szerokosc) {
    std::vector<std::u16string> wynik;
    for (const std::u16string_view linia : ZawinTekst(tekst, szerokosc, Miara(tekst)))
        wynik.emplace_back(linia);
    return wynik;
}

// The text without blanks and line ends: what wrapping may not lose or add.
std::u16string Znaki(std::u16string_view tekst) {
    std::u16string wynik;
    for (const char16_t znak : tekst)
        if (znak != u' ' && znak != u'\r' && znak != u'\n') wynik += znak;
    return wynik;
}

}  // namespace

TEST(ZawijanieTekstu, WrapsAtBlanksBreaksLongWordsAndKeepsWholeLines) {
    const std::u16string usmiech = u"\xD83D\xDE00";  // one character, two code units
    const struct {
        const char* nazwa;
        std::u16string tekst;
        int szerokosc;
        std::vector<std::u16string> linie;
    } przypadki[] = {
        {"a line exactly as wide as the width stays whole", u"ala ma kota", 60, {u"ala ma kota"}},
        {"words fill a line to exactly the width", u"ala ma kota", 33, {u"ala ma", u"kota"}},
        {"one pixel short, the blank at each break dropped",
         u"ala ma kota",
         32,
         {u"ala", u"ma", u"kota"}},
        {"a word longer than the line breaks anywhere",
         u"ab abcdefghij",
         24,
         {u"ab", u"abcd", u"efgh", u"ij"}},
        {"a width below one character gives one a line", u"ab c", 1, {u"a", u"b", u"c"}},
        {"wide letters are measured, not counted", u"WWW WWW", 20, {u"WW", u"W", u"WW", u"W"}},
        {"line ends of every kind", u"a\r\nb\nc\rd", 60, {u"a", u"b", u"c", u"d"}},
        {"an empty line stays", u"a\r\n\r\nb", 60, {u"a", u"", u"b"}},
        {"LF CR is two line ends", u"a\n\rb", 60, {u"a", u"", u"b"}},
        {"an empty text is one empty line", u"", 60, {u""}},
        {"never half of a surrogate pair",
         usmiech + usmiech + usmiech,
         12,
         {usmiech, usmiech, usmiech}},
        {"a pair is measured whole before it joins a line",
         u"a" + usmiech + u"a" + usmiech,
         12,
         {u"a", usmiech, u"a", usmiech}},
        {"a pair wider than the width stands alone", u"a" + usmiech, 8, {u"a", usmiech}},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        EXPECT_EQ(Linie(p.tekst, p.szerokosc), p.linie);
    }
}

TEST(ZawijanieTekstu, LinesAreTheTextInOrderAndFitTheWidth) {
    // A server's error as the boxes show it: line ends of every kind, an empty line, a double
    // blank, long words with and without surrogate pairs.
    const std::u16string dlugi =
        u"Skrypt ZUV_9_2_0_1.sql nie wykonał się na serwerze SRV-KSIEGOWOSC\\SQL2008R2:\r\n"
        u"Msg 547, Level 16, State 0: konflikt z ograniczeniem FK_SRODKI_GRUPY  w tabeli "
        u"dbo.SRODKI_TRWALE_HISTORIA_AMORTYZACJI_ZA_LATA_UBIEGLE.\n\n"
        u"Wiersz: Żółw\xD83D\xDE00Źdźbło\xD83D\xDE00\xD83D\xDE00WWWŁąkaŚlęża\xD83D\xDE00 i nic "
        u"więcej.\r"
        u"Popraw dane i ponów.";

    for (const int szerokosc : {1, 12, 50, 100, 333, 2000}) {
        SCOPED_TRACE(szerokosc);
        const MiaraTekstuUtf16 miara = Miara(dlugi);
        const std::vector<std::u16string_view> linie = ZawinTekst(dlugi, szerokosc, miara);
        std::u16string polaczone;
        const char16_t* dalej = dlugi.data();
        for (const std::u16string_view linia : linie) {
            // Views into the text, each after the one before.
            EXPECT_GE(linia.data(), dalej);
            dalej = linia.data() + linia.size();
            EXPECT_LE(dalej, dlugi.data() + dlugi.size());
            // Wider than the width only as a single character.
            const bool jedenZnak =
                linia.size() == 1 || (linia.size() == 2 && WysokiSurogat(linia[0]));
            if (!jedenZnak) {
                EXPECT_LE(miara(linia), szerokosc);
            }
            polaczone += linia;
        }
        EXPECT_EQ(Znaki(polaczone), Znaki(dlugi));
    }
}
