#include "app/wsadowa/OpcjeWsadowe.h"

#include <charconv>

#include "common/Tekst.h"

namespace zuv {

namespace {

int LiczbaRownoleglych(const std::string& tekst) {
    int liczba = 0;
    const auto [koniec, blad] = std::from_chars(tekst.data(), tekst.data() + tekst.size(), liczba);
    if (blad != std::errc() || koniec != tekst.data() + tekst.size() || liczba < 1 ||
        liczba > NajwiecejRownoleglych)
        throw EBladArgumentow(Formatuj("--rownolegle przyjmuje liczbę od 1 do %d, podano \"%s\".",
                                       {NajwiecejRownoleglych, tekst}));
    return liczba;
}

}  // namespace

OpcjeWsadowe ParsujOpcje(const std::vector<std::string>& argumenty) {
    OpcjeWsadowe opcje;
    // Options that take a value, and where it goes.
    const std::pair<const char*, std::string OpcjeWsadowe::*> zWartoscia[] = {
        {"--serwer", &OpcjeWsadowe::serwer},         {"--baza", &OpcjeWsadowe::baza},
        {"--uzytkownik", &OpcjeWsadowe::uzytkownik}, {"--plik-hasla", &OpcjeWsadowe::plikHasla},
        {"--lista", &OpcjeWsadowe::lista},           {"--plik-hasel", &OpcjeWsadowe::plikHasel},
        {"--raport", &OpcjeWsadowe::raport},         {"--do-wersji", &OpcjeWsadowe::doWersji},
    };
    const std::pair<const char*, bool OpcjeWsadowe::*> przelaczniki[] = {
        {"--tak", &OpcjeWsadowe::tak},
        {"--sprawdz", &OpcjeWsadowe::sprawdz},
        {"--cicho", &OpcjeWsadowe::cicho},
        {"--pomoc", &OpcjeWsadowe::pomoc},
        {"--help", &OpcjeWsadowe::pomoc},
        {"-h", &OpcjeWsadowe::pomoc},
        {"--version", &OpcjeWsadowe::wersjaProgramu},
    };
    std::vector<std::string> podane;
    for (std::size_t i = 0; i < argumenty.size(); ++i) {
        std::string nazwa = argumenty[i];
        std::optional<std::string> wartosc;
        if (const auto rownasie = nazwa.find('=');
            nazwa.rfind("--", 0) == 0 && rownasie != std::string::npos) {
            wartosc = nazwa.substr(rownasie + 1);
            nazwa.resize(rownasie);
        }
        bool znana = false;
        for (const auto& [opcja, pole] : przelaczniki) {
            if (nazwa != opcja) continue;
            if (wartosc)
                throw EBladArgumentow(Formatuj("Opcja %s nie przyjmuje wartości.", {nazwa}));
            opcje.*pole = true;
            znana = true;
        }
        const auto wezWartosc = [&]() -> std::string {
            if (wartosc) return *wartosc;
            if (i + 1 >= argumenty.size())
                throw EBladArgumentow(Formatuj("Opcja %s wymaga wartości.", {nazwa}));
            return argumenty[++i];
        };
        for (const auto& [opcja, pole] : zWartoscia) {
            if (nazwa != opcja) continue;
            for (const std::string& wczesniej : podane)
                if (wczesniej == nazwa)
                    throw EBladArgumentow(Formatuj("Opcja %s podana dwa razy.", {nazwa}));
            opcje.*pole = wezWartosc();
            if ((opcje.*pole).empty())
                throw EBladArgumentow(Formatuj("Opcja %s wymaga niepustej wartości.", {nazwa}));
            znana = true;
        }
        if (nazwa == "--rownolegle") {
            opcje.rownolegle = LiczbaRownoleglych(wezWartosc());
            znana = true;
        }
        if (nazwa == "--haslo")
            throw EBladArgumentow(
                "Hasła nie podaje się w wierszu polecenia (byłoby widoczne na liście procesów): "
                "użyj zmiennej ZUV_HASLO, --plik-hasla albo --plik-hasel.");
        if (!znana)
            throw EBladArgumentow(
                Formatuj("Nieznana opcja \"%s\". Opcje wypisuje --pomoc.", {argumenty[i]}));
        podane.push_back(nazwa);
    }
    if (opcje.pomoc || opcje.wersjaProgramu) return opcje;

    const bool jednaBaza =
        !opcje.serwer.empty() || !opcje.baza.empty() || !opcje.uzytkownik.empty();
    if (jednaBaza && !opcje.lista.empty())
        throw EBladArgumentow(
            "Podaj jedną bazę (--serwer, --baza, --uzytkownik) albo --lista, "
            "nie jedno i drugie.");
    if (opcje.lista.empty()) {
        for (const auto& [opcja, wartosc] :
             {std::pair{"--serwer", &opcje.serwer}, std::pair{"--baza", &opcje.baza},
              std::pair{"--uzytkownik", &opcje.uzytkownik}})
            if (wartosc->empty())
                throw EBladArgumentow(
                    Formatuj("Brak opcji %s. Podaj --serwer, --baza i --uzytkownik albo --lista.",
                             {std::string(opcja)}));
        if (!opcje.plikHasel.empty())
            throw EBladArgumentow(
                "--plik-hasel działa z --lista; dla jednej bazy użyj "
                "--plik-hasla albo zmiennej ZUV_HASLO.");
    } else {
        if (!opcje.plikHasla.empty())
            throw EBladArgumentow(
                "--plik-hasla działa dla jednej bazy; z --lista podaj "
                "--plik-hasel.");
        if (opcje.plikHasel.empty())
            throw EBladArgumentow("Z --lista podaj też --plik-hasel z hasłami baz listy.");
    }
    return opcje;
}

std::string TekstPomocy() {
    return "Zbiorcza aktualizacja systemu ZUV bez okna.\n"
           "\n"
           "Jedna baza:\n"
           "  aktualizacja-zuv-wsadowa --serwer S --baza B --uzytkownik U [--tak]\n"
           "    hasło: zmienna ZUV_HASLO, --plik-hasla PLIK (pierwszy wiersz) albo pytanie\n"
           "    na terminalu\n"
           "Wiele baz:\n"
           "  aktualizacja-zuv-wsadowa --lista PLIK --plik-hasel PLIK [--rownolegle N] [--tak]\n"
           "    lista: serwer;baza;uzytkownik w wierszu, # zaczyna komentarz\n"
           "    hasła: serwer;baza;uzytkownik;haslo w wierszu; plik niedostępny dla innych\n"
           "    pliki list i haseł w UTF-8 (znacznik BOM Notatnika jest pomijany)\n"
           "\n"
           "Opcje:\n"
           "  --tak             odpowiada Tak na pytanie o aktualizację\n"
           "  --sprawdz         tylko loguje się, odczytuje wersję i wypisuje pakiety do\n"
           "                    wykonania, ich rozmiar i liczbę operacji\n"
           "  --do-wersji V     wykonuje pakiety tylko do wersji V włącznie (V z katalogu\n"
           "                    programu, wyższa niż wersja bazy)\n"
           "  --rownolegle N    do N baz naraz (1-16, domyślnie 1)\n"
           "  --raport PLIK     raport JSON z wynikiem każdej bazy\n"
           "  --cicho           wypisuje tylko wynik\n"
           "  --pomoc, --help, -h\n"
           "                    ten opis\n"
           "  --version         wersja programu\n"
           "\n"
           "Wiersze wypisywane poza terminalem (do pliku, potoku, dziennika) zaczynają się\n"
           "od czasu lokalnego, np. 2026-12-11T02:00:05+01:00.\n"
           "\n"
           "Kod wyjścia (przy liście: najgorszy z baz):\n"
           "  0  zaktualizowano, albo nie było czego aktualizować\n"
           "  1  odmowa: wersja poza zakresem, wersja docelowa nieznana albo niższa niż\n"
           "     wersja bazy, odpowiedź Nie, baza aktualizowana z innej sesji\n"
           "  2  błąd pakietu (wycofany w całości; wcześniejsze pakiety zatwierdzone)\n"
           "  3  błąd logowania lub połączenia\n"
           "  4  złe argumenty, lista, plik haseł lub miejsce raportu (nic nie wykonano)\n"
           "  5  przerwano (Ctrl+C, SIGTERM)\n"
           "  6  --sprawdz: są pakiety do wykonania (żadna baza nie zwróciła kodu 1-5)\n";
}

}  // namespace zuv
