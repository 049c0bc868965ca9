#include "app/usluga/KontrolaBazy.h"

#include <cstdio>
#include <ctime>

#include "common/Tekst.h"
#include "db/UtrataPolaczenia.h"

namespace zuv {

namespace {

// The server's error number for a function it does not know: SQL Server 2000 and
// HAS_PERMS_BY_NAME.
constexpr std::int32_t NieznanaFunkcja = 195;

std::string Tekst(const WartoscPola& pole) {
    if (const auto* tekst = std::get_if<std::string>(&pole)) return *tekst;
    if (const auto* liczba = std::get_if<std::int64_t>(&pole)) return std::to_string(*liczba);
    return {};
}

std::optional<std::int64_t> Liczba(const WartoscPola& pole) {
    if (const auto* liczba = std::get_if<std::int64_t>(&pole)) return *liczba;
    return std::nullopt;
}

// A query's failure for the journal: what was not checked, and the server's own words.
std::string Niesprawdzone(const char* co, const EOleException& blad) {
    std::string tekst = Formatuj("Nie sprawdzono %s: %s", {co, blad.Komunikat()});
    if (!tekst.empty() && tekst.back() != '.') tekst += '.';
    return tekst;
}

// Runs one check; a query the server refuses leaves it undone and said, a lost connection goes on.
template <typename Funkcja>
void Sprawdz(KontrolaBazy& kontrola, const char* co, Funkcja&& funkcja) {
    try {
        funkcja();
    } catch (const EUtrataPolaczenia&) {
        throw;
    } catch (const EOleException& blad) {
        kontrola.niesprawdzone.push_back(Niesprawdzone(co, blad));
    }
}

// "2026-12-10 22:00:00.000" read as this computer's local time; nothing when it does not read.
std::optional<std::chrono::system_clock::time_point> CzasSerwera(const std::string& tekst) {
    std::tm czas{};
    if (std::sscanf(tekst.c_str(), "%d-%d-%d %d:%d:%d", &czas.tm_year, &czas.tm_mon, &czas.tm_mday,
                    &czas.tm_hour, &czas.tm_min, &czas.tm_sec) != 6)
        return std::nullopt;
    czas.tm_year -= 1900;
    czas.tm_mon -= 1;
    czas.tm_isdst = -1;
    const std::time_t t = std::mktime(&czas);
    if (t == static_cast<std::time_t>(-1)) return std::nullopt;
    return std::chrono::system_clock::from_time_t(t);
}

}  // namespace

std::string CzasBezczynnosci(std::int64_t sekundy) {
    if (sekundy < 0) sekundy = 0;
    if (sekundy < 60) return std::to_string(sekundy) + " s";
    const std::int64_t minuty = sekundy / 60;
    if (minuty < 60) return std::to_string(minuty) + " min";
    return std::to_string(minuty / 60) + " h " + std::to_string(minuty % 60) + " min";
}

KontrolaBazy SprawdzBaze(Polaczenie& polaczenie, std::chrono::system_clock::time_point teraz) {
    namespace z = zapytania_kontroli;
    KontrolaBazy kontrola;

    bool widac = true;
    try {
        const WynikZapytania wynik = polaczenie.WykonajZRekordami(z::WidokSerwera);
        widac = wynik.pierwszePole && Liczba(*wynik.pierwszePole).value_or(0) == 1;
        if (!widac)
            kontrola.niesprawdzone.push_back(
                "Nie sprawdzono innych sesji w bazie: login nie ma uprawnienia VIEW SERVER STATE, "
                "więc serwer pokazuje mu tylko jego własną sesję.");
    } catch (const EUtrataPolaczenia&) {
        throw;
    } catch (const EOleException& blad) {
        // SQL Server 2000 knows no such right: there every login sees every process.
        if (blad.Kod() != NieznanaFunkcja) {
            widac = false;
            kontrola.niesprawdzone.push_back(Niesprawdzone("innych sesji w bazie", blad));
        }
    }
    if (widac)
        Sprawdz(kontrola, "innych sesji w bazie", [&] {
            std::vector<InnaSesja> sesje;
            for (const auto& wiersz : polaczenie.WykonajZRekordami(z::Sesje).wiersze) {
                if (wiersz.size() < 5) continue;
                sesje.push_back({Liczba(wiersz[0]).value_or(0), Tekst(wiersz[1]), Tekst(wiersz[2]),
                                 Tekst(wiersz[3]), Liczba(wiersz[4]).value_or(0)});
            }
            kontrola.sesje = std::move(sesje);
        });

    Sprawdz(kontrola, "praw loginu do bazy", [&] {
        const WynikZapytania wynik = polaczenie.WykonajZRekordami(z::Prawa);
        if (wynik.wiersze.empty() || wynik.wiersze.front().size() < 2) return;
        const auto& wiersz = wynik.wiersze.front();
        kontrola.prawaWlasciciela =
            Liczba(wiersz[0]).value_or(0) == 1 || Liczba(wiersz[1]).value_or(0) == 1;
    });

    Sprawdz(kontrola, "ostatniej kopii zapasowej bazy", [&] {
        const WynikZapytania wynik = polaczenie.WykonajZRekordami(z::OstatniaKopia);
        const std::string koniec = wynik.pierwszePole ? Tekst(*wynik.pierwszePole) : std::string();
        kontrola.ostatniaKopia = koniec;
        if (koniec.empty()) return;
        const auto chwila = CzasSerwera(koniec);
        kontrola.kopiaStara = !chwila || teraz - *chwila > std::chrono::hours(24);
    });
    return kontrola;
}

std::vector<std::string> KontrolaBazy::Ostrzezenia(const std::string& baza,
                                                   const std::string& login) const {
    std::vector<std::string> teksty;
    if (sesje && !sesje->empty()) {
        std::string lista;
        for (const InnaSesja& sesja : *sesje) {
            if (!lista.empty()) lista += ", ";
            lista += sesja.login.empty() ? std::string("?") : sesja.login;
            std::string opis = sesja.komputer;
            if (!sesja.program.empty()) opis += (opis.empty() ? "" : ", ") + sesja.program;
            if (!opis.empty()) opis += ", ";
            lista += " (" + opis + "bezczynna " + CzasBezczynnosci(sesja.bezczynnaSekund) + ")";
        }
        teksty.push_back(Formatuj(
            "W bazie pracują inne sesje (%d): %s; aktualizacja może czekać na ich blokady.",
            {static_cast<std::int64_t>(sesje->size()), lista}));
    }
    if (ostatniaKopia && ostatniaKopia->empty())
        teksty.push_back(
            Formatuj("Serwer nie ma zapisu żadnej pełnej kopii zapasowej bazy %s; "
                     "przed aktualizacją wykonaj kopię bazy.",
                     {baza}));
    else if (ostatniaKopia && kopiaStara)
        teksty.push_back(
            Formatuj("Ostatnia pełna kopia zapasowa bazy %s pochodzi z %s, sprzed "
                     "ponad 24 godzin; przed aktualizacją wykonaj kopię bazy.",
                     {baza, ostatniaKopia->substr(0, 16)}));
    if (prawaWlasciciela && !*prawaWlasciciela)
        teksty.push_back(Formatuj(
            "Login %s nie jest właścicielem bazy %s ani członkiem jej roli db_owner lub roli "
            "sysadmin, a pakiety tworzą i zmieniają obiekty bazy; aktualizacja może się nie "
            "powieść w trakcie pakietu (zostanie wtedy wycofana w całości).",
            {login, baza}));
    return teksty;
}

}  // namespace zuv
