#pragma once
// The Polish first lines of the failed log-ins, as the tests of the real driver on Linux and under
// Wine expect them word for word.

namespace opisy_logowania {

inline constexpr const char* NieznanySerwer =
    "Nie znaleziono w sieci serwera o podanej nazwie; sprawdź pisownię nazwy albo wpisz adres IP "
    "serwera.";
inline constexpr const char* BrakSerwera =
    "Pod podanym adresem i portem nie odpowiada żaden SQL Server albo nie ma tam podanej "
    "instancji; sprawdź, czy usługa SQL Server działa i przyjmuje połączenia TCP/IP, czy port i "
    "nazwa instancji są poprawne (instancję nazwaną wskazuje usługa SQL Server Browser) i czy "
    "zapora sieciowa nie blokuje połączenia.";
inline constexpr const char* BrakOdpowiedzi =
    "Serwer nie odpowiedział na logowanie w wyznaczonym czasie; sprawdź, czy serwer nie jest "
    "przeciążony i czy połączenie sieciowe z nim działa, a potem spróbuj ponownie.";
inline constexpr const char* Odmowa =
    "Serwer odmówił zalogowania; sprawdź nazwę użytkownika i hasło, czy login nie jest "
    "wyłączony ani zablokowany i czy serwer dopuszcza logowanie kontami SQL Server.";
inline constexpr const char* NiedostepnaBaza =
    "Serwer nie otworzył podanej bazy danych: nie ma jej na serwerze albo ten login nie ma do "
    "niej dostępu; sprawdź nazwę bazy, czy baza jest dostępna i czy login ma w niej "
    "użytkownika.";
inline constexpr const char* ZamknieteLubSzyfrowanie =
    "Połączenie z serwerem zostało zamknięte w trakcie logowania: serwer je zamknął albo sterownik "
    "ODBC i serwer nie uzgodniły szyfrowania połączenia (TLS). Sprawdź dziennik błędów serwera, "
    "ustawienia szyfrowania serwera (wymuszenie szyfrowania, certyfikat) i czy sterownik "
    "obsługuje szyfrowanie TLS w wersji, którą przyjmuje serwer.";
inline constexpr const char* Zamkniete =
    "Serwer zamknął połączenie w trakcie logowania; sprawdź dziennik błędów serwera, limit "
    "połączeń serwera i ustawienia szyfrowania po stronie serwera (wymuszenie szyfrowania, "
    "certyfikat).";
inline constexpr const char* ZamknieteBezTLS =
    "Serwer zamknął połączenie w trakcie logowania; sprawdź dziennik błędów serwera i limit "
    "połączeń serwera.";

// A cipher list the driver's TLS shares nothing with: the server's handshake fails.
inline constexpr const char* SzyfryObce = "ECDHE-ECDSA-NULL-SHA";

}  // namespace opisy_logowania
