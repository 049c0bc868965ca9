#include <gtest/gtest.h>

#include <sstream>

#include "packages/checker/RaportPakietow.h"

using namespace zuv;

namespace {

TEST(RaportPakietow, WypisujeJakKompilatorIOgraniczaJedenRodzajWPliku) {
    RaportPakietow raport;
    for (std::size_t wiersz = 1; wiersz <= RaportPakietow::NajwiecejJednegoRodzaju + 2; ++wiersz)
        raport.Dodaj(RodzajUwagi::BajtNieokreslony, "A.sql", wiersz, "bajt");
    raport.Dodaj(RodzajUwagi::BajtNieokreslony, "B.sql", 7, "bajt");
    raport.Dodaj(RodzajUwagi::SamotnyLF, "A.sql", 3, "LF");
    raport.Dodaj(RodzajUwagi::BrakPakietu, "C.sql", 0, "brak");

    EXPECT_EQ(raport.Bledy(), RaportPakietow::NajwiecejJednegoRodzaju + 4);
    EXPECT_EQ(raport.Ostrzezenia(), 1u);
    EXPECT_EQ(raport.Uwagi().size(), RaportPakietow::NajwiecejJednegoRodzaju + 3);

    std::ostringstream wyjscie;
    raport.Wypisz(wyjscie);
    const std::string tekst = wyjscie.str();
    EXPECT_NE(tekst.find("A.sql:1: błąd: bajt\n"), std::string::npos);
    EXPECT_NE(tekst.find("B.sql:7: błąd: bajt\n"), std::string::npos);
    EXPECT_NE(tekst.find("A.sql:3: ostrzeżenie: LF\n"), std::string::npos);
    EXPECT_NE(tekst.find("C.sql: błąd: brak\n"), std::string::npos);
    EXPECT_NE(tekst.find("A.sql: pominięto 2 dalszych błędów tego rodzaju\n"), std::string::npos);
    EXPECT_EQ(tekst.find("A.sql:11:"), std::string::npos);
}

TEST(RaportPakietow, CytatPokazujeBajtySpozaAsciiKodem) {
    EXPECT_EQ(Cytat("go;"), "go;");
    EXPECT_EQ(Cytat("go\xA0\t"), "go\\xA0\\x09");
    EXPECT_EQ(Cytat(std::string(70, 'x')), std::string(60, 'x') + "...");
}

}  // namespace
