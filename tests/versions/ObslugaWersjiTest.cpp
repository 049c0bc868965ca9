#include <gtest/gtest.h>

#include "common/Wyjatki.h"
#include "versions/ObslugaWersji.h"

using namespace zuv;

TEST(ParsujWersje, WellFormedTextsGiveTheirComponents) {
    const struct {
        const char* tekst;
        Wersja wersja;
    } przypadki[] = {
        {"8.1.0.0", {8, 1, 0, 0}},
        {"10.17.0.3", {10, 17, 0, 3}},
        {"9.6.0.26", {9, 6, 0, 26}},
        {"08.001.0.00", {8, 1, 0, 0}},
        {"2147483647.0.0.0", {2147483647, 0, 0, 0}},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.tekst);
        Wersja wersja{9, 9, 9, 9};
        EXPECT_TRUE(ParsujWersje(p.tekst, wersja));
        EXPECT_EQ(wersja, p.wersja);
    }
}

TEST(ParsujWersje, MalformedTextsGiveFalseAndZeros) {
    const char* przypadki[] = {"",         "8.1.0",    "8.1.0.0.",   "8.1.0.0.0", "8..1.0.0",
                               ".8.1.0.0", " 8.1.0.0", "8.1.0.0 ",   "+8.1.0.0",  "8.1.0.a",
                               "8,1,0,0",  "1.2.3",    "8.1.0.\xB9", "8.1.-0.0",  "8.1.0.00\t"};
    for (const char* tekst : przypadki) {
        SCOPED_TRACE(tekst);
        Wersja wersja{9, 9, 9, 9};
        EXPECT_FALSE(ParsujWersje(tekst, wersja));
        EXPECT_EQ(wersja, (Wersja{0, 0, 0, 0}));
    }
}

TEST(ParsujWersje, ComponentBeyond32BitsIsAConversionError) {
    Wersja wersja;
    try {
        ParsujWersje("2147483648.0.0.0", wersja);
        FAIL() << "no error";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Komunikat(), "'2147483648' is not a valid integer value");
    }
    EXPECT_THROW(ParsujWersje("1.0.0.0002147483648", wersja), EConvertError);
}

TEST(WersjaWiekszaLubRowna, OrdersComponentByComponent) {
    const struct {
        const char* a;
        const char* b;
        bool wynik;
    } przypadki[] = {
        {"8.1.0.0", "8.1.0.0", true},     {"8.10.0.2", "8.9.0.9", true},
        {"8.9.0.9", "8.10.0.2", false},   {"9.1.0.2", "8.11.0.0", true},
        {"08.001.0.00", "8.1.0.0", true}, {"8.1.0.0", "08.001.0.00", true},
        {"10.5.0.3", "10.5.0.5", false},  {"12.0.0.0", "11.5.0.6", true},
        {"7.12.0.7", "8.1.0.0", false},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(std::string(p.a) + " >= " + p.b);
        EXPECT_EQ(WersjaWiekszaLubRowna(p.a, p.b), p.wynik);
    }
}

TEST(WersjaWiekszaLubRowna, MalformedTextIsNamedFirstArgumentFirst) {
    const struct {
        const char* a;
        const char* b;
        const char* komunikat;
    } przypadki[] = {
        {"11.5.0.6 ", "8.1.0.0", "Niepoprawna wersja: \"11.5.0.6 \"."},
        {"8.1.0.0", "x", "Niepoprawna wersja: \"x\"."},
        {"", "abc", "Niepoprawna wersja: \"\"."},
        {"1.2.3.99999999999", "x", "'99999999999' is not a valid integer value"},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.komunikat);
        try {
            WersjaWiekszaLubRowna(p.a, p.b);
            ADD_FAILURE() << "no error";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Komunikat(), p.komunikat);
        }
    }
}
