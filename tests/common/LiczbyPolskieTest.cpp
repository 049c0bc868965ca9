#include <gtest/gtest.h>

#include "common/LiczbyPolskie.h"

using namespace zuv;

TEST(LiczbyPolskie, EachCountTakesItsFormAndItsDigitGroups) {
    const struct {
        std::uint64_t liczba;
        const char* operacje;
        const char* bajty;
    } przypadki[] = {
        {0, "0 operacji", "0 bajtów"},
        {1, "1 operacja", "1 bajt"},
        {2, "2 operacje", "2 bajty"},
        {4, "4 operacje", "4 bajty"},
        {5, "5 operacji", "5 bajtów"},
        {11, "11 operacji", "11 bajtów"},
        {12, "12 operacji", "12 bajtów"},
        {14, "14 operacji", "14 bajtów"},
        {21, "21 operacji", "21 bajtów"},
        {22, "22 operacje", "22 bajty"},
        {64, "64 operacje", "64 bajty"},
        {101, "101 operacji", "101 bajtów"},
        {112, "112 operacji", "112 bajtów"},
        {1004, "1004 operacje", "1004 bajty"},
        {9999, "9999 operacji", "9999 bajtów"},
        {10000, "10 000 operacji", "10 000 bajtów"},
        {42672, "42 672 operacje", "42 672 bajty"},
        {100013, "100 013 operacji", "100 013 bajtów"},
        {10676002, "10 676 002 operacje", "10 676 002 bajty"},
        {18446744073709551615u, "18 446 744 073 709 551 615 operacji",
         "18 446 744 073 709 551 615 bajtów"},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.liczba);
        EXPECT_EQ(Ile(p.liczba, Operacje), p.operacje);
        EXPECT_EQ(Ile(p.liczba, Bajty), p.bajty);
    }
    EXPECT_EQ(Ile(3, Pakiety), "3 pakiety");
    EXPECT_EQ(Ile(1, Bazy), "1 baza");
    EXPECT_EQ(Ile(5, Bazy), "5 baz");
}
