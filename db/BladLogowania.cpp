#include "db/BladLogowania.h"

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <string>

#include "common/Ascii.h"

namespace zuv {

namespace {

// FreeTDS numbers its own messages from 20000 on; a server's errors lie below. Each was seen on
// the wire against a server that does what the comment says, except 20004 and 20006, FreeTDS's
// read and write failures, which end a log-in as 20017 does. FreeTDS's own log-in time-out
// (20003) reaches ODBC only as SQLSTATE HYT00 with native number 0.
constexpr std::int32_t FreeTdsPolaczenieNieudane = 20002;  // "Adaptive Server connection failed"
constexpr std::int32_t FreeTdsOdczytNieudany = 20004;      // "Read from the server failed"
constexpr std::int32_t FreeTdsZapisNieudany = 20006;       // "Write to the server failed"
// "Unable to connect: Adaptive Server is unavailable or does not exist": the connection refused,
// and also a named instance the SQL Server Browser does not know.
constexpr std::int32_t FreeTdsBrakSerwera = 20009;
constexpr std::int32_t FreeTdsNazwaWKonfiguracji = 20012;  // "Server name not found in
                                                           // configuration files"
constexpr std::int32_t FreeTdsNieznanyKomputer = 20013;    // "Unknown host machine name"
constexpr std::int32_t FreeTdsKoniecStrumienia = 20017;    // "Unexpected EOF from the server"

// Microsoft's drivers give the Windows Sockets error of their TCP provider as the native number.
constexpr std::int32_t WinsockNieznanyKomputer = 11001;  // WSAHOST_NOT_FOUND
constexpr std::int32_t WinsockBrakAdresu = 11004;        // WSANO_DATA
constexpr std::int32_t WinsockOdmowaPolaczenia = 10061;  // WSAECONNREFUSED
constexpr std::int32_t WinsockBrakOdzewu = 10060;        // WSAETIMEDOUT: nothing answers there
constexpr std::int32_t WinsockReset = 10054;             // WSAECONNRESET
constexpr std::int32_t WinsockPrzerwane = 10053;         // WSAECONNABORTED
// With SQLSTATE 08001: "SQL Server does not exist or access denied" of the driver that comes with
// Windows, and "Error Locating Server/Instance Specified" of the later ones.
constexpr std::int32_t MicrosoftBrakSerwera = 17;
constexpr std::int32_t MicrosoftBrakInstancji = -1;

// The server's own errors. 18456 is what a SQL Server tells a client for a wrong user or password
// and for a disabled login alike (the reason goes to its error log only); the others are the
// reasons that older servers and some configurations send: a disabled, locked-out or expired
// login.
constexpr std::int32_t SerwerOdmowaLogowania[] = {18456, 18470, 18486, 18487, 18488};
// "Cannot open database requested by the login" (sent before 18456) and "Cannot open user
// default database".
constexpr std::int32_t SerwerNiedostepnaBaza[] = {4060, 4064};

constexpr const char* OpisSzyfrowania =
    "Sterownik ODBC i serwer nie uzgodniły szyfrowania połączenia: serwer wymaga szyfrowania, "
    "którego sterownik nie nawiązał, albo nie powiodło się nawiązanie połączenia TLS. Sprawdź, "
    "czy sterownik obsługuje szyfrowanie TLS w wersji, którą przyjmuje serwer, i ustawienia "
    "szyfrowania serwera (wymuszenie szyfrowania, certyfikat).";

bool MaKod(const std::vector<RekordDiagnostyki>& rekordy, std::initializer_list<std::int32_t> kody,
           std::string_view stanSQL = {}) {
    return std::any_of(rekordy.begin(), rekordy.end(), [&](const RekordDiagnostyki& r) {
        return std::find(kody.begin(), kody.end(), r.kod) != kody.end() &&
               (stanSQL.empty() || r.stanSQL == stanSQL);
    });
}

template <std::size_t N>
bool MaKod(const std::vector<RekordDiagnostyki>& rekordy, const std::int32_t (&kody)[N]) {
    return std::any_of(rekordy.begin(), rekordy.end(), [&](const RekordDiagnostyki& r) {
        return std::find(std::begin(kody), std::end(kody), r.kod) != std::end(kody);
    });
}

bool MaStan(const std::vector<RekordDiagnostyki>& rekordy, std::string_view stanSQL) {
    return std::any_of(rekordy.begin(), rekordy.end(),
                       [&](const RekordDiagnostyki& r) { return r.stanSQL == stanSQL; });
}

// Microsoft's drivers tell a failed TLS handshake by text alone, their native numbers varying
// with the provider that failed: a connection error (SQLSTATE 08xxx) naming SSL, TLS, encryption
// or the certificate.
bool SzyfrowanieWTekscie(const std::vector<RekordDiagnostyki>& rekordy) {
    for (const auto& rekord : rekordy) {
        if (rekord.stanSQL.rfind("08", 0) != 0) continue;
        for (const std::string_view slowo :
             {"ssl", "tls", "encrypt", "certificate", "szyfrow", "certyfikat"})
            if (ZawieraBezWielkosciLiter(rekord.tekst, slowo)) return true;
    }
    return false;
}

std::string Opis(PrzyczynaLogowania przyczyna, OdpowiedzPreLogin preLogin) {
    switch (przyczyna) {
        case PrzyczynaLogowania::NieznanySerwer:
            return "Nie znaleziono w sieci serwera o podanej nazwie; sprawdź pisownię nazwy albo "
                   "wpisz adres IP serwera.";
        case PrzyczynaLogowania::BrakSerwera:
            return "Pod podanym adresem i portem nie odpowiada żaden SQL Server albo nie ma tam "
                   "podanej instancji; sprawdź, czy usługa SQL Server działa i przyjmuje "
                   "połączenia TCP/IP, czy port i nazwa instancji są poprawne (instancję "
                   "nazwaną wskazuje usługa SQL Server Browser) i czy zapora sieciowa nie "
                   "blokuje połączenia.";
        case PrzyczynaLogowania::BrakOdpowiedzi:
            return "Serwer nie odpowiedział na logowanie w wyznaczonym czasie; sprawdź, czy "
                   "serwer nie jest przeciążony i czy połączenie sieciowe z nim działa, a potem "
                   "spróbuj ponownie.";
        case PrzyczynaLogowania::Odmowa:
            return "Serwer odmówił zalogowania; sprawdź nazwę użytkownika i hasło, czy login nie "
                   "jest wyłączony ani zablokowany i czy serwer dopuszcza logowanie kontami SQL "
                   "Server.";
        case PrzyczynaLogowania::NiedostepnaBaza:
            return "Serwer nie otworzył podanej bazy danych: nie ma jej na serwerze albo ten "
                   "login nie ma do niej dostępu; sprawdź nazwę bazy, czy baza jest dostępna i "
                   "czy login ma w niej użytkownika.";
        case PrzyczynaLogowania::Szyfrowanie:
            return OpisSzyfrowania;
        case PrzyczynaLogowania::ZamknietePolaczenie:
            // The server's encryption settings matter only where TLS may be part of the log-in:
            // a server with a certificate it cannot use closes the connection at the handshake.
            if (preLogin == OdpowiedzPreLogin::BezSzyfrowania)
                return "Serwer zamknął połączenie w trakcie logowania; sprawdź dziennik błędów "
                       "serwera i limit połączeń serwera.";
            return "Serwer zamknął połączenie w trakcie logowania; sprawdź dziennik błędów "
                   "serwera, limit połączeń serwera i ustawienia szyfrowania po stronie serwera "
                   "(wymuszenie szyfrowania, certyfikat).";
        case PrzyczynaLogowania::ZamknieteLubSzyfrowanie:
            return "Połączenie z serwerem zostało zamknięte w trakcie logowania: serwer je zamknął "
                   "albo "
                   "sterownik ODBC i serwer nie uzgodniły szyfrowania połączenia (TLS). Sprawdź "
                   "dziennik błędów serwera, ustawienia szyfrowania serwera (wymuszenie "
                   "szyfrowania, certyfikat) i czy sterownik obsługuje szyfrowanie TLS w wersji, "
                   "którą przyjmuje serwer.";
        case PrzyczynaLogowania::Inna:
            break;
    }
    return "Logowanie do serwera nie powiodło się z przyczyny, której program nie rozpoznał; "
           "sprawdź komunikat sterownika poniżej i dane logowania.";
}

}  // namespace

bool PotrzebnaOdpowiedzPreLogin(const std::vector<RekordDiagnostyki>& rekordy) {
    bool polaczenieNieudane = false;
    for (const auto& rekord : rekordy) {
        if (rekord.kod == FreeTdsPolaczenieNieudane)
            polaczenieNieudane = true;
        else if (rekord.kod != 0 || rekord.stanSQL == "HYT00")
            return false;
    }
    return polaczenieNieudane;
}

PrzyczynaLogowania PrzyczynaBleduLogowania(const std::vector<RekordDiagnostyki>& rekordy,
                                           OdpowiedzPreLogin preLogin) {
    using P = PrzyczynaLogowania;
    if (SzyfrowanieWTekscie(rekordy)) return P::Szyfrowanie;
    // A missing database comes with 18456 after it: the database says more.
    if (MaKod(rekordy, SerwerNiedostepnaBaza)) return P::NiedostepnaBaza;
    if (MaKod(rekordy, SerwerOdmowaLogowania)) return P::Odmowa;
    if (MaKod(rekordy, {FreeTdsNieznanyKomputer, FreeTdsNazwaWKonfiguracji, WinsockNieznanyKomputer,
                        WinsockBrakAdresu}))
        return P::NieznanySerwer;
    // Before the time-out, which may come with them: that nothing answers at the address says
    // more than that the wait ran out.
    if (MaKod(rekordy, {FreeTdsBrakSerwera, WinsockOdmowaPolaczenia, WinsockBrakOdzewu}) ||
        MaKod(rekordy, {MicrosoftBrakSerwera, MicrosoftBrakInstancji}, "08001"))
        return P::BrakSerwera;
    if (MaStan(rekordy, "HYT00")) return P::BrakOdpowiedzi;
    if (MaKod(rekordy, {FreeTdsKoniecStrumienia, FreeTdsOdczytNieudany, FreeTdsZapisNieudany,
                        WinsockReset, WinsockPrzerwane}))
        return P::ZamknietePolaczenie;
    if (PotrzebnaOdpowiedzPreLogin(rekordy)) {
        switch (preLogin) {
            case OdpowiedzPreLogin::BezOdpowiedzi:
                // The server ends the connection before its pre-login answer: no TLS has begun.
            case OdpowiedzPreLogin::BezSzyfrowania:
                // Nothing of the log-in goes under TLS: the server closed after the log-in packet.
                return P::ZamknietePolaczenie;
            case OdpowiedzPreLogin::ZSzyfrowaniem:
            case OdpowiedzPreLogin::Niesprawdzona:
                // TLS is part of the log-in (or may be): a handshake that fails, and a server
                // that resets the connection right after the encrypted log-in packet, look the
                // same to FreeTDS; only the server's error log tells, so both are named.
                return P::ZamknieteLubSzyfrowanie;
        }
    }
    return P::Inna;
}

EOleException BladLogowania(const std::vector<RekordDiagnostyki>& rekordy,
                            std::string_view sterownik, OdpowiedzPreLogin preLogin) {
    std::vector<const RekordDiagnostyki*> mowiace;
    for (const auto& rekord : rekordy)
        if (rekord.kod != 0) mowiace.push_back(&rekord);
    if (mowiace.empty())
        for (const auto& rekord : rekordy)
            if (rekord.stanSQL.rfind("01", 0) != 0) mowiace.push_back(&rekord);
    if (mowiace.empty())
        for (const auto& rekord : rekordy) mowiace.push_back(&rekord);
    const std::string zrodlo = "ODBC " + std::string(sterownik);
    const std::string opis = Opis(PrzyczynaBleduLogowania(rekordy, preLogin), preLogin);
    if (mowiace.empty()) return EOleException(opis, 0, zrodlo);
    const RekordDiagnostyki& pierwszy = *mowiace.front();
    return EOleException(opis + "\r\n" + TekstyRekordow(mowiace), pierwszy.kod,
                         zrodlo + " SQLSTATE " + pierwszy.stanSQL, {}, 0, pierwszy.stanSQL);
}

}  // namespace zuv
