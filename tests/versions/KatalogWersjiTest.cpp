#include <gtest/gtest.h>

#include "versions/KatalogWersji.h"
#include "versions/ObslugaWersji.h"

using namespace zuv;

TEST(KatalogWersji, EveryEntryParsesAndLiesAboveTheOneBefore) {
    EXPECT_EQ(KatalogWersji.front(), "8.1.0.0");
    EXPECT_EQ(KatalogWersji.back(), "11.5.0.6");
    EXPECT_EQ(KatalogWersji[10], "8.11.0.0");
    std::string_view poprzednia = WersjaPrzedKatalogiem;
    for (const std::string_view wpis : KatalogWersji) {
        SCOPED_TRACE(std::string(wpis));
        Wersja wersja;
        EXPECT_TRUE(ParsujWersje(wpis, wersja));
        EXPECT_FALSE(WersjaWiekszaLubRowna(poprzednia, wpis));
        poprzednia = wpis;
    }
}
