#include "SystemQueries.h"

#include <algorithm>
#include <charconv>
#include <ctime>

#include "BatchPatterns.h"
#include "TdsVersion.h"

namespace tds {
namespace {

const std::string& sessionsQuery() {
    static const std::string text = normaliseStatement(
        "SELECT spid, RTRIM(loginame), RTRIM(hostname), RTRIM(program_name), "
        "DATEDIFF(second, last_batch, GETDATE()) FROM master..sysprocesses WHERE dbid = DB_ID() "
        "AND spid <> @@SPID AND ecid = 0 AND (RTRIM(hostname) <> '' OR RTRIM(program_name) <> "
        "'') ORDER BY spid");
    return text;
}

const std::string& viewStateQuery() {
    static const std::string text =
        normaliseStatement("SELECT HAS_PERMS_BY_NAME(NULL, NULL, 'VIEW SERVER STATE')");
    return text;
}

const std::string& rightsQuery() {
    static const std::string text =
        normaliseStatement("SELECT IS_SRVROLEMEMBER('sysadmin'), IS_MEMBER('db_owner')");
    return text;
}

const std::string& backupQuery() {
    static const std::string text = normaliseStatement(
        "SELECT MAX(backup_finish_date) FROM msdb..backupset WHERE database_name = DB_NAME() AND "
        "type = 'D'");
    return text;
}

const std::string& spidQuery() {
    static const std::string text = normaliseStatement("SELECT @@SPID");
    return text;
}

// The blocking query around the spid it asks about: the text before the number and after it.
const std::pair<std::string, std::string>& blockingQuery() {
    static const std::pair<std::string, std::string> parts = [] {
        const std::string text = normaliseStatement(
            "SELECT p.blocked, p.waittime, RTRIM(b.loginame), RTRIM(b.hostname), "
            "RTRIM(b.program_name) FROM master..sysprocesses p LEFT JOIN master..sysprocesses b "
            "ON b.spid = p.blocked AND b.ecid = 0 WHERE p.spid = %d AND p.ecid = 0");
        const std::size_t number = text.find("%d");
        return std::pair{text.substr(0, number), text.substr(number + 2)};
    }();
    return parts;
}

// The spid the blocking query asks about; nullopt when the statement is not that query. A
// number no spid can have (it compares with a smallint) is -1.
std::optional<int> blockingQuerySpid(std::string_view statement) {
    const auto& [before, after] = blockingQuery();
    if (statement.size() <= before.size() + after.size() || !statement.starts_with(before) ||
        !statement.ends_with(after)) {
        return std::nullopt;
    }
    const std::string_view digits =
        statement.substr(before.size(), statement.size() - before.size() - after.size());
    if (digits.find_first_not_of("0123456789") != std::string_view::npos) return std::nullopt;
    int spid = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), spid);
    return error == std::errc{} && spid <= 32767 ? spid : -1;
}

// RTRIM: trailing blanks (code 32) only.
std::string rtrim(std::string_view text) {
    const std::size_t end = text.find_last_not_of(' ');
    return std::string(end == std::string_view::npos ? std::string_view()
                                                     : text.substr(0, end + 1));
}

constexpr std::uint16_t kNameBytes = 256;  // nvarchar(128), as sysprocesses' names

}  // namespace

DateTime localDateTime(std::chrono::system_clock::time_point time) {
    using namespace std::chrono;
    const auto millis = floor<milliseconds>(time.time_since_epoch());
    const auto whole = floor<seconds>(millis);
    const std::time_t since1970 = static_cast<std::time_t>(whole.count());
    std::tm local{};
    localtime_r(&since1970, &local);
    const sys_days day{year{local.tm_year + 1900} / static_cast<unsigned>(local.tm_mon + 1) /
                       static_cast<unsigned>(local.tm_mday)};
    const auto days = (day - sys_days{year{1900} / January / 1}).count();
    const std::int64_t secondOfDay = local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec;
    const std::int64_t millisOfSecond = (millis - whole).count();
    return DateTime{static_cast<std::int32_t>(days),
                    static_cast<std::uint32_t>(secondOfDay * 300 + millisOfSecond * 300 / 1000)};
}

