#pragma once
// Reading the connection string the window builds and turning it into the string an ODBC driver
// for SQL Server takes.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

using AtrybutyPolaczenia = std::vector<std::pair<std::string, std::string>>;

// Splits "key=value;key=value" by the quoting rules the connection string is built with: a value
// that starts with a double or single quote runs to the matching quote, the quote doubled inside
// standing for itself; any other value runs to the next ";" and is kept exactly, blanks included.
// Keys are trimmed of blanks. A quoted value not closed, or followed by anything but blanks and
// ";", raises EOleException.
AtrybutyPolaczenia ParsujConnectionString(std::string_view tekst);

// The ODBC connection string for the given driver: DRIVER, then SERVER (and PORT for FreeTDS,
// which does not read "host,port"), DATABASE, UID, PWD and APP from Data Source, Initial Catalog,
// User ID, Password and Application Name. The other attributes concern the OLE DB provider only.
std::string ConnectionStringODBC(const AtrybutyPolaczenia& atrybuty, std::string_view sterownik);
