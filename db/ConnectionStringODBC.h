#pragma once
// The connection string an ODBC driver for SQL Server takes, made from the log-in record.

#include <string>
#include <string_view>

#include "db/DaneLogowania.h"

namespace zuv {

// How a driver reads a value in braces. Microsoft's drivers end it at a "}" that is not doubled
// and read "}}" as one "}". FreeTDS ends it at the first "}" that a ";" follows and undoes
// nothing, so a value holding "};" cannot reach it whole.
enum class RodzajSterownika { FreeTDS, Microsoft };

// FreeTDS for the driver registered as "FreeTDS" (any case), Microsoft for every other name.
RodzajSterownika RodzajSterownikaDla(std::string_view sterownik);

// The ODBC connection string for the given driver: DRIVER, then SERVER (and PORT for FreeTDS,
// which does not read "host,port"), DATABASE, UID, PWD, and APP ("U:" and the application name,
// trimmed; none when that is empty) from the record; every value in braces by the driver's rules
// and every attribute ended by ";", so that no value can add, change or remove an attribute.
// FreeTDS also gets its protocol version pinned (TDS_Version=7.4): left to itself, it retries a
// log-in that timed out with an older version and no time-out at all; a server of an older
// generation answers in its own version, which the driver then speaks. FreeTDS is asked to encrypt
// as the server asks and to check no certificate (Encryption=request). Microsoft's drivers take
// "host,port" and "host\instance" in SERVER. The server's parts go without the blanks typed around
// them (PodzielSerwer). Driver 18 gets Encrypt=Optional and TrustServerCertificate=yes, so that it
// encrypts as the earlier providers did, when the server asks, checking no certificate.
//
// Before anything is sent, each log-in value is checked (WartosciLogowania.h) and one the driver
// cannot carry is refused: EDatabaseError naming the field ("Serwer", "Baza", "Użytkownik",
// "Hasło") and the characters. An empty (or blank) database or user is refused so too, and for
// FreeTDS an empty server or one without a machine name, which Microsoft's drivers take for the
// default instance on this computer.
std::string ConnectionStringODBC(const DaneLogowania& dane, std::string_view sterownik,
                                 RodzajSterownika rodzaj);

}  // namespace zuv