bool answerSystemQuery(const std::string& statement, std::string_view productVersion,
                       const SystemView& view, Reply& reply) {
    // 8.x: SQL Server 2000 (the server plays anything older or unreadable as 2000 too).
    const bool server2000 = tdsVersionOfProduct(productVersion) == TdsVersion::V7_1;
    // Before 2005 every login sees every process; from 2005 on, without VIEW SERVER STATE,
    // sysprocesses shows a login its own session only.
    const bool seesEveryProcess = server2000 || view.config.viewServerState;
    const ServerConfig& config = view.config;

    if (statement == sessionsQuery()) {
        std::vector<OtherSession> others =
            seesEveryProcess ? view.processes.others() : std::vector<OtherSession>{};
        std::sort(others.begin(), others.end(),
                  [](const OtherSession& a, const OtherSession& b) { return a.spid < b.spid; });
        std::vector<Row> rows;
        for (const OtherSession& other : others) {
            if (rtrim(other.host).empty() && rtrim(other.program).empty()) continue;
            rows.push_back({std::int32_t{other.spid}, rtrim(other.login), rtrim(other.host),
                            rtrim(other.program), std::int32_t{other.idleSeconds}});
        }
        reply.resultSet({{ColumnType::SmallInt, "spid"},
                         {ColumnType::NVarChar, "", kNameBytes},
                         {ColumnType::NVarChar, "", kNameBytes},
                         {ColumnType::NVarChar, "", kNameBytes},
                         {ColumnType::IntN, ""}},
                        rows, true);
    } else if (statement == viewStateQuery()) {
        if (server2000) {
            reply.fail({195, 10, 15, "'HAS_PERMS_BY_NAME' is not a recognized function name."});
        } else {
            reply.resultSet({{ColumnType::IntN, ""}},
                            {{std::int32_t{config.viewServerState ? 1 : 0}}}, true);
        }
    } else if (statement == rightsQuery()) {
        const bool sysadmin = config.rights == LoginRights::Sysadmin;
        const bool owner = sysadmin || config.rights == LoginRights::Owner;
        reply.resultSet({{ColumnType::IntN, ""}, {ColumnType::IntN, ""}},
                        {{std::int32_t{sysadmin ? 1 : 0}, std::int32_t{owner ? 1 : 0}}}, true);
    } else if (statement == backupQuery()) {
        switch (config.backup) {
            case BackupHistory::Recorded:
                reply.resultSet({{ColumnType::DateTime, ""}},
                                {{localDateTime(view.started - config.backupAge)}}, true);
                break;
            case BackupHistory::None:
                reply.resultSet({{ColumnType::DateTime, ""}}, {{Value()}}, true);
                break;
            case BackupHistory::Denied:
                reply.fail(server2000 ? ServerMessage{229, 1, 14,
                                                      "SELECT permission denied on object "
                                                      "'backupset', database 'msdb', owner "
                                                      "'dbo'."}
                                      : ServerMessage{229, 5, 14,
                                                      "The SELECT permission was denied on the "
                                                      "object 'backupset', database 'msdb', "
                                                      "schema 'dbo'."});
                break;
            case BackupHistory::NoMsdb:
                reply.fail({208, 1, 16, "Invalid object name 'msdb..backupset'."});
                break;
        }
    } else if (statement == spidQuery()) {
        reply.resultSet({{ColumnType::SmallInt, ""}}, {{std::int32_t{view.spid}}}, true);
    } else if (const std::optional<int> asked = blockingQuerySpid(statement)) {
        const bool server2005On = !server2000;
        std::vector<Row> rows;
        const auto waiting = seesEveryProcess || *asked == view.spid
                                 ? view.processes.waitingOf(*asked)
                                 : std::nullopt;
        if (waiting) {
            const OtherSession* blocker = view.processes.other(waiting->blocked);
            const auto name = [&](const std::string OtherSession::*field) {
                return blocker != nullptr ? Value(rtrim(blocker->*field)) : Value();
            };
            const auto waited = waiting->waited.count();
            rows.push_back({std::int32_t{waiting->blocked},
                            server2005On ? Value(std::int64_t{waited})
                                         : Value(static_cast<std::int32_t>(waited)),
                            name(&OtherSession::login), name(&OtherSession::host),
                            name(&OtherSession::program)});
        }
        // waittime is an int in 2000's sysprocesses and a bigint from 2005 on.
        reply.resultSet({{ColumnType::SmallInt, "blocked"},
                         {server2005On ? ColumnType::BigInt : ColumnType::IntN, "waittime"},
                         {ColumnType::NVarChar, "", kNameBytes},
                         {ColumnType::NVarChar, "", kNameBytes},
                         {ColumnType::NVarChar, "", kNameBytes}},
                        rows, true);
    } else {
        return false;
    }
    return true;
}

}  // namespace tds
