#include "app/wsadowa/ProgramWsadowy.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <optional>
#include <thread>

#include "app/usluga/PlanAktualizacji.h"
#include "app/wsadowa/ListaBaz.h"
#include "app/wsadowa/OpcjeWsadowe.h"
#include "app/wsadowa/PrzebiegBazy.h"
#include "app/wsadowa/Raport.h"
#include "app/wsadowa/Wydruk.h"
#include "app/wsadowa/platforma/Konsola.h"
#include "app/wsadowa/platforma/Terminal.h"
#include "common/PrzydzialPamieci.h"
#include "common/Tekst.h"
#include "common/WersjaProgramu.h"

namespace zuv {

namespace {

// How often the status lines are redrawn and a stop is looked for.
constexpr auto OdstepTykniecia = std::chrono::milliseconds(100);

// The databases of the run: the list's, or the one of the command line with its password.
std::vector<BazaDoAktualizacji> BazyPrzebiegu(const OpcjeWsadowe& opcje) {
    if (!opcje.lista.empty()) return WczytajListeBaz(opcje.lista, opcje.plikHasel);
    BazaDoAktualizacji baza{opcje.serwer, opcje.baza, opcje.uzytkownik, {}};
    if (!opcje.plikHasla.empty()) {
        baza.haslo = WczytajHasloZPliku(opcje.plikHasla);
    } else if (const char* zmienna = std::getenv("ZUV_HASLO"); zmienna != nullptr) {
        baza.haslo = zmienna;
    } else if (WejscieZTerminala()) {
        const auto haslo = CzytajZTerminala(
            "Hasło użytkownika " + baza.uzytkownik + " na serwerze " + baza.serwer + ": ", true);
        if (!haslo) throw EBladArgumentow("Nie podano hasła.");
        baza.haslo = *haslo;
    } else {
        throw EBladArgumentow(
            "Brak hasła: podaj je w zmiennej ZUV_HASLO albo w pliku (--plik-hasla); bez terminala "
            "program nie może o nie zapytać.");
    }
    return {baza};
}

// A refusal before any database, on standard error as the run's own failures go.
void BladPrzedPrzebiegiem(const std::string& tekst) {
    const std::string linia = "Błąd: " + tekst + "\n";
    WypiszTekst(stderr, NaTerminal(stderr) ? linia : ZCzasem(linia));
}

}  // namespace

int UruchomProgramWsadowy(const std::vector<std::string>& argumenty) {
    const auto poczatek = std::chrono::system_clock::now();
    UstawPrzydzialPamieci();
    const bool terminal = PrzygotujKonsole();
    OpcjeWsadowe opcje;
    std::vector<BazaDoAktualizacji> bazy;
    // Nothing to do was asked: how to ask, where a script's error goes.
    if (argumenty.empty()) {
        WypiszTekst(stderr, TekstPomocy());
        return KodWyjscia::BladArgumentow;
    }
    try {
        opcje = ParsujOpcje(argumenty);
        if (opcje.pomoc) {
            WypiszTekst(stdout, TekstPomocy());
            return KodWyjscia::Zaktualizowana;
        }
        if (opcje.wersjaProgramu) {
            WypiszTekst(stdout, std::string("aktualizacja-zuv-wsadowa ") + WersjaProgramu + "\n");
            return KodWyjscia::Zaktualizowana;
        }
        // A target the program has no package for is refused before anything is asked or sent.
        if (!opcje.doWersji.empty() && !WersjaWKatalogu(KatalogProgramu(), opcje.doWersji)) {
            const std::vector<std::string> katalog = KatalogProgramu();
            BladPrzedPrzebiegiem(
                Formatuj("Wersji %s nie ma wśród pakietów programu (od %s do %s); "
                         "podaj w --do-wersji jedną z nich.",
                         {opcje.doWersji, katalog.front(), katalog.back()}));
            return KodWyjscia::Odmowa;
        }
        // Before the password is asked for and before any database: a report that cannot be
        // written is known only at the end, with the night's results lost.
        if (!opcje.raport.empty()) SprawdzMiejsceRaportu(opcje.raport);
        bazy = BazyPrzebiegu(opcje);
    } catch (const EBladArgumentow& e) {
        BladPrzedPrzebiegiem(e.what());
        return KodWyjscia::BladArgumentow;
    }

    Wydruk wydruk(terminal, opcje.cicho, SzerokoscTerminala(), !NaTerminal(stdout),
                  !NaTerminal(stderr));
    UstawieniaBazy ustawienia;
    ustawienia.sprawdz = opcje.sprawdz;
    ustawienia.doWersji = opcje.doWersji;
    // Several databases at once cannot share one person's keyboard.
    ustawienia.odpowiedz = opcje.tak              ? OdpowiedzNaPytanie::Tak
                           : !WejscieZTerminala() ? OdpowiedzNaPytanie::Nie
                           : opcje.rownolegle > 1 ? OdpowiedzNaPytanie::NieNaraz
                                                  : OdpowiedzNaPytanie::ZTerminala;
    ustawienia.sciezkaDziennika = SciezkaDziennika();
    const bool lista = !opcje.lista.empty();

    std::vector<std::unique_ptr<PrzebiegBazy>> przebiegi;
    for (std::size_t i = 0; i < bazy.size(); ++i)
        przebiegi.push_back(std::make_unique<PrzebiegBazy>(
            bazy[i], i, lista ? "[" + bazy[i].serwer + "/" + bazy[i].baza + "] " : std::string(),
            ustawienia, wydruk));
    bazy.clear();  // the passwords stay only with the runs that use them

    Dziennik dziennik(ustawienia.sciezkaDziennika);
    dziennik.Zapisz("start-programu",
                    {{"program", "wsadowa"}, {"bazy", std::to_string(przebiegi.size())}});
    PrzechwytujZatrzymanie();

    // Each thread takes the next database not yet taken; a failure of one never stops the others.
    std::atomic<std::size_t> nastepna = 0;
    std::atomic<std::size_t> dzialajace = 0;
    const std::size_t watki =
        std::min<std::size_t>(static_cast<std::size_t>(opcje.rownolegle), przebiegi.size());
    std::vector<std::thread> watkiBaz;
    dzialajace = watki;
    for (std::size_t w = 0; w < watki; ++w)
        watkiBaz.emplace_back([&] {
            for (std::size_t i; (i = nastepna++) < przebiegi.size();) {
                if (ZatrzymanieZadane()) continue;  // stays "nie rozpoczęta"
                przebiegi[i]->Wykonaj();
            }
            --dzialajace;
        });

    // The table, the journal's last line, its failures and the report, for the results as they
    // stand; gives the exit code, the worst of all databases.
    const auto Podsumuj = [&](const std::vector<WynikBazy>& wynikiBaz) {
        std::vector<const WynikBazy*> wyniki;
        for (const WynikBazy& wynik : wynikiBaz) wyniki.push_back(&wynik);
        const int kod = ZbiorczyKodWyjscia(wyniki);
        if (lista || opcje.cicho) {
            std::string tabela = TabelaWynikow(wyniki);
            if (!tabela.empty() && tabela.back() == '\n') tabela.pop_back();
            wydruk.Wynik(tabela);
        }
        dziennik.Zapisz("koniec-programu", {{"program", "wsadowa"}, {"kod", std::to_string(kod)}});

        // Every database's journal and the program's own write the same file and mostly fail
        // alike: each reason is told once.
        DziennikRaportu stanDziennika{ustawienia.sciezkaDziennika, {}};
        const auto dodajBlad = [&](const std::optional<std::string>& blad) {
            if (blad && std::find(stanDziennika.bledy.begin(), stanDziennika.bledy.end(), *blad) ==
                            stanDziennika.bledy.end())
                stanDziennika.bledy.push_back(*blad);
        };
        dodajBlad(dziennik.BladZapisu());
        for (const auto& przebieg : przebiegi) dodajBlad(przebieg->BladDziennika());
        for (const std::string& blad : stanDziennika.bledy) wydruk.Blad("Ostrzeżenie: " + blad);

        if (!opcje.raport.empty()) {
            try {
                const PrzebiegProgramu program{poczatek, std::chrono::system_clock::now(),
                                               opcje.doWersji, opcje.sprawdz, kod};
                ZapiszRaport(opcje.raport, RaportJson(wyniki, program, stanDziennika));
            } catch (const std::exception& e) {
                // The databases have run: the exit code stays theirs, 4 would say nothing ran.
                wydruk.Blad(std::string("Błąd: ") + e.what() +
                            " Bazy zostały przetworzone; kod wyjścia podaje ich wynik.");
            }
        }
        return kod;
    };

    bool przerywanie = false;
    while (dzialajace > 0) {
        std::this_thread::sleep_for(OdstepTykniecia);
        if (ZatrzymanieZadane() && !przerywanie) {
            przerywanie = true;
            wydruk.Blad(
                "Przerywanie: bieżące pakiety są wycofywane w całości, następne bazy nie "
                "zostaną rozpoczęte; serwer, który nie odpowie w ciągu 10 s, zostanie rozłączony. "
                "Ponowne Ctrl+C kończy program od razu.");
            dziennik.Zapisz("przerwanie-zadane");
        }
        std::optional<std::string> bezOdpowiedzi;
        for (const auto& przebieg : przebiegi) {
            if (przerywanie) przebieg->Przerwij();
            if (auto tekst = przebieg->Tyknij(); tekst && !bezOdpowiedzi) bezOdpowiedzi = tekst;
        }
        wydruk.Odswiez();
        // A stop the server leaves unanswered would keep the program waiting without end: it
        // ends instead, which ends every session it has open, after its report and journal.
        if (bezOdpowiedzi) {
            std::vector<WynikBazy> porzucone;
            for (const auto& przebieg : przebiegi)
                porzucone.push_back(przebieg->WynikPorzucony(*bezOdpowiedzi));
            dziennik.Zapisz("koniec-programu-wymuszony");
            const int kod = Podsumuj(porzucone);
            std::fflush(stdout);
            std::fflush(stderr);
            std::_Exit(kod);
        }
    }
    for (std::thread& watek : watkiBaz) watek.join();

    std::vector<WynikBazy> wynikiBaz;
    for (const auto& przebieg : przebiegi) wynikiBaz.push_back(przebieg->Wynik());
    return Podsumuj(wynikiBaz);
}

}  // namespace zuv
