#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/Linie.h"

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
}
