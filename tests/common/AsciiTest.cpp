#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "common/Ascii.h"

using namespace zuv;

namespace {

struct Porownanie {
    const char* nazwa;
    std::string_view a;
    std::string_view b;
    bool rowne;
};

TEST(Ascii, RowneBezWielkosciLiterSkladaTylkoAZ) {
    const std::vector<Porownanie> przypadki = {
        {"ta sama nazwa w innej wielkości", "FreeTDS", "freetds", true},
        {"cyfry i znaki bez zmian", "ZUV_9_5_0_10", "zuv_9_5_0_10", true},
        {"różna długość", "GO", "GOTO", false},
        {"puste", "", "", true},
        // Code page 1250 'ą' (0xB9) and 'Ą' (0xA5), and ISO 8859-2 'ą' (0xB1) and 'Ą' (0xA1):
        // a locale could fold them, the rule does not.
        {"litery strony 1250 zostają", "\xB9", "\xA5", false},
        {"litery ISO 8859-2 zostają", "\xB1", "\xA1", false},
        {"bajty UTF-8 zostają", "ą", "Ą", false},
        {"znak tuż przed a i po z", "`{", "@[", false},
    };
    for (const Porownanie& p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        EXPECT_EQ(RowneBezWielkosciLiter(p.a, p.b), p.rowne);
    }
}

TEST(Ascii, ZawieraBezWielkosciLiterSzukaWCalymTekscie) {
    EXPECT_TRUE(ZawieraBezWielkosciLiter("-- 'c810a5c6-2053' x", "'C810A5C6-2053'"));
    EXPECT_TRUE(ZawieraBezWielkosciLiter("abc", ""));
    EXPECT_FALSE(ZawieraBezWielkosciLiter("ab", "abc"));
    EXPECT_EQ(MalaLiteraAscii('Q'), 'q');
    EXPECT_EQ(MalaLiteraAscii('\xA5'), '\xA5');
}

}  // namespace
