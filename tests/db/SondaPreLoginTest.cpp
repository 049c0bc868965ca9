#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "db/SondaPreLogin.h"

using namespace zuv;

namespace {

// A server's pre-login answer as SQL Server sends it: VERSION, then ENCRYPTION with `szyfrowanie`.
std::vector<std::uint8_t> Odpowiedz(std::uint8_t szyfrowanie) {
    return {0x04,       0x01, 0x00, 0x1a, 0x00, 0x00, 0x01, 0x00,  // header: reply, EOM, 26 bytes
            0x00,       0x00, 0x0b, 0x00, 0x06,                    // VERSION at 11, 6 bytes
            0x01,       0x00, 0x11, 0x00, 0x01,                    // ENCRYPTION at 17, 1 byte
            0xff,                                                  // end of the table
            0x10,       0x00, 0x10, 0x00, 0x00, 0x00,              // 16.0.16.0
            szyfrowanie};
}

}  // namespace

TEST(SondaPreLogin, ReadsTheServersEncryptionAndNothingElse) {
    using O = OdpowiedzPreLogin;
    const auto ucieta = [] {
        auto bajty = Odpowiedz(0x02);
        bajty.pop_back();
        return bajty;
    }();
    const auto innyTyp = [] {
        auto bajty = Odpowiedz(0x02);
        bajty[0] = 0x12;
        return bajty;
    }();
    const auto opcjaPozaPakietem = [] {
        auto bajty = Odpowiedz(0x02);
        bajty[15] = 0x40;  // ENCRYPTION's offset past the payload
        return bajty;
    }();
    const auto bezSzyfrowania = [] {
        auto bajty = Odpowiedz(0x02);
        bajty[13] = 0x02;  // the option is INSTOPT, not ENCRYPTION
        return bajty;
    }();
    const auto zaDlugiNaglowek = [] {
        auto bajty = Odpowiedz(0x02);
        bajty[3] = 0x30;  // says 48 bytes, 26 came
        return bajty;
    }();
    const struct {
        const char* nazwa;
        std::vector<std::uint8_t> bajty;
        O odpowiedz;
    } przypadki[] = {
        {"NOT_SUP", Odpowiedz(0x02), O::BezSzyfrowania},
        {"OFF: the log-in packet encrypted", Odpowiedz(0x00), O::ZSzyfrowaniem},
        {"ON", Odpowiedz(0x01), O::ZSzyfrowaniem},
        {"REQ", Odpowiedz(0x03), O::ZSzyfrowaniem},
        {"an unknown value", Odpowiedz(0x07), O::BezOdpowiedzi},
        {"nothing", {}, O::BezOdpowiedzi},
        {"cut short", ucieta, O::BezOdpowiedzi},
        {"not a reply", innyTyp, O::BezOdpowiedzi},
        {"the option outside the payload", opcjaPozaPakietem, O::BezOdpowiedzi},
        {"no ENCRYPTION option", bezSzyfrowania, O::BezOdpowiedzi},
        {"a header longer than what came", zaDlugiNaglowek, O::BezOdpowiedzi},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.nazwa);
        EXPECT_EQ(CzytajOdpowiedzPreLogin(p.bajty), p.odpowiedz);
    }
}
