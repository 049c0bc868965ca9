#include "db/Kodowanie.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>

#include "common/Tekst.h"
#include "common/Wyjatki.h"

namespace {

constexpr std::int32_t KodBleduKonwersji = static_cast<std::int32_t>(0x80004005);  // E_FAIL

// Owns one iconv descriptor.
class KonwerterIconv {
  public:
    KonwerterIconv(const char* doKodowania, const char* zKodowania)
        : deskryptor_(iconv_open(doKodowania, zKodowania)),
          opis_(std::string(zKodowania) + " -> " + doKodowania) {
        if (deskryptor_ == reinterpret_cast<iconv_t>(-1))
            throw EOleException("Konwersja tekstu " + opis_ + " jest niedostępna",
                                KodBleduKonwersji, "iconv");
    }
    ~KonwerterIconv() { iconv_close(deskryptor_); }
    KonwerterIconv(const KonwerterIconv&) = delete;
    KonwerterIconv& operator=(const KonwerterIconv&) = delete;

    // Converts all of `wejscie`; returns the bytes written.
    std::string Konwertuj(std::string_view wejscie, std::size_t mnoznik,
                          std::string_view coKonwertujemy) {
        std::string wyjscie(wejscie.size() * mnoznik + 4, '\0');
        char* we = const_cast<char*>(wejscie.data());
        std::size_t zostalo = wejscie.size();
        char* wy = wyjscie.data();
        std::size_t miejsce = wyjscie.size();
        while (zostalo > 0) {
            if (iconv(deskryptor_, &we, &zostalo, &wy, &miejsce) != static_cast<std::size_t>(-1))
                continue;
            if (errno == E2BIG) {
                const std::size_t zapisane = static_cast<std::size_t>(wy - wyjscie.data());
                wyjscie.resize(wyjscie.size() * 2);
                wy = wyjscie.data() + zapisane;
                miejsce = wyjscie.size() - zapisane;
                continue;
            }
            const auto pozycja = static_cast<long long>(we - wejscie.data());
            const auto bajt = static_cast<int>(static_cast<unsigned char>(*we));
            char szesnastkowo[8];
            std::snprintf(szesnastkowo, sizeof szesnastkowo, "%02X", bajt);
            throw EOleException(
                Formatuj("%s zawiera na pozycji %d bajt 0x%s, którego nie można przekształcić (%s)",
                         {coKonwertujemy, pozycja, szesnastkowo, opis_}),
                KodBleduKonwersji, "iconv");
        }
        wyjscie.resize(static_cast<std::size_t>(wy - wyjscie.data()));
        return wyjscie;
    }

  private:
    iconv_t deskryptor_;
    std::string opis_;
};

std::u16string NaU16(const std::string& bajty) {
    std::u16string wynik(bajty.size() / 2, u'\0');
    for (std::size_t i = 0; i < wynik.size(); ++i)
        wynik[i] = static_cast<char16_t>(static_cast<unsigned char>(bajty[2 * i]) |
                                         static_cast<unsigned char>(bajty[2 * i + 1]) << 8);
    return wynik;
}

}  // namespace

std::u16string Cp1250NaUtf16(std::string_view tekst) {
    KonwerterIconv konwerter("UTF-16LE", "CP1250");
    return NaU16(konwerter.Konwertuj(tekst, 2, "Polecenie SQL"));
}

std::u16string Utf8NaUtf16(std::string_view tekst) {
    KonwerterIconv konwerter("UTF-16LE", "UTF-8");
    return NaU16(konwerter.Konwertuj(tekst, 2, "Tekst"));
}

std::string Utf16NaUtf8(std::u16string_view tekst) {
    std::string bajty(tekst.size() * 2, '\0');
    for (std::size_t i = 0; i < tekst.size(); ++i) {
        bajty[2 * i] = static_cast<char>(tekst[i] & 0xFF);
        bajty[2 * i + 1] = static_cast<char>(tekst[i] >> 8);
    }
    KonwerterIconv konwerter("UTF-8", "UTF-16LE");
    return konwerter.Konwertuj(bajty, 2, "Tekst serwera");
}
