// The unattended program's command line: what it accepts and the Polish sentence for what not.
#include <gtest/gtest.h>

#include "app/wsadowa/OpcjeWsadowe.h"

using namespace zuv;

TEST(OpcjeWsadowe, OneDatabaseOrAListWithTheirOptions) {
    const OpcjeWsadowe jedna = ParsujOpcje({"--serwer", "S,1433", "--baza=ZUV", "--uzytkownik",
                                            "sa", "--tak", "--raport", "r.json", "--cicho"});
    EXPECT_EQ(jedna.serwer, "S,1433");
    EXPECT_EQ(jedna.baza, "ZUV");
    EXPECT_EQ(jedna.uzytkownik, "sa");
    EXPECT_TRUE(jedna.tak && jedna.cicho && !jedna.sprawdz);
    EXPECT_EQ(jedna.raport, "r.json");
    EXPECT_EQ(jedna.rownolegle, 1);

    const OpcjeWsadowe lista =
        ParsujOpcje({"--lista", "l", "--plik-hasel", "h", "--rownolegle", "16", "--sprawdz"});
    EXPECT_EQ(lista.lista, "l");
    EXPECT_EQ(lista.rownolegle, 16);
    EXPECT_TRUE(lista.sprawdz);
    EXPECT_TRUE(ParsujOpcje({"--pomoc"}).pomoc);
}

TEST(OpcjeWsadowe, BadArgumentsAreRefusedWithASentence) {
    const std::vector<std::string> baza = {"--serwer", "S", "--baza", "B", "--uzytkownik", "U"};
    const auto z = [&](std::vector<std::string> dodatkowe) {
        auto argumenty = baza;
        argumenty.insert(argumenty.end(), dodatkowe.begin(), dodatkowe.end());
        return argumenty;
    };
    const std::pair<std::vector<std::string>, std::string> przypadki[] = {
        {{}, "Brak opcji --serwer."},
        {{"--serwer", "S", "--baza", "B"}, "Brak opcji --uzytkownik."},
        {z({"--haslo", "x"}), "Hasła nie podaje się w wierszu polecenia"},
        {z({"--haslo=x"}), "Hasła nie podaje się w wierszu polecenia"},
        {z({"--rownolegle", "17"}), "--rownolegle przyjmuje liczbę od 1 do 16, podano \"17\"."},
        {z({"--rownolegle", "0"}), "podano \"0\"."},
        {z({"--rownolegle", "2x"}), "podano \"2x\"."},
        {z({"--raport"}), "Opcja --raport wymaga wartości."},
        {z({"--raport="}), "Opcja --raport wymaga niepustej wartości."},
        {z({"--tak=1"}), "Opcja --tak nie przyjmuje wartości."},
        {z({"--baza", "C"}), "Opcja --baza podana dwa razy."},
        {z({"-x"}), "Nieznana opcja \"-x\"."},
        {z({"--lista", "l", "--plik-hasel", "h"}), "nie jedno i drugie."},
        {z({"--plik-hasel", "h"}), "--plik-hasel działa z --lista"},
        {{"--lista", "l"}, "Z --lista podaj też --plik-hasel"},
        {{"--lista", "l", "--plik-hasel", "h", "--plik-hasla", "p"}, "--plik-hasla działa dla"},
    };
    for (const auto& [argumenty, poczatek] : przypadki) {
        try {
            ParsujOpcje(argumenty);
            ADD_FAILURE() << "accepted: " << poczatek;
        } catch (const EBladArgumentow& e) {
            EXPECT_NE(std::string(e.what()).find(poczatek), std::string::npos) << e.what();
        }
    }
}
