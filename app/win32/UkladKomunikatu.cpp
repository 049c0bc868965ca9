#include "app/win32/UkladKomunikatu.h"

#include <algorithm>
#include <string>

#include "app/okno/ZawijanieTekstu.h"

namespace zuv {

namespace {

// Lengths of the design at 96 dots per inch.
constexpr int Margines = 11;
constexpr int RozmiarIkony = 32;
constexpr int OdstepIkony = 10;
constexpr int SzerokoscPrzycisku = 75;
constexpr int WysokoscPrzycisku = 25;
constexpr int OdstepPrzyciskow = 6;
// Room that the control showing the text keeps beyond its lines, so that it never breaks a line
// that the measure says fits.
constexpr int Zapas = 3;

static_assert(sizeof(wchar_t) == sizeof(char16_t), "the wide texts of Windows are UTF-16");

// The shared word wrapping over the window's wide text and its measure.
std::vector<std::wstring> LinieTekstu(std::wstring_view tekst, int szerokosc,
                                      const MiaraTekstu& miara) {
    const std::u16string utf16(tekst.begin(), tekst.end());
    const std::vector<std::u16string_view> linie =
        ZawinTekst(utf16, szerokosc, [&miara](std::u16string_view odcinek) {
            return miara(std::wstring(odcinek.begin(), odcinek.end()));
        });
    std::vector<std::wstring> wynik;
    wynik.reserve(linie.size());
    for (const std::u16string_view linia : linie) wynik.emplace_back(linia.begin(), linia.end());
    return wynik;
}

// The widest text the box may hold without its scroll bar.
int NajwiekszaSzerokoscTekstu(const WarunkiKomunikatu& w) {
    const int ikona = w.ikona ? Skaluj(RozmiarIkony + OdstepIkony, w.dpi) : 0;
    const int najwiekszeOkno = w.obszarRoboczy.szerokosc * 3 / 4;
    return std::max(najwiekszeOkno - w.ramkaX - 2 * Skaluj(Margines, w.dpi) - ikona -
                        w.szerokoscPaska - Skaluj(Zapas, w.dpi),
                    Skaluj(SzerokoscPrzycisku, w.dpi));
}

}  // namespace

PrzyciskiKomunikatu Przyciski(int styl) {
    if ((styl & 0x0F) != StylKomunikatu::TakNie) return {{{OdpowiedzKomunikatu::Ok, L"OK"}}};
    PrzyciskiKomunikatu wynik{
        {{OdpowiedzKomunikatu::Tak, L"Tak"}, {OdpowiedzKomunikatu::Nie, L"Nie"}},
        OdpowiedzKomunikatu::Tak,
        OdpowiedzKomunikatu::Nie};
    if ((styl & StylKomunikatu::DrugiDomyslny) != 0) wynik.domyslny = OdpowiedzKomunikatu::Nie;
    return wynik;
}

UkladKomunikatu UlozKomunikat(std::wstring_view tekst, const MiaraTekstu& miara,
                              const WarunkiKomunikatu& warunki) {
    std::vector<std::wstring> linie = LinieTekstu(tekst, NajwiekszaSzerokoscTekstu(warunki), miara);
    int najszersza = 0;
    for (const std::wstring& linia : linie) najszersza = std::max(najszersza, miara(linia));
    UkladKomunikatu uklad = UlozKomunikat(najszersza + Skaluj(Zapas, warunki.dpi),
                                          static_cast<int>(linie.size()), warunki);
    uklad.linie = std::move(linie);
    return uklad;
}

UkladKomunikatu UlozKomunikat(int szerokoscZawijania, int liczbaLinii, const WarunkiKomunikatu& w) {
    UkladKomunikatu uklad;
    uklad.szerokoscZawijania = szerokoscZawijania;
    const int margines = Skaluj(Margines, w.dpi);
    const int ikona = w.ikona ? Skaluj(RozmiarIkony, w.dpi) : 0;
    const int szerokoscPrzycisku = Skaluj(SzerokoscPrzycisku, w.dpi);
    const int wysokoscPrzycisku = Skaluj(WysokoscPrzycisku, w.dpi);
    const int odstepPrzyciskow = Skaluj(OdstepPrzyciskow, w.dpi);
    const int przyciski = w.liczbaPrzyciskow * szerokoscPrzycisku +
                          std::max(w.liczbaPrzyciskow - 1, 0) * odstepPrzyciskow;

    // Heights: the text and the icon side by side, the buttons below.
    const int najwyzszyTekst = std::max(
        w.obszarRoboczy.wysokosc - w.ramkaY - 3 * margines - wysokoscPrzycisku, w.wysokoscLinii);
    int wysokoscTekstu = std::max(liczbaLinii, 1) * w.wysokoscLinii;
    int szerokoscTekstu = szerokoscZawijania;
    if (wysokoscTekstu > najwyzszyTekst) {
        uklad.przewijanie = true;
        wysokoscTekstu = najwyzszyTekst / w.wysokoscLinii * w.wysokoscLinii;
        szerokoscTekstu += w.szerokoscPaska;
    }
    const int lewyTekstu = margines + (w.ikona ? ikona + Skaluj(OdstepIkony, w.dpi) : 0);
    const int tresc = std::max(wysokoscTekstu, ikona);
    const int klientX = std::max(lewyTekstu + szerokoscTekstu + margines, przyciski + 2 * margines);
    const int klientY = 3 * margines + tresc + wysokoscPrzycisku;

    uklad.tekst = {lewyTekstu, margines + (tresc - wysokoscTekstu) / 2, szerokoscTekstu,
                   wysokoscTekstu};
    // The icon at the top, as in the system's box; a text lower than the icon centred beside it.
    if (w.ikona) uklad.ikona = {margines, margines, ikona, ikona};
    int x = (klientX - przyciski) / 2;
    for (int i = 0; i < w.liczbaPrzyciskow; ++i) {
        uklad.przyciski.push_back(
            {x, klientY - margines - wysokoscPrzycisku, szerokoscPrzycisku, wysokoscPrzycisku});
        x += szerokoscPrzycisku + odstepPrzyciskow;
    }

    // Centred on the owner, then moved inside the work area (the box is never larger than it).
    const Prostokat& obszar = w.obszarRoboczy;
    const int szerokosc = std::min(klientX + w.ramkaX, obszar.szerokosc);
    const int wysokosc = std::min(klientY + w.ramkaY, obszar.wysokosc);
    const int srodekX = w.wlasciciel.x + (w.wlasciciel.szerokosc - szerokosc) / 2;
    const int srodekY = w.wlasciciel.y + (w.wlasciciel.wysokosc - wysokosc) / 2;
    uklad.okno = {std::clamp(srodekX, obszar.x, obszar.x + obszar.szerokosc - szerokosc),
                  std::clamp(srodekY, obszar.y, obszar.y + obszar.wysokosc - wysokosc), szerokosc,
                  wysokosc};
    return uklad;
}

}  // namespace zuv
