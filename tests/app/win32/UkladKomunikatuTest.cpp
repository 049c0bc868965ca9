// The message box's layout: that its text, wrapped by the shared rule through the window's wide
// texts, is shown whole, and where the box lies, for the densities and screen widths the program
// meets, over a measure of known widths.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/win32/UkladKomunikatu.h"

using namespace zuv;

namespace {

// Every character 6 design pixels wide, a blank 3, "W" and "Ź" 9: a proportional font's widths
// scaled to the density.
MiaraTekstu Miara(int dpi) {
    return [dpi](std::wstring_view tekst) {
        int szerokosc = 0;
        for (const wchar_t znak : tekst)
            szerokosc += znak == L' ' ? 3 : (znak == L'W' || znak == L'Ź') ? 9 : 6;
        return Skaluj(szerokosc, dpi);
    };
}

// The text without blanks and line ends: what wrapping may not lose or add.
std::wstring Znaki(std::wstring_view tekst) {
    std::wstring wynik;
    for (const wchar_t znak : tekst)
        if (znak != L' ' && znak != L'\r' && znak != L'\n') wynik += znak;
    return wynik;
}

std::wstring Polaczone(const std::vector<std::wstring>& linie) {
    std::wstring wynik;
    for (const std::wstring& linia : linie) wynik += linia;
    return wynik;
}

const std::wstring Krotki = L"Zakończono aktualizację.";

std::wstring DlugiBlad() {
    std::wstring tekst =
        L"Błąd aktualizacji bazy do wersji 9.2.0.1 podczas wykonywania operacji 5:\r\n";
    for (int i = 0; i < 5; ++i)
        tekst += L"Wartość księgowa środka trwałego przekracza granicę ustaloną dla grupy. ";
    tekst += L"Odrzucony wiersz: ";
    for (int i = 0; i < 20; ++i) tekst += L"ŹDŹBŁOŻÓŁĆ";
    return tekst + L". Popraw dane i ponów.";
}

std::wstring WieleLinii() {
    std::wstring tekst;
    for (int i = 1; i <= 90; ++i)
        tekst += L"Msg 50000, Level 16, State 1, Line " + std::to_wstring(i) + L"\r\n";
    return tekst;
}

bool Wewnatrz(const Prostokat& p, const Prostokat& obszar) {
    return p.x >= obszar.x && p.y >= obszar.y && p.x + p.szerokosc <= obszar.x + obszar.szerokosc &&
           p.y + p.wysokosc <= obszar.y + obszar.wysokosc;
}

}  // namespace

TEST(UkladKomunikatu, ButtonsInPolishWithTheStylesDefault) {
    using namespace StylKomunikatu;
    namespace o = OdpowiedzKomunikatu;
    const std::vector<PrzyciskKomunikatu> ok{{o::Ok, L"OK"}};
    const std::vector<PrzyciskKomunikatu> takNie{{o::Tak, L"Tak"}, {o::Nie, L"Nie"}};
    const struct {
        int styl;
        std::vector<PrzyciskKomunikatu> przyciski;
        int domyslny, naEscape;
    } przypadki[] = {
        {Ok | IkonaStop, ok, o::Ok, o::Ok},
        {Ok | IkonaInformacja, ok, o::Ok, o::Ok},
        {TakNie | IkonaWykrzyknik, takNie, o::Tak, o::Nie},
        {TakNie | IkonaWykrzyknik | DrugiDomyslny, takNie, o::Nie, o::Nie},
    };
    for (const auto& p : przypadki) {
        SCOPED_TRACE(p.styl);
        const PrzyciskiKomunikatu przyciski = Przyciski(p.styl);
        EXPECT_EQ(przyciski.przyciski, p.przyciski);
        EXPECT_EQ(przyciski.domyslny, p.domyslny);
        EXPECT_EQ(przyciski.naEscape, p.naEscape);
    }
}

