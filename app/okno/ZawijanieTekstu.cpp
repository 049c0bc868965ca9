#include "app/okno/ZawijanieTekstu.h"

#include <algorithm>

namespace zuv {

namespace {

bool NiskiSurogat(char16_t znak) { return znak >= 0xDC00 && znak <= 0xDFFF; }

// The length of the longest start of `slowo` that fits the width: at least one character, never
// half of a surrogate pair. Only whole characters are measured: half a pair measured alone could
// fit where the whole pair does not.
std::size_t DlugoscMieszczaca(std::u16string_view slowo, int szerokosc,
                              const MiaraTekstuUtf16& miara) {
    std::size_t dlugosc = 0;
    for (std::size_t i = 1; i <= slowo.size(); ++i) {
        if (i < slowo.size() && NiskiSurogat(slowo[i])) continue;
        if (dlugosc > 0 && miara(slowo.substr(0, i)) > szerokosc) break;
        dlugosc = i;
    }
    return dlugosc;
}

void ZawinLinie(std::u16string_view linia, int szerokosc, const MiaraTekstuUtf16& miara,
                std::vector<std::u16string_view>& wynik) {
    if (miara(linia) <= szerokosc) {
        wynik.push_back(linia);
        return;
    }
    // The line being filled is linia[poczatekLinii, koniecLinii): its words and the blanks between
    // them stand in the text as they are, so a line one word longer is a longer part of `linia`.
    constexpr std::size_t Brak = std::u16string_view::npos;
    std::size_t poczatekLinii = Brak;
    std::size_t koniecLinii = 0;
    std::size_t poczatekSlowa = 0;
    for (;;) {
        const std::size_t koniecSlowa = std::min(linia.find(u' ', poczatekSlowa), linia.size());
        if (poczatekLinii != Brak &&
            miara(linia.substr(poczatekLinii, koniecSlowa - poczatekLinii)) <= szerokosc) {
            koniecLinii = koniecSlowa;
        } else {
            if (poczatekLinii != Brak)
                wynik.push_back(linia.substr(poczatekLinii, koniecLinii - poczatekLinii));
            std::u16string_view slowo = linia.substr(poczatekSlowa, koniecSlowa - poczatekSlowa);
            while (slowo.size() > 1 && miara(slowo) > szerokosc) {
                const std::size_t dlugosc = DlugoscMieszczaca(slowo, szerokosc, miara);
                if (dlugosc >= slowo.size()) break;  // one character wider than the width
                wynik.push_back(slowo.substr(0, dlugosc));
                slowo.remove_prefix(dlugosc);
            }
            // The rest of the word begins the next line.
            poczatekLinii = koniecSlowa - slowo.size();
            koniecLinii = koniecSlowa;
        }
        if (koniecSlowa == linia.size()) break;
        poczatekSlowa = koniecSlowa + 1;
    }
    wynik.push_back(linia.substr(poczatekLinii, koniecLinii - poczatekLinii));
}

}  // namespace

std::vector<std::u16string_view> ZawinTekst(std::u16string_view tekst, int szerokosc,
                                            const MiaraTekstuUtf16& miara) {
    std::vector<std::u16string_view> wynik;
    std::size_t poczatek = 0;
    for (;;) {
        const std::size_t koniec = tekst.find_first_of(u"\r\n", poczatek);
        ZawinLinie(tekst.substr(poczatek, koniec - poczatek), szerokosc, miara, wynik);
        if (koniec == std::u16string_view::npos) return wynik;
        poczatek = koniec + 1;
        if (tekst[koniec] == u'\r' && poczatek < tekst.size() && tekst[poczatek] == u'\n')
            ++poczatek;
    }
}

}  // namespace zuv
