#pragma once
// The connection string from which the database connection is opened: the SQL Server provider,
// the four log-in values and the application name under which the server knows the session.

#include <string>
#include <string_view>

#include "db/DaneLogowania.h"

namespace zuv {

// Builds "Provider=SQLOLEDB.1;Password=..;Persist Security Info=True;User ID=..;
// Initial Catalog=..;Data Source=..;OLE DB Services=-2", followed by
// ";Application Name=U:<name>" when the application name, trimmed of bytes 0..32, is not empty.
// A log-in value holding ";", "'" or '"' is quoted (see ZacytujWartosc) so that it arrives whole
// and cannot add attributes of its own; any other value is inserted exactly as typed.
std::string UtworzConnectionString(std::string_view serwer, std::string_view baza,
                                   std::string_view uzytkownik, std::string_view haslo,
                                   std::string_view nazwaAplikacji);
// The same from a log-in record.
std::string UtworzConnectionString(const DaneLogowania& dane);

// A value as a connection string holds it: unchanged unless it contains ";", "'" or '"'; then
// enclosed in double quotes, or in single quotes when it holds a double quote and no single
// quote, with the enclosing quote character doubled inside.
std::string ZacytujWartosc(std::string_view wartosc);

}  // namespace zuv
