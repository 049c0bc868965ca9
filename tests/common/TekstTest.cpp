#include <gtest/gtest.h>

#include "common/Tekst.h"
#include "common/Wyjatki.h"

using namespace zuv;

TEST(Przytnij, RemovesBytesUpTo32OnBothEndsOnly) {
    EXPECT_EQ(Przytnij(std::string_view(" \t\r\n\0a b\x1f ", 11)), "a b");
    EXPECT_EQ(Przytnij("   "), "");
    EXPECT_EQ(Przytnij(""), "");
    EXPECT_EQ(Przytnij("\xA0x\xA0"), "\xA0x\xA0");  // 160 is not a blank
}

TEST(TekstNaInt, AcceptsTheIntegerForms) {
    const struct {
        const char* tekst;
        std::int32_t wartosc;
    } przypadki[] = {
        {"0", 0},
        {"2005", 2005},
        {"  42", 42},
        {"+7", 7},
        {"-7", -7},
        {"0012", 12},
        {"$1F", 31},
        {"x1f", 31},
        {"X10", 16},
        {"0x7D5", 2005},
        {"-$10", -16},
        {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},
        {"$7FFFFFFF", INT32_MAX},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.tekst);
        EXPECT_EQ(TekstNaInt(p.tekst), p.wartosc);
    }
}

TEST(TekstNaInt, RejectsEverythingElseNamingTheText) {
    const char* przypadki[] = {"",          " ",   "2005 ", "\t5",    "+",          "-",
                               "$",         "0x",  "12a",   "1 2",    "2147483648", "-2147483649",
                               "$80000000", "--1", "1.0",   "200\xA0"};
    for (const char* tekst : przypadki) {
        SCOPED_TRACE(tekst);
        try {
            TekstNaInt(tekst);
            ADD_FAILURE() << "no error";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Komunikat(), std::string("'") + tekst + "' is not a valid integer value");
        }
    }
}

TEST(Formatuj, FillsPlaceholdersInOrder) {
    EXPECT_EQ(Formatuj("Wersja bazy %s.%s: %s", {"S", "D", "10.17.0.3"}),
              "Wersja bazy S.D: 10.17.0.3");
    EXPECT_EQ(Formatuj("operacji %d z %d...", {1, 2425}), "operacji 1 z 2425...");
    EXPECT_EQ(Formatuj("100%% %s", {"gotowe"}), "100% gotowe");
    EXPECT_EQ(Formatuj("'%s'", {""}), "''");
}

TEST(Formatuj, MissingOrMismatchedArgumentIsAnError) {
    EXPECT_THROW(Formatuj("%s %s", {"a"}), Exception);
    EXPECT_THROW(Formatuj("%d", {"a"}), Exception);
    EXPECT_THROW(Formatuj("%s", {5}), Exception);
}
