#include "packages/PrzetwarzanieSTR.h"

#include <exception>
#include <string>

#include "common/Tekst.h"
#include "common/Wyjatki.h"
#include "db/DBUzytkiST.h"
#include "db/Polaczenie.h"
#include "db/UtrataPolaczenia.h"
#include "packages/KontrolkaPostepu.h"
#include "versions/ObslugaWersji.h"

namespace zuv {

EBladPartii::EBladPartii(const EOleException& blad, std::string_view wersja, std::int32_t operacja)
    : EOleException(
          Formatuj("Błąd aktualizacji bazy do wersji %s podczas wykonywania operacji %d:\r\n%s",
                   {wersja, operacja, blad.Komunikat()}),
          blad.Kod(), blad.Zrodlo(), blad.PlikPomocy(), blad.KontekstPomocy(), blad.StanSQL()),
      wersja_(wersja),
      operacja_(operacja),
      tekstSerwera_(blad.Komunikat()) {}

EBladPartii::EBladPartii(std::string_view komunikat, const EBladPartii& wzor)
    : EOleException(komunikat, wzor.Kod(), wzor.Zrodlo(), wzor.PlikPomocy(), wzor.KontekstPomocy(),
                    wzor.StanSQL()),
      wersja_(wzor.wersja_),
      operacja_(wzor.operacja_),
      tekstSerwera_(wzor.tekstSerwera_) {}

EBladPartii EBladPartii::ZDopiskiem(const std::string& dopisek) const {
    return EBladPartii(Komunikat() + "\r\n" + dopisek, *this);
}

namespace {

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

void PokazPrzerwanie(KontrolkaPostepu* kontrolka, std::string_view wersja) {
    if (kontrolka != nullptr && kontrolka->Widoczna()) {
        kontrolka->UstawTekst(
            Formatuj("Aktualizacja bazy do wersji %s przerwana z powodu błędu.", {wersja}));
        kontrolka->UstawKolor(TPrzetwarzanieSTR::KolorBledu);
    }
}

[[noreturn]] void ZglosBladPartii(const EOleException& blad, KontrolkaPostepu* kontrolka,
                                  std::string_view wersja, std::int32_t numer) {
    PokazPrzerwanie(kontrolka, wersja);
    throw EBladPartii(blad, wersja, numer);
}

// Runs a step of the package; a lost connection in it is raised again placed at `krok`.
template <typename Funkcja>
auto WKroku(KrokUtraty krok, std::string_view wersja, Funkcja&& funkcja) {
    try {
        return funkcja();
    } catch (const EUtrataPolaczenia& utrata) {
        throw utrata.WKroku(krok, std::string(wersja));
    }
}

// `blad` raised again, of its own kind, with `dopisek` after a line break.
[[noreturn]] void ZglosZDopiskiem(const std::exception_ptr& blad, const std::string& dopisek) {
    try {
        std::rethrow_exception(blad);
    } catch (const EBladPartii& e) {
        throw e.ZDopiskiem(dopisek);
    } catch (const EOleException& e) {
        throw EOleException(e.Komunikat() + "\r\n" + dopisek, e.Kod(), e.Zrodlo(), e.PlikPomocy(),
                            e.KontekstPomocy(), e.StanSQL());
    } catch (const EDatabaseError& e) {
        throw EDatabaseError(e.Komunikat() + "\r\n" + dopisek, e.KontekstPomocy());
    } catch (const EConvertError& e) {
        throw EConvertError(e.Komunikat() + "\r\n" + dopisek, e.KontekstPomocy());
    } catch (const Exception& e) {
        throw Exception(e.Komunikat() + "\r\n" + dopisek, e.KontekstPomocy());
    } catch (const std::exception& e) {
        throw Exception(std::string(e.what()) + "\r\n" + dopisek);
    }
}

// Rolls the package back while `blad` is handled. `blad` stays the error raised: a roll back that
// fails adds its own error's text, and one after which the session is gone says so.
void WycofajPoBledzie(Polaczenie* polaczenie, std::string_view wersja,
                      const std::exception_ptr& blad) {
    std::string dopisek;
    const bool otwarte = polaczenie->Otwarte();
    try {
        WycofajTransakcje(polaczenie);
        if (otwarte && !polaczenie->Otwarte())
            dopisek = OpisUtraty(KrokUtraty::Wycofanie, std::string(wersja));
    } catch (const std::exception& wycofanie) {
        dopisek = wycofanie.what();
    }
    if (!dopisek.empty()) ZglosZDopiskiem(blad, dopisek);
}

}  // namespace

bool TPrzetwarzanieSTR::WykonajSkrypt(Polaczenie* polaczenie, const ListaLinii& linie,
                                      bool zamienZnacznik, KontrolkaPostepu* kontrolka,
                                      std::string_view wersja) {
    const std::int32_t wersjaSerwera =
        WersjaWiekszaLubRowna(wersja, PierwszaWersjaZGeneracja)
            ? WKroku(KrokUtraty::OdczytGeneracji, wersja,
                     [&] { return TDBUzytkiST::OdczytajWersjeSerwera(polaczenie); })
            : GeneracjaDomyslna;
    if (TylkoBiale(linie)) return false;

    Pokaz(kontrolka, "Aktualizacja bazy danych: przygotowanie aktualizacji...");
    const std::int32_t liczbaOperacji = LiczbaSeparatorow(linie);
    const std::string przedrostekPostepu = std::string(wersja) + " - Aktualizacja bazy danych: ";

    WKroku(KrokUtraty::Rozpoczecie, wersja, [&] { RozpocznijTransakcje(polaczenie); });
    try {
        PodzielNaPartie(linie, [&](std::string& partia, std::int32_t numer) {
            Pokaz(kontrolka, przedrostekPostepu + Formatuj("wykonywanie operacji %d z %d...",
                                                           {numer, liczbaOperacji}));
            if (zamienZnacznik) ZamienZnacznikSzyfrowania(partia);
            if (!SpelniaMinSQL(wersjaSerwera, partia)) return;
            // Its last line ended too, the batch is as WykonajSQL would send it: cut from whole
            // lines, it has no other break and no NUL. An empty batch stays empty.
            if (!partia.empty() && !partia.ends_with("\r\n")) partia += "\r\n";
            try {
                WykonajSQLWLiniachCrLf(polaczenie, partia, LimitCzasuPartii);
            } catch (const EUtrataPolaczenia& utrata) {
                PokazPrzerwanie(kontrolka, wersja);
                throw utrata.WKroku(KrokUtraty::Partia, std::string(wersja), numer);
            } catch (const EOleException& blad) {
                ZglosBladPartii(blad, kontrolka, wersja, numer);
            }
        });
        if (kontrolka != nullptr) kontrolka->Zatwierdzanie();
        try {
            ZatwierdzTransakcje(polaczenie);
        } catch (const EUtrataPolaczenia& utrata) {
            // The connection tells a loss at the commit from one after the server confirmed it.
            throw utrata.WKroku(utrata.Krok() == KrokUtraty::PoZatwierdzeniu
                                    ? KrokUtraty::PoZatwierdzeniu
                                    : KrokUtraty::Zatwierdzenie,
                                std::string(wersja));
        }
    } catch (...) {
        // Whatever failed, nothing of the package may stay. A transaction no longer counted went
        // with its session (the connection lost): the server rolled it back already.
        if (polaczenie->PoziomTransakcji() > 0)
            WycofajPoBledzie(polaczenie, wersja, std::current_exception());
        throw;
    }
    return true;
}

}  // namespace zuv
