#include "Wypelnienie.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <string>
#include <string_view>

#include "Kodowanie1250.h"
#include "PisarzPakietu.h"

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

constexpr std::string_view Komentarz =
    "przeliczenie wartości bieżącej środka po zmianie stawki amortyzacji w trakcie roku "
    "obrotowego uwzględnia odpisy już zaksięgowane oraz korekty z dokumentów OT i LT "
    "wprowadzone po zamknięciu miesiąca – zgodnie z zasadami przyjętymi w polityce "
    "rachunkowości firmy i ustawą o podatku dochodowym od osób prawnych ";

constexpr std::string_view Deklaracja =
    "  DECLARE @licznik INT, @kwota_robocza MONEY, @opis_roboczy VARCHAR(255), @data_robocza DATETIME";

struct Zasoby {
  std::array<std::string, Instrukcje.size()> instrukcje;
  std::string komentarz;
  std::string deklaracja;
  std::size_t najkrotsza = 0;
  Zasoby() {
    for (std::size_t i = 0; i < Instrukcje.size(); ++i) instrukcje[i] = NaCp1250(Instrukcje[i]);
    komentarz = NaCp1250(Komentarz);
    komentarz += komentarz;  // room for any comment length a line may need
    deklaracja = NaCp1250(Deklaracja);
    najkrotsza = instrukcje[0].size();
    for (const auto& s : instrukcje) najkrotsza = std::min(najkrotsza, s.size());
  }
};

const Zasoby& PobierzZasoby() {
  static const Zasoby zasoby;
  return zasoby;
}

// Appends `ile` bytes of the comment text, from a place that depends on `numer`.
void DopiszKomentarz(std::string& wiersz, std::size_t ile, std::size_t numer, const Zasoby& z) {
  const std::size_t okres = z.komentarz.size() / 2;
  std::size_t od = (numer * 37) % okres;
  while (ile > 0) {
    const std::size_t kawalek = std::min(ile, z.komentarz.size() - od);
    wiersz.append(z.komentarz, od, kawalek);
    ile -= kawalek;
    od = 0;
  }
}

// One line of exactly `dlugosc` bytes (line end not counted). Without the declaration of the
// variables (`instrukcje` false) the line is a comment.
void DopiszWiersz(std::string& wiersz, std::size_t dlugosc, std::size_t numer, bool instrukcje,
                  const Zasoby& z) {
  wiersz.clear();
  if (dlugosc == 0) return;
  const std::string_view wciecie = numer % 173 == 5 ? "\t" : "  ";
  if (!instrukcje || dlugosc < wciecie.size() + z.najkrotsza) {
    // Too short for a statement: a comment line, or blanks.
    if (dlugosc >= 3) {
      wiersz = "--";
      DopiszKomentarz(wiersz, dlugosc - 3, numer, z);
      wiersz += '-';
    } else {
      wiersz.assign(dlugosc, ' ');
    }
    return;
  }
  // The statement of this line, or the next one that fits.
  std::size_t wybor = numer % z.instrukcje.size();
  while (wciecie.size() + z.instrukcje[wybor].size() > dlugosc)
    wybor = (wybor + 1) % z.instrukcje.size();
  wiersz = wciecie;
  wiersz += z.instrukcje[wybor];
  std::size_t reszta = dlugosc - wiersz.size();
  if (reszta >= 5) {
    wiersz += " -- ";
    DopiszKomentarz(wiersz, reszta - 4, numer, z);
    // Every 28th line keeps a trailing blank, as in the real packages; the others end in text.
    if (wiersz.back() == ' ' && numer % 28 != 0) wiersz.back() = '.';
    if (numer % 28 == 0) wiersz.back() = ' ';
  } else {
    wiersz.append(reszta, ' ');
  }
}

}  // namespace

std::vector<Wypelnienie> RozdzielWypelnienie(Wypelnienie brakujace, std::size_t odbiorcy,
                                             std::size_t duze) {
  if (odbiorcy <= duze || brakujace.wiersze < 0 || brakujace.bajty < brakujace.wiersze * NajkrotszyWiersz)
    throw std::logic_error("Nie da się rozdzielić wypełnienia pakietu");
  const double bajtyNaWiersz = static_cast<double>(brakujace.bajty) / static_cast<double>(brakujace.wiersze);
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
  const bool instrukcje = tresc >= deklaracja;
  if (instrukcje) {
    pisarz.WierszCp1250(z.deklaracja);
    --wiersze;
    tresc -= deklaracja;
  }
  // Lengths vary around the mean in pairs that cancel out, so the total stays exact.
  constexpr std::array<long, 6> Odchylenia = {9, 4, 14, 1, 7, 11};
  std::string wiersz;
  for (long j = 0; j < wiersze; ++j) {
    const long pozostale = wiersze - j;
    long dlugosc = tresc / pozostale;
    if (pozostale > 1) {
      const long odchylenie = std::min(Odchylenia[static_cast<std::size_t>(j / 2) % Odchylenia.size()], dlugosc);
      dlugosc += (j % 2 == 0) ? odchylenie : -odchylenie;
      dlugosc = std::clamp(dlugosc, 0L, tresc);
    } else {
      dlugosc = tresc;
    }
    DopiszWiersz(wiersz, static_cast<std::size_t>(dlugosc), ziarno + static_cast<std::size_t>(j),
                 instrukcje, z);
    pisarz.WierszCp1250(wiersz);
    tresc -= dlugosc;
  }
}
