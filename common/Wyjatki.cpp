#include "common/Wyjatki.h"

#include <cstdio>

#include "common/Tekst.h"

namespace zuv {

Exception::Exception(std::string komunikat, int kontekstPomocy)
    : komunikat_(std::move(komunikat)), kontekstPomocy_(kontekstPomocy) {}

EAssertionFailed::EAssertionFailed(std::string_view komunikat, std::string_view plik, int linia)
    : Exception(Formatuj("%s (%s, line %d)", {komunikat, plik, linia})) {}

namespace {

std::string KomunikatOle(std::string_view opis, std::int32_t kod) {
    std::size_t dlugosc = opis.size();
    while (dlugosc > 0) {
        const auto znak = static_cast<unsigned char>(opis[dlugosc - 1]);
        if (znak > 32 && znak != '.') break;
        --dlugosc;
    }
    if (dlugosc > 0) return std::string(opis.substr(0, dlugosc));
    // This platform has no message table for client-interface codes, so the code itself is shown.
    char tekst[32];
    std::snprintf(tekst, sizeof tekst, "OLE error %.8x", static_cast<std::uint32_t>(kod));
    return tekst;
}

}  // namespace

EOleException::EOleException(std::string_view opis, std::int32_t kod, std::string zrodlo,
                             std::string plikPomocy, int kontekstPomocy, std::string stanSQL)
    : Exception(KomunikatOle(opis, kod), kontekstPomocy),
      kod_(kod),
      zrodlo_(std::move(zrodlo)),
      plikPomocy_(std::move(plikPomocy)),
      stanSQL_(std::move(stanSQL)) {}

}  // namespace zuv
