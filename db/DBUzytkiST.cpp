#include "db/DBUzytkiST.h"

#include "common/Linie.h"
#include "common/Tekst.h"
#include "common/Wyjatki.h"
#include "db/Polaczenie.h"

namespace zuv {

namespace {

// The line numbers are those under which these checks have always been reported.
void WymagajPolaczenia(const Polaczenie* polaczenie, int linia) {
    if (polaczenie == nullptr) throw EAssertionFailed("Assertion failure", "DBUzytkiST", linia);
}

// The operations without an assertion of their own still refuse a missing connection rather
// than reach through it.
void WymagajPolaczenia(const Polaczenie* polaczenie) {
    if (polaczenie == nullptr) throw EDatabaseError("Brak połączenia z bazą danych.");
}

}  // namespace

std::int32_t TDBUzytkiST::OdczytajWersjeSerwera(Polaczenie* polaczenie) {
    WymagajPolaczenia(polaczenie);
    const WynikZapytania wynik = polaczenie->WykonajZRekordami("SELECT dbo.fn_WERSJA_MS_SQL()");
    if (wynik.liczbaRekordow == 0 || !wynik.pierwszePole)
        throw EDatabaseError("Cannot perform this operation on an empty dataset");

    const WartoscPola& wartosc = *wynik.pierwszePole;
    std::int64_t liczba = 0;
    if (std::holds_alternative<std::monostate>(wartosc)) {
        throw EVariantTypeCastError(
            Formatuj("Could not convert variant of type (%s) into type (%s)", {"Null", "Integer"}));
    } else if (const auto* calkowita = std::get_if<std::int64_t>(&wartosc)) {
        liczba = *calkowita;
    } else {
        // The function is declared INT; a text that still arrives is converted as text.
        liczba = TekstNaInt(std::get<std::string>(wartosc));
    }
    if (liczba < 2000) throw EDatabaseError("Błąd odczytu wersji serwera MS SQL.");
    if (liczba > INT32_MAX)
        throw EVariantTypeCastError(Formatuj(
            "Could not convert variant of type (%s) into type (%s)", {"Int64", "Integer"}));
    return static_cast<std::int32_t>(liczba);
}

void WykonajSQL(Polaczenie* polaczenie, std::string_view polecenie, std::int32_t limitCzasuSekund) {
    WymagajPolaczenia(polaczenie);
    // A text in that form already goes as it is, without a copy.
    if (MaLinieCrLf(polecenie)) {
        polaczenie->WykonajBezRekordow(polecenie, limitCzasuSekund);
        return;
    }
    const std::string tekst = ZLiniamiCrLf(polecenie);
    if (tekst.empty()) throw EDatabaseError(Formatuj("Missing %s property", {"SQL"}));
    polaczenie->WykonajBezRekordow(tekst, limitCzasuSekund);
}

void WykonajSQLWLiniachCrLf(Polaczenie* polaczenie, std::string_view polecenie,
                            std::int32_t limitCzasuSekund) {
    WymagajPolaczenia(polaczenie);
    if (polecenie.empty()) throw EDatabaseError(Formatuj("Missing %s property", {"SQL"}));
    polaczenie->WykonajBezRekordow(polecenie, limitCzasuSekund);
}

void SprawdzTransakcje(Polaczenie* polaczenie) {
    WymagajPolaczenia(polaczenie);
    if (polaczenie->PoziomTransakcji() <= 0) throw EDatabaseError("Nie rozpoczęto transakcji.");
}

void RozpocznijTransakcje(Polaczenie* polaczenie) {
    WymagajPolaczenia(polaczenie, 2016);
    if (polaczenie->PoziomTransakcji() > 0) throw EDatabaseError("Transakcja jest już rozpoczęta.");
    polaczenie->BeginTrans();
}

void ZatwierdzTransakcje(Polaczenie* polaczenie) {
    WymagajPolaczenia(polaczenie, 2024);
    SprawdzTransakcje(polaczenie);
    polaczenie->CommitTrans();
}

void WycofajTransakcje(Polaczenie* polaczenie) {
    WymagajPolaczenia(polaczenie, 2031);
    SprawdzTransakcje(polaczenie);
    polaczenie->RollbackTrans();
}

}  // namespace zuv
