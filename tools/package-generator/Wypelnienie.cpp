#include "Wypelnienie.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <string_view>

#include "Kodowanie1250.h"
#include "PisarzPakietu.h"

namespace generator {

namespace {

constexpr long NajkrotszyWiersz = 2;  // an empty line still has its CR LF

// Complete statements on the declared variables, so that any sequence of them is valid.
constexpr std::array<std::string_view, 14> Instrukcje = {
    "SET @licznik = @licznik + 1",
    "IF @licznik > 1000000 SET @licznik = 0",
    "SET @kwota_robocza = ISNULL(@kwota_robocza, 0) + 0.01",
    "SELECT @kwota_robocza = ROUND(@kwota_robocza, 2), @licznik = @licznik + 2",
    "SELECT @opis_roboczy = 'Pozycja ' + CONVERT(VARCHAR(10), @licznik)",
    "SET @opis_roboczy = LEFT(ISNULL(@opis_roboczy, '') + ' – korekta', 255)",
    "IF @kwota_robocza < 0 SELECT @kwota_robocza = 0, @opis_roboczy = 'Wartość ujemna wyzerowana'",
    "SET @data_robocza = DATEADD(day, 1, ISNULL(@data_robocza, '20000101'))",
    "IF @data_robocza > '20991231' SET @data_robocza = '20000101'",
    "SET @kwota_robocza = @kwota_robocza + CASE WHEN @licznik % 2 = 0 THEN 1 ELSE -1 END",
    "SELECT @opis_roboczy = 'Przeliczenie środka nr ' + CONVERT(VARCHAR(10), @licznik)",
    "IF @opis_roboczy IS NULL SET @opis_roboczy = 'Brak opisu pozycji'",
    "SET @licznik = @licznik % 97",
    "SELECT @data_robocza = ISNULL(@data_robocza, GETDATE())",
};

// Comments that follow a statement or stand on their own line.
constexpr std::array<std::string_view, 12> Komentarze = {
    "korekta",
    "bez zmian",
    "licznik pomocniczy",
    "stan na koniec okresu",
    "wartość netto środka",
    "odpis miesięczny – zaokrąglenie",
    "zgodnie z planem amortyzacji",
    "dla środków przyjętych w trakcie roku",
    "po zmianie stawki amortyzacji w trakcie roku obrotowego",
    "uwzględnia odpisy zaksięgowane przed zamknięciem miesiąca",
    "korekty z dokumentów OT, LT i PT wprowadzone po zamknięciu okresu",
    "zgodnie z polityką rachunkowości i ustawą o podatku dochodowym od osób prawnych",
};

constexpr std::string_view Deklaracja =
    "  DECLARE @licznik INT, @kwota_robocza MONEY, @opis_roboczy VARCHAR(255), @data_robocza "
    "DATETIME";

struct Zasoby {
    std::array<std::string, Instrukcje.size()> instrukcje;
    std::array<std::string, Komentarze.size()> komentarze;
    std::string ciagly;  // all comments in a row, for the one line cut to an exact length
    std::string deklaracja;
    Zasoby() {
        for (std::size_t i = 0; i < Instrukcje.size(); ++i) instrukcje[i] = NaCp1250(Instrukcje[i]);
        for (std::size_t i = 0; i < Komentarze.size(); ++i) {
            komentarze[i] = NaCp1250(Komentarze[i]);
            ciagly += komentarze[i] + "; ";
        }
        deklaracja = NaCp1250(Deklaracja);
    }
};

const Zasoby& PobierzZasoby() {
    static const Zasoby zasoby;
    return zasoby;
}

// A line near `dlugosc` bytes: the first, in an order that turns with `numer`, of a few
// statements of the cycle alone or with a comment, then comment lines, that falls within a few
// bytes of it; when none does, the closest of them or an empty line. Every 28th line ends with a
// blank, as about one line in 28 of the real packages does.
void DopiszWiersz(std::string& wiersz, long dlugosc, std::size_t numer, const Zasoby& z) {
    constexpr long Tolerancja = 8;
    const std::string_view wciecie = numer % 241 == 5 ? "\t" : "  ";
    const long blank = numer % 28 == 0 ? 1 : 0;
    const std::string* instrukcja = nullptr;
    const std::string* komentarz = nullptr;
    long najlepsza = 0;  // the empty line
    bool znaleziona = false;
    auto rozwaz = [&](const std::string* i, const std::string* k) {
        if (znaleziona) return;
        long d = static_cast<long>(wciecie.size()) + blank;
        if (i) d += static_cast<long>(i->size());
        if (k) d += (i ? 4 : 3) + static_cast<long>(k->size());
        if (std::abs(d - dlugosc) < std::abs(najlepsza - dlugosc)) {
            najlepsza = d;
            instrukcja = i;
            komentarz = k;
        }
        znaleziona = std::abs(d - dlugosc) <= Tolerancja;
    };
    const std::size_t nI = z.instrukcje.size();
    const std::size_t nK = z.komentarze.size();
    for (std::size_t s = 0; s < 3; ++s) {
        const std::string* i = &z.instrukcje[(numer + s * 5) % nI];
        if ((numer + s) % 3 != 0) rozwaz(i, nullptr);
        for (std::size_t k = 0; k < nK; ++k) rozwaz(i, &z.komentarze[(numer + k) % nK]);
        rozwaz(i, nullptr);
    }
    for (std::size_t k = 0; k < nK; ++k) rozwaz(nullptr, &z.komentarze[(numer * 7 + k) % nK]);

    wiersz.clear();
    if (instrukcja == nullptr && komentarz == nullptr) return;
    wiersz = wciecie;
    if (instrukcja) wiersz += *instrukcja;
    if (komentarz) {
        wiersz += instrukcja ? " -- " : "-- ";
        wiersz += *komentarz;
    }
    if (blank) wiersz += ' ';
}

// A line of exactly `dlugosc` bytes: a comment cut to length, or blanks when too short.
void DopiszWierszDokladny(std::string& wiersz, std::size_t dlugosc, std::size_t numer,
                          const Zasoby& z) {
    wiersz.clear();
    if (dlugosc < 4) {
        wiersz.assign(dlugosc, ' ');
        return;
    }
    wiersz = "  --";
    std::size_t od = (numer * 37) % z.ciagly.size();
    while (wiersz.size() < dlugosc) {
        const std::size_t kawalek = std::min(dlugosc - wiersz.size(), z.ciagly.size() - od);
        wiersz.append(z.ciagly, od, kawalek);
        od = 0;
    }
}

}  // namespace

std::vector<Wypelnienie> RozdzielWypelnienie(Wypelnienie brakujace, std::size_t odbiorcy,
                                             std::size_t duze) {
    if (odbiorcy <= duze || brakujace.wiersze < 0 ||
        brakujace.bajty < brakujace.wiersze * NajkrotszyWiersz)
        throw std::logic_error("Nie da się rozdzielić wypełnienia pakietu");
    const double bajtyNaWiersz =
        static_cast<double>(brakujace.bajty) / static_cast<double>(brakujace.wiersze);
    std::vector<bool> czyDuzy(odbiorcy, false);
    for (std::size_t m = 0; m < duze; ++m) czyDuzy[(2 * m + 1) * odbiorcy / (2 * duze)] = true;

    std::vector<Wypelnienie> udzialy(odbiorcy);
    Wypelnienie reszta = brakujace;
    for (std::size_t i = 0, m = 0; i < odbiorcy; ++i) {
        if (!czyDuzy[i]) continue;
        const long bajty = 70000 + 1013 * static_cast<long>(m++);
        udzialy[i] = {static_cast<long>(static_cast<double>(bajty) / bajtyNaWiersz), bajty};
        reszta.wiersze -= udzialy[i].wiersze;
        reszta.bajty -= udzialy[i].bajty;
    }
    const long zwykli = static_cast<long>(odbiorcy - duze);
    for (std::size_t i = 0, n = 0; i < odbiorcy; ++i) {
        if (czyDuzy[i]) continue;
        const long numer = static_cast<long>(n++);
        udzialy[i] = {reszta.wiersze / zwykli + (numer < reszta.wiersze % zwykli ? 1 : 0),
                      reszta.bajty / zwykli + (numer < reszta.bajty % zwykli ? 1 : 0)};
        if (udzialy[i].bajty < udzialy[i].wiersze * NajkrotszyWiersz)
            throw std::logic_error("Nie da się rozdzielić wypełnienia pakietu");
    }
    return udzialy;
}

void PiszWypelnienie(PisarzPakietu& pisarz, Wypelnienie w, std::size_t ziarno) {
    if (w.wiersze <= 0) return;
    const Zasoby& z = PobierzZasoby();
    long wiersze = w.wiersze;
    long tresc = w.bajty - 2 * w.wiersze;  // bytes of the lines without their CR LF
    const auto deklaracja = static_cast<long>(z.deklaracja.size());
    // Without room for the declaration the filler is comments only.
    const bool instrukcje = wiersze > 1 && tresc >= deklaracja + 4 * (wiersze - 1);
    if (instrukcje) {
        pisarz.WierszCp1250(z.deklaracja);
        --wiersze;
        tresc -= deklaracja;
    }
    // Each line comes close to the mean of what is left; the last one is cut to the exact rest,
    // so the total is exact and the error never piles up.
    std::string wiersz;
    for (long j = 0; j < wiersze; ++j) {
        const long pozostale = wiersze - j;
        const std::size_t numer = ziarno + static_cast<std::size_t>(j);
        if (pozostale == 1 || !instrukcje) {
            const long dlugosc = pozostale == 1 ? tresc : std::min(tresc / pozostale, tresc);
            DopiszWierszDokladny(wiersz, static_cast<std::size_t>(dlugosc), numer, z);
        } else {
            // Some lines long, some short, as in code; the mean of what is left pulls back.
            constexpr std::array<long, 10> Odchylenia = {30, -10, 5, -15, 45, -20, 0, -12, 20, -8};
            DopiszWiersz(wiersz, tresc / pozostale + Odchylenia[numer % Odchylenia.size()], numer,
                         z);
            // Never take so much that the lines still to come would have to be negative.
            if (static_cast<long>(wiersz.size()) > tresc)
                DopiszWierszDokladny(wiersz, static_cast<std::size_t>(tresc), numer, z);
        }
        pisarz.WierszCp1250(wiersz);
        tresc -= static_cast<long>(wiersz.size());
    }
}

}  // namespace generator
