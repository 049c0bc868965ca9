#pragma once
// What an administrator checks by hand before updating a production database, asked of the
// server after the version is read and before the question: who else works in the database, when
// its last full backup was made, and whether the login may create and alter its objects. Read
// only, on every server generation from 2000 on. A check the login may not see or the server
// refuses is left out of the warnings and said in `niesprawdzone`, for the journal; no check ever
// stops a run by itself.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "db/Polaczenie.h"

namespace zuv {

// The queries, each sent as it stands.
namespace zapytania_kontroli {
// The other sessions of the current database; system tasks (no host, no program) left out.
inline constexpr const char* Sesje =
    "SELECT spid, RTRIM(loginame), RTRIM(hostname), RTRIM(program_name), "
    "DATEDIFF(second, last_batch, GETDATE()) FROM master..sysprocesses WHERE dbid = DB_ID() AND "
    "spid <> @@SPID AND ecid = 0 AND (RTRIM(hostname) <> '' OR RTRIM(program_name) <> '') "
    "ORDER BY spid";
// Whether the login sees other sessions at all: from 2005 on, without VIEW SERVER STATE the
// process list shows its own session alone. 2000 knows no such right (error 195), and there every
// login sees every process.
inline constexpr const char* WidokSerwera =
    "SELECT HAS_PERMS_BY_NAME(NULL, NULL, 'VIEW SERVER STATE')";
inline constexpr const char* Prawa = "SELECT IS_SRVROLEMEMBER('sysadmin'), IS_MEMBER('db_owner')";
inline constexpr const char* OstatniaKopia =
    "SELECT MAX(backup_finish_date) FROM msdb..backupset WHERE database_name = DB_NAME() AND "
    "type = 'D'";
}  // namespace zapytania_kontroli

struct InnaSesja {
    std::int64_t numer = 0;
    std::string login;
    std::string komputer;
    std::string program;
    std::int64_t bezczynnaSekund = 0;
};

struct KontrolaBazy {
    // The other sessions; nothing when they could not be seen.
    std::optional<std::vector<InnaSesja>> sesje;
    // The last full backup's end as the server gives it ("2026-12-10 22:00:00.000"); an empty
    // text when none is recorded; nothing when the history could not be read.
    std::optional<std::string> ostatniaKopia;
    // Whether it lies more than 24 hours before the check (by this computer's clock).
    bool kopiaStara = false;
    // Whether the login is sysadmin or in the database's db_owner role; nothing when not known.
    std::optional<bool> prawaWlasciciela;
    // What could not be checked, and why: one sentence each, for the journal.
    std::vector<std::string> niesprawdzone;

    // The warnings for a person, one paragraph each; none when everything checked is fine.
    std::vector<std::string> Ostrzezenia(const std::string& baza, const std::string& login) const;
};

// Asks the server; a lost connection goes on as EUtrataPolaczenia (the session is gone), every
// other failure of a query is said in `niesprawdzone`.
KontrolaBazy SprawdzBaze(Polaczenie& polaczenie, std::chrono::system_clock::time_point teraz =
                                                     std::chrono::system_clock::now());

// "45 s", "12 min", "3 h 5 min": how long a session has been idle.
std::string CzasBezczynnosci(std::int64_t sekundy);

}  // namespace zuv
