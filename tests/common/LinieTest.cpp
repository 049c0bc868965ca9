#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "common/Linie.h"

using namespace zuv;

namespace {

std::vector<std::string> Linie(std::string_view tekst) {
    ListaLinii lista;
    lista.UstawTekst(tekst);
    return std::vector<std::string>(lista.begin(), lista.end());
}

using V = std::vector<std::string>;

}  // namespace

TEST(PodzielNaLinie, CutsAtCrLfLoneCrLoneLfAndStopsAtNul) {
    const struct {
        const char* nazwa;
        std::string tekst;
        V linie;
    } przypadki[] = {
        {"mixed breaks", "A\r\nB\rC\n\nD", {"A", "B", "C", "", "D"}},
        {"LF CR is two breaks", "A\n\rB", {"A", "", "B"}},
        {"trailing break gives no empty line", "A\r\n", {"A"}},
        {"last line without break", "A\r\nB", {"A", "B"}},
        {"empty text", "", {}},
        {"only a break", "\r\n", {""}},
        {"two breaks", "\r\n\r\n", {"", ""}},
        {"NUL ends the text", std::string("A\r\nB\0C\r\nD", 10), {"A", "B"}},
        {"NUL first", std::string("\0A", 2), {}},
        {"blanks and tabs kept", " \tGO \r\n\t", {" \tGO ", "\t"}},
        {"CR CR LF", "A\r\r\nB", {"A", "", "B"}},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        EXPECT_EQ(Linie(p.tekst), p.linie);
    }
}

// The line search tests eight bytes at a time, and ZLiniamiCrLf copies runs of lines whole; this
// compares both with a byte-by-byte cut on texts whose breaks, NULs, other control bytes and
// bytes above 127 fall at every offset of a word.
TEST(PodzielNaLinie, AgreesWithAByteByByteCutAtEveryPosition) {
    const auto poBajcie = [](std::string_view tekst) {
        V linie;
        std::size_t i = 0;
        while (i < tekst.size() && tekst[i] != '\0') {
            std::string linia;
            while (i < tekst.size() && tekst[i] != '\r' && tekst[i] != '\n' && tekst[i] != '\0')
                linia += tekst[i++];
            linie.push_back(linia);
            if (i == tekst.size() || tekst[i] == '\0') break;
            if (tekst[i] == '\r') ++i;
            if (i < tekst.size() && tekst[i] == '\n') ++i;
        }
        return linie;
    };
    const char znaki[] = {'A',    'z',    ' ',  '\t', '\x0B', '\x0C', '\x0E', '\x80',
                          '\x8C', '\xFF', '\r', '\n', '\r',   '\n',   '\0'};
    std::mt19937 los(20261210);
    for (int proba = 0; proba < 3000; ++proba) {
        std::string tekst(los() % 40, 'x');
        for (char& znak : tekst) znak = znaki[los() % sizeof(znaki)];
        // Mostly no NUL, so that the cut runs to the end of the text.
        if (los() % 4 != 0) std::replace(tekst.begin(), tekst.end(), '\0', 'N');
        const V linie = poBajcie(tekst);
        ASSERT_EQ(Linie(tekst), linie) << testing::PrintToString(tekst);
        std::string zCrLf;
        for (const std::string& linia : linie) zCrLf += linia + "\r\n";
        ASSERT_EQ(ZLiniamiCrLf(tekst), zCrLf) << testing::PrintToString(tekst);
        ASSERT_EQ(MaLinieCrLf(tekst), !zCrLf.empty() && zCrLf == tekst)
            << testing::PrintToString(tekst);
    }
}

TEST(ListaLinii, SettingTextReplacesContentAndAddAppends) {
    ListaLinii lista;
    lista.Dodaj("stara");
    lista.UstawTekst("a\r\nb");
    lista.Dodaj("");
    lista.Dodaj("c");
    EXPECT_EQ(V(lista.begin(), lista.end()), (V{"a", "b", "", "c"}));
    lista.Wyczysc();
    EXPECT_TRUE(lista.Pusta());
}

TEST(ZLiniamiCrLf, EndsEveryLineWithCrLf) {
    EXPECT_EQ(ZLiniamiCrLf("\r\nA"), "\r\nA\r\n");
    EXPECT_EQ(ZLiniamiCrLf("A\nB\rC"), "A\r\nB\r\nC\r\n");
    EXPECT_EQ(ZLiniamiCrLf("\r\n"), "\r\n");
    EXPECT_EQ(ZLiniamiCrLf(std::string("A\0B", 3)), "A\r\n");
    EXPECT_EQ(ZLiniamiCrLf(""), "");
    for (const char* jest : {"\r\n", "A\r\n", "\r\nA\r\nB\r\n"})
        EXPECT_TRUE(MaLinieCrLf(jest)) << jest;
    for (const char* nie : {"", "A", "\r\nA", "A\nB\r\n", "A\rB\r\n", "A\r\r\n", "\n"})
        EXPECT_FALSE(MaLinieCrLf(nie)) << nie;
    EXPECT_FALSE(MaLinieCrLf(std::string("A\0B\r\n", 5)));
}