TEST(UkladKomunikatu, EveryBoxShowsItsWholeTextInsideTheWorkArea) {
    const struct {
        const char* nazwa;
        std::wstring tekst;
    } teksty[] = {{"short", Krotki}, {"600 characters", DlugiBlad()}, {"90 lines", WieleLinii()}};
    const struct {
        int szerokosc, wysokosc;
    } ekrany[] = {{1024, 768}, {1280, 1024}, {1920, 1080}, {3840, 2160}};
    for (const int dpi : {96, 120, 144, 192}) {
        for (const auto& ekran : ekrany) {
            for (const auto& t : teksty) {
                SCOPED_TRACE(std::to_string(dpi) + " DPI, " + std::to_string(ekran.szerokosc) +
                             " px, " + t.nazwa);
                WarunkiKomunikatu w;
                // A taskbar at the bottom; the main window in the work area's middle.
                w.obszarRoboczy = {0, 0, ekran.szerokosc, ekran.wysokosc - Skaluj(40, dpi)};
                w.wlasciciel = {ekran.szerokosc / 2 - Skaluj(325, dpi),
                                w.obszarRoboczy.wysokosc / 2 - Skaluj(275, dpi), Skaluj(650, dpi),
                                Skaluj(550, dpi)};
                w.dpi = dpi;
                w.wysokoscLinii = Skaluj(13, dpi);
                w.szerokoscPaska = Skaluj(17, dpi);
                w.ramkaX = Skaluj(6, dpi);
                w.ramkaY = Skaluj(29, dpi);
                w.liczbaPrzyciskow = 2;
                w.ikona = true;
                const MiaraTekstu miara = Miara(dpi);
                const UkladKomunikatu u = UlozKomunikat(t.tekst, miara, w);

                EXPECT_TRUE(Wewnatrz(u.okno, w.obszarRoboczy));
                // Nothing lost or added, no line wider than the text's place.
                EXPECT_EQ(Znaki(Polaczone(u.linie)), Znaki(t.tekst));
                const int szerokoscTekstu =
                    u.tekst.szerokosc - (u.przewijanie ? w.szerokoscPaska : 0);
                for (const std::wstring& linia : u.linie) EXPECT_LE(miara(linia), szerokoscTekstu);
                // Every line in view, or a scroll bar beside the text.
                const int potrzebna = static_cast<int>(u.linie.size()) * w.wysokoscLinii;
                EXPECT_EQ(u.przewijanie, potrzebna > u.tekst.wysokosc);
                EXPECT_GE(u.tekst.wysokosc, std::min(potrzebna, 10 * w.wysokoscLinii));
                // The text, the icon and the buttons inside the client area, not overlapping.
                const Prostokat klient{0, 0, u.okno.szerokosc - w.ramkaX,
                                       u.okno.wysokosc - w.ramkaY};
                EXPECT_TRUE(Wewnatrz(u.tekst, klient));
                EXPECT_TRUE(Wewnatrz(u.ikona, klient));
                ASSERT_EQ(u.przyciski.size(), 2u);
                for (const Prostokat& przycisk : u.przyciski) {
                    EXPECT_TRUE(Wewnatrz(przycisk, klient));
                    EXPECT_GE(przycisk.y, u.tekst.y + u.tekst.wysokosc);
                }
                // Centred on the main window where the box fits beside it.
                if (u.okno.szerokosc <= w.wlasciciel.szerokosc) {
                    EXPECT_LE(std::abs((2 * u.okno.x + u.okno.szerokosc) -
                                       (2 * w.wlasciciel.x + w.wlasciciel.szerokosc)),
                              2);
                }
            }
        }
    }
}

TEST(UkladKomunikatu, AShortTextKeepsASmallBoxAndALongOneWraps) {
    WarunkiKomunikatu w;
    w.obszarRoboczy = {0, 0, 1280, 984};
    w.wlasciciel = {322, 124, 650, 550};
    w.ikona = true;
    const MiaraTekstu miara = Miara(96);

    const UkladKomunikatu krotki = UlozKomunikat(Krotki, miara, w);
    EXPECT_EQ(krotki.linie, std::vector<std::wstring>{Krotki});
    EXPECT_LT(krotki.okno.szerokosc, 400);
    EXPECT_FALSE(krotki.przewijanie);
    // Centred on the main window.
    EXPECT_LE(std::abs((2 * krotki.okno.x + krotki.okno.szerokosc) - (2 * 322 + 650)), 1);
    EXPECT_LE(std::abs((2 * krotki.okno.y + krotki.okno.wysokosc) - (2 * 124 + 550)), 1);

    // The long error: no wider than three quarters of the screen, its text no taller than it
    // needs (the box of the system left it 60% empty).
    const UkladKomunikatu dlugi = UlozKomunikat(DlugiBlad(), miara, w);
    EXPECT_LE(dlugi.okno.szerokosc, 1280 * 3 / 4);
    EXPECT_GT(dlugi.linie.size(), 4u);
    EXPECT_EQ(dlugi.tekst.wysokosc, static_cast<int>(dlugi.linie.size()) * w.wysokoscLinii);

    // A main window in the bottom right corner: the box is moved inside the work area.
    w.wlasciciel = {1000, 800, 650, 550};
    const UkladKomunikatu wRogu = UlozKomunikat(DlugiBlad(), miara, w);
    EXPECT_EQ(wRogu.okno.x + wRogu.okno.szerokosc, 1280);
    EXPECT_EQ(wRogu.okno.y + wRogu.okno.wysokosc, 984);
}
