// dbo.fn_WERSJA_MS_SQL(): the server generation the runner asks for before it starts a package
// (2000, 2005, ...; 0 for a server the definition does not know). Each package re-creates it,
// so the runner always gets the definition the previous package left.

#include "SekcjeObiektow.h"

namespace generator {

namespace {

constexpr std::string_view Naglowek = R"(CREATE FUNCTION dbo.fn_WERSJA_MS_SQL ()
RETURNS INT
{SZYFROWANIE}
AS
BEGIN
)";

// 8.1.0.0 to 8.8.0.0: the first two characters of the product version.
constexpr std::string_view PierwszeDwaZnaki =
    R"(  -- Generacja serwera z wersji produktu: 8.x to MS SQL 2000, 9.x to MS SQL 2005.
  DECLARE @wersja VARCHAR(128)

  SET @wersja = CONVERT(VARCHAR(128), SERVERPROPERTY('ProductVersion'))

  RETURN CASE LEFT(@wersja, 2) WHEN '8.' THEN 2000 WHEN '9.' THEN 2005 ELSE 0 END
END)";

// From 8.9.0.9 on: the digits before the first dot, taken from the first three characters.
constexpr std::string_view NumerGlowny =
    R"(  -- Generacja serwera z numeru głównego wersji produktu (cyfry przed pierwszą kropką).
  -- {UWAGA}
  DECLARE @wersja VARCHAR(128), @glowna VARCHAR(3)

  SET @wersja = CONVERT(VARCHAR(128), SERVERPROPERTY('ProductVersion'))
  SET @glowna = LEFT(@wersja, 3)
  IF CHARINDEX('.', @glowna) > 0
    SET @glowna = LEFT(@glowna, CHARINDEX('.', @glowna) - 1)

  RETURN CASE @glowna {PRZYPADKI} ELSE 0 END
END)";

}  // namespace

ObiektBazy FunkcjaWersjiSerwera(int wariant) {
    ObiektBazy o;
    o.rodzaj = RodzajObiektu::FunkcjaSkalarna;
    o.nazwa = "fn_WERSJA_MS_SQL";
    o.definicja = std::string(Naglowek);
    if (wariant == 1) {
        o.definicja += PierwszeDwaZnaki;
    } else if (wariant == 2) {
        o.definicja +=
            Podstaw(NumerGlowny,
                    {{"UWAGA", "Serwer MS SQL 2008 (10.x) działa tu jak MS SQL 2005."},
                     {"PRZYPADKI", "WHEN '8' THEN 2000 WHEN '9' THEN 2005 WHEN '10' THEN 2005"}});
    } else {
        o.definicja += Podstaw(
            NumerGlowny,
            {{"UWAGA", "MS SQL 2000, 2005, 2008 i 2012; nowszych serwerów funkcja nie zna."},
             {"PRZYPADKI",
              "WHEN '8' THEN 2000 WHEN '9' THEN 2005 WHEN '10' THEN 2008 WHEN '11' THEN 2012"}});
    }
    return o;
}

}  // namespace generator
