#include "packages/PrzetwarzanieSTR.h"

#include <algorithm>

#include "common/Tekst.h"
#include "common/Wyjatki.h"
#include "db/DBUzytkiST.h"
#include "packages/KontrolkaPostepu.h"
#include "versions/ObslugaWersji.h"

namespace {

// The first target version whose packages may need a newer server than the 2000 generation.
constexpr std::string_view PierwszaWersjaZGeneracja = "8.11.0.0";
constexpr std::int32_t GeneracjaDomyslna = 2000;
constexpr std::string_view ZnacznikGeneracji = "-- $MIN_SQL_";

char WielkaLitera(char znak) {
    return znak >= 'a' && znak <= 'z' ? static_cast<char>(znak - 'a' + 'A') : znak;
}

// The package counts as empty when its lines joined with CR LF trim (bytes 0 to 32) to nothing.
// That holds exactly when every byte of every line is 0 to 32, so the test looks at the lines in
// place and stops at the first other byte instead of joining ten million bytes for it.
bool TylkoBiale(const ListaLinii& linie) {
    for (const std::string_view linia : linie) {
        if (!Przytnij(linia).empty()) return false;
    }
    return true;
}

void Pokaz(KontrolkaPostepu* kontrolka, const std::string& tekst) {
    if (kontrolka == nullptr) return;
    kontrolka->UstawTekst(tekst);
    kontrolka->OdswiezTeraz();
}

[[noreturn]] void ZglosBladPartii(const EOleException& blad, KontrolkaPostepu* kontrolka,
                                  std::string_view wersja, std::int32_t numer) {
    if (kontrolka != nullptr && kontrolka->Widoczna()) {
        kontrolka->UstawTekst(
            Formatuj("Aktualizacja bazy do wersji %s przerwana z powodu błędu.", {wersja}));
        kontrolka->UstawKolor(TPrzetwarzanieSTR::KolorBledu);
    }
    throw EOleException(
        Formatuj("Błąd aktualizacji bazy do wersji %s podczas wykonywania operacji %d:\r\n%s",
                 {wersja, numer, blad.Komunikat()}),
        blad.Kod(), blad.Zrodlo(), blad.PlikPomocy(), blad.KontekstPomocy());
}

}  // namespace

bool JestSeparatorem(std::string_view linia) noexcept {
    const std::string_view slowo = Przytnij(linia);
    return slowo.size() == 2 && WielkaLitera(slowo[0]) == 'G' && WielkaLitera(slowo[1]) == 'O';
}

std::int32_t LiczbaSeparatorow(const ListaLinii& linie) noexcept {
    std::int32_t liczba = 0;
    for (const std::string_view linia : linie) liczba += JestSeparatorem(linia) ? 1 : 0;
    return liczba;
}

bool ZamienZnacznikSzyfrowania(std::string& partia) {
    // The marker is compared in capitals. Its letters are ASCII, and upper-casing in code page
    // 1250 maps no other byte onto an ASCII letter and keeps every byte in place, so folding a to
    // z alone finds the same first occurrence. Its first four characters ("-- '") have no case,
    // so an exact search for them finds every candidate.
    const std::string_view poczatekZnacznika = ZnacznikSzyfrowania.substr(0, 4);
    const std::string_view tekst = partia;
    for (std::size_t pozycja = tekst.find(poczatekZnacznika); pozycja != std::string_view::npos;
         pozycja = tekst.find(poczatekZnacznika, pozycja + 1)) {
        const std::string_view kandydat = tekst.substr(pozycja, ZnacznikSzyfrowania.size());
        if (std::ranges::equal(kandydat, ZnacznikSzyfrowania,
                               [](char a, char b) { return WielkaLitera(a) == b; })) {
            partia.replace(pozycja, ZnacznikSzyfrowania.size(), KlauzulaSzyfrowania);
            return true;
        }
    }
    return false;
}

bool TPrzetwarzanieSTR::SpelniaMinSQL(std::int32_t wersjaSerwera, std::string_view partia) {
    const std::size_t pozycja = partia.find(ZnacznikGeneracji);
    if (pozycja == std::string_view::npos) return true;
    return wersjaSerwera >= TekstNaInt(partia.substr(pozycja + ZnacznikGeneracji.size(), 4));
}

bool TPrzetwarzanieSTR::WykonajSkrypt(Polaczenie* polaczenie, const ListaLinii& linie,
                                      bool zamienZnacznik, KontrolkaPostepu* kontrolka,
                                      std::string_view wersja) {
    const std::int32_t wersjaSerwera = WersjaWiekszaLubRowna(wersja, PierwszaWersjaZGeneracja)
                                           ? TDBUzytkiST::OdczytajWersjeSerwera(polaczenie)
                                           : GeneracjaDomyslna;
    if (TylkoBiale(linie)) return false;

    Pokaz(kontrolka, "Aktualizacja bazy danych: przygotowanie aktualizacji...");
    const std::int32_t liczbaOperacji = LiczbaSeparatorow(linie);
    const std::string przedrostekPostepu = std::string(wersja) + " - Aktualizacja bazy danych: ";

    RozpocznijTransakcje(polaczenie);
    try {
        PodzielNaPartie(linie, [&](std::string& partia, std::int32_t numer) {
            Pokaz(kontrolka, przedrostekPostepu + Formatuj("wykonywanie operacji %d z %d...",
                                                           {numer, liczbaOperacji}));
            if (zamienZnacznik) ZamienZnacznikSzyfrowania(partia);
            if (!SpelniaMinSQL(wersjaSerwera, partia)) return;
            try {
                WykonajSQL(polaczenie, partia, LimitCzasuPartii);
            } catch (const EOleException& blad) {
                ZglosBladPartii(blad, kontrolka, wersja, numer);
            }
        });
        ZatwierdzTransakcje(polaczenie);
    } catch (...) {
        // Whatever failed, nothing of the package may stay; an error of the roll-back itself
        // leaves this handler in place of the first one.
        WycofajTransakcje(polaczenie);
        throw;
    }
    return true;
}
