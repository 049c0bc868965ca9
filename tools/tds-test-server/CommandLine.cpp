#include "CommandLine.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace tds {
namespace {

template <typename Number>
Number parseNumber(std::string_view text, std::string_view what, Number minimum,
                   Number maximum = std::numeric_limits<Number>::max()) {
    Number value{};
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc{} || ptr != text.data() + text.size() || value < minimum ||
        value > maximum) {
        throw std::invalid_argument("invalid " + std::string(what) + ": '" + std::string(text) +
                                    "'");
    }
    return value;
}

std::chrono::milliseconds parseSeconds(std::string_view text) {
    // from_chars for double is not in this standard library yet.
    std::size_t used = 0;
    double seconds = -1;
    try {
        seconds = std::stod(std::string(text), &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (text.empty() || used != text.size() || !(seconds >= 0) || seconds > 86400) {
        throw std::invalid_argument("invalid delay in seconds: '" + std::string(text) + "'");
    }
    return std::chrono::milliseconds(std::llround(seconds * 1000));
}

// Hours as a number with a fraction, up to a million (114 years: a datetime still holds it).
std::chrono::seconds parseHours(std::string_view text) {
    std::size_t used = 0;
    double hours = -1;
    try {
        hours = std::stod(std::string(text), &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (text.empty() || used != text.size() || !(hours >= 0) || hours > 1e6) {
        throw std::invalid_argument("invalid age in hours: '" + std::string(text) + "'");
    }
    return std::chrono::seconds(std::llround(hours * 3600));
}

std::string unescapeMessage(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            const char next = text[i + 1];
            if (next == 'r' || next == 'n' || next == '\\') {
                out += next == 'r' ? '\r' : next == 'n' ? '\n' : '\\';
                ++i;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

// Splits "FIRST:REST" at the first ':'.
std::pair<std::string_view, std::string_view> splitFirst(std::string_view text,
                                                         std::string_view option) {
    const auto colon = text.find(':');
    if (colon == std::string_view::npos) {
        throw std::invalid_argument("missing ':' in " + std::string(option) + " value '" +
                                    std::string(text) + "'");
    }
    return {text.substr(0, colon), text.substr(colon + 1)};
}

}  // namespace

FailBatchFault parseFailBatch(std::string_view text) {
    constexpr std::string_view option = "--fail-batch";
    FailBatchFault fault;
    const auto [version, afterVersion] = splitFirst(text, option);
    const auto [batch, afterBatch] = splitFirst(afterVersion, option);
    const auto [number, rest] = splitFirst(afterBatch, option);
    if (version.empty()) throw std::invalid_argument("empty package version in --fail-batch");
    fault.packageVersion = std::string(version);
    fault.batch = parseNumber<int>(batch, "batch number", 1);
    fault.number = parseNumber<std::int32_t>(number, "error number", 1);

    std::string_view message = rest;
    const auto lastColon = rest.rfind(':');
    if (lastColon != std::string_view::npos) {
        const std::string_view tail = rest.substr(lastColon + 1);
        if (!tail.empty() && tail.find_first_not_of("0123456789") == std::string_view::npos) {
            fault.statementsBefore = parseNumber<int>(tail, "statement count", 0);
            message = rest.substr(0, lastColon);
        }
    }
    fault.message = unescapeMessage(message);
    return fault;
}

OtherSession parseOtherSession(std::string_view text) {
    constexpr std::string_view option = "--session";
    OtherSession session;
    const auto [spid, afterSpid] = splitFirst(text, option);
    const auto [login, afterLogin] = splitFirst(afterSpid, option);
    const auto [host, rest] = splitFirst(afterLogin, option);
    const auto lastColon = rest.rfind(':');
    if (lastColon == std::string_view::npos) {
        throw std::invalid_argument("missing ':' before the idle seconds in --session value '" +
                                    std::string(text) + "'");
    }
    session.spid = parseNumber<int>(spid, "session number", 1, 32767);
    session.login = std::string(login);
    session.host = std::string(host);
    session.program = std::string(rest.substr(0, lastColon));
    session.idleSeconds = parseNumber<std::int32_t>(rest.substr(lastColon + 1), "idle seconds", 0);
    return session;
}

CommandLine parseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine result;
    ServerConfig& config = result.config;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string option = arguments[i];
        std::optional<std::string> inlineValue;
        if (const auto equals = option.find('=');
            option.starts_with("--") && equals != std::string::npos) {
            inlineValue = option.substr(equals + 1);
            option.resize(equals);
        }
        auto value = [&]() -> std::string {
            if (inlineValue) return *inlineValue;
            if (i + 1 >= arguments.size()) {
                throw std::invalid_argument("missing value after " + option);
            }
            return arguments[++i];
        };

        if (option == "--help" || option == "-h") {
            result.help = true;
        } else if (option == "--port") {
            config.port = parseNumber<std::uint16_t>(value(), "port", 0);
        } else if (option == "--state") {
            config.statePath = value();
        } else if (option == "--init-version") {
            config.initVersion = value();
        } else if (option == "--user") {
            config.user = value();
        } else if (option == "--password") {
            config.password = value();
        } else if (option == "--database") {
            config.database = value();
        } else if (option == "--product-version") {
            config.productVersion = value();
        } else if (option == "--tds-version") {
            const std::string text = value();
            const auto version = parseTdsVersion(text);
            if (!version) {
                throw std::invalid_argument("unknown TDS version '" + text +
                                            "' (7.1, 7.2, 7.3, 7.3A, 7.3B or 7.4)");
            }
            config.tdsVersion = version;
        } else if (option == "--encryption") {
            const std::string text = value();
            const auto mode = parseEncryptionMode(text);
            if (!mode) {
                throw std::invalid_argument("unknown encryption '" + text +
                                            "' (off, login, on or required)");
            }
            config.encryption = *mode;
        } else if (option == "--tls-version") {
            const std::string text = value();
            const auto version = parseTlsVersion(text);
            if (!version) {
                throw std::invalid_argument("unknown TLS version '" + text + "' (1.0, 1.1 or 1.2)");
            }
            config.highestTls = *version;
        } else if (option == "--tls-ciphers") {
            config.tlsCiphers = value();
            if (config.tlsCiphers.empty()) throw std::invalid_argument("empty --tls-ciphers");
        } else if (option == "--certificate") {
            config.certificatePath = value();
        } else if (option == "--key") {
            config.keyPath = value();
        } else if (option == "--journal") {
            config.journalPath = value();
        } else if (option == "--fail-batch") {
            config.faults.failBatches.push_back(parseFailBatch(value()));
        } else if (option == "--block-batch") {
            const std::string text = value();
            const auto [version, afterVersion] = splitFirst(text, option);
            const auto [batch, afterBatch] = splitFirst(afterVersion, option);
            const auto [blocker, seconds] = splitFirst(afterBatch, option);
            if (version.empty()) throw std::invalid_argument("empty package version in " + option);
            config.faults.blockBatches.push_back(
                {std::string(version), parseNumber<int>(batch, "batch number", 1),
                 parseNumber<int>(blocker, "session number", 1, 32767), parseSeconds(seconds)});
        } else if (option == "--session") {
            config.otherSessions.push_back(parseOtherSession(value()));
        } else if (option == "--no-view-server-state") {
            if (inlineValue) throw std::invalid_argument("--no-view-server-state takes no value");
            config.viewServerState = false;
        } else if (option == "--rights") {
            const std::string text = value();
            if (text == "sysadmin") {
                config.rights = LoginRights::Sysadmin;
            } else if (text == "owner") {
                config.rights = LoginRights::Owner;
            } else if (text == "none") {
                config.rights = LoginRights::None;
            } else {
                throw std::invalid_argument("unknown rights '" + text +
                                            "' (sysadmin, owner or none)");
            }
        } else if (option == "--backup-age") {
            config.backup = BackupHistory::Recorded;
            config.backupAge = parseHours(value());
        } else if (option == "--no-backup" || option == "--backup-denied" ||
                   option == "--no-msdb") {
            if (inlineValue) throw std::invalid_argument(option + " takes no value");
            config.backup = option == "--no-backup"       ? BackupHistory::None
                            : option == "--backup-denied" ? BackupHistory::Denied
                                                          : BackupHistory::NoMsdb;
        } else if (option == "--drop-at") {
            config.faults.dropAtRequests.push_back(
                parseNumber<std::uint64_t>(value(), "request number", 1));
        } else if (option == "--hang-at") {
            config.faults.hangAtRequests.push_back(
                parseNumber<std::uint64_t>(value(), "request number", 1));
        } else if (option == "--reset-at") {
            config.faults.resetAtRequests.push_back(
                parseNumber<std::uint64_t>(value(), "request number", 1));
        } else if (option == "--refused-end-begins") {
            if (inlineValue) throw std::invalid_argument("--refused-end-begins takes no value");
            config.refusedEndBegins = true;
        } else if (option == "--delay") {
            const std::string text = value();
            const auto [request, seconds] = splitFirst(text, option);
            config.faults.delays.push_back(
                {parseNumber<std::uint64_t>(request, "request number", 1), parseSeconds(seconds)});
        } else if (option == "--refuse-logins") {
            if (inlineValue) throw std::invalid_argument("--refuse-logins takes no value");
            config.faults.refuseLogins = true;
        } else if (option == "--silent") {
            if (inlineValue) throw std::invalid_argument("--silent takes no value");
            config.faults.login = LoginFault::Silent;
        } else if (option == "--login-fault") {
            const std::string text = value();
            if (text == "drop-prelogin") {
                config.faults.login = LoginFault::DropAtPreLogin;
            } else if (text == "reset-prelogin") {
                config.faults.login = LoginFault::ResetAtPreLogin;
            } else if (text == "drop-login7") {
                config.faults.login = LoginFault::DropAtLogin7;
            } else if (text == "reset-login7") {
                config.faults.login = LoginFault::ResetAtLogin7;
            } else if (text == "no-ack") {
                config.faults.login = LoginFault::NoAck;
            } else if (text == "drop-before-ack") {
                config.faults.login = LoginFault::DropBeforeAck;
            } else if (text.starts_with("delay-ack:")) {
                config.faults.login = LoginFault::DelayAck;
                config.faults.loginDelay = parseSeconds(text.substr(10));
            } else {
                throw std::invalid_argument("unknown login fault '" + text + "'");
            }
        } else {
            throw std::invalid_argument("unknown option '" + arguments[i] + "'");
        }
    }
    if (config.certificatePath.empty() != config.keyPath.empty()) {
        throw std::invalid_argument("--certificate and --key go together");
    }
    checkConfig(config);
    return result;
}

std::string_view usage() {
    return R"(usage: tds-test-server [options]

A fake SQL Server speaking TDS 7.1 to 7.4 on 127.0.0.1, for tests and the demo. Prints
"listening on 127.0.0.1:PORT" once it accepts connections; runs until SIGINT or SIGTERM.

  --port N                 TCP port; 0 (default) picks a free one
  --state FILE             database state, created when missing, saved after every commit
  --init-version V         recorded version of a new state (ignored when FILE exists)
  --user U                 login name (default sa)
  --password P             password (default empty)
  --database D             database name (default ZUV)
  --product-version X      server product version (default 10.50.6000.34); it also sets the
                           protocol: 8.x TDS 7.1, 9.x 7.2, 10.0 7.3A, 10.50 7.3B, 11 on 7.4
  --tds-version V          the protocol apart from the product version: 7.1, 7.2, 7.3 (7.3B),
                           7.3A, 7.3B or 7.4; a client asking for less gets what it asks
  --encryption E           off (no certificate), login (default: the log-in packet under TLS),
                           on (the whole session), required (the whole session; clients that
                           cannot encrypt are refused)
  --tls-version T          the highest TLS version accepted: 1.0, 1.1 or 1.2 (default); 1.0 is
                           what SQL Server 2005 and an un-updated 2008 (R2) offer
  --tls-ciphers LIST       the cipher suites TLS accepts, in OpenSSL's list form (default:
                           OpenSSL's); a list the client shares nothing with fails the
                           handshake
  --certificate FILE       the TLS certificate chain (PEM); with --key
  --key FILE               its private key (PEM); without both, a self-signed certificate is
                           made at start
  --journal FILE           append every request as a JSON line
  --fail-batch V:N:NUMBER:MESSAGE[:K]
                           fail batch N of package V (batch 1 is its opening batch) with
                           error NUMBER, severity 16, after the results of K statements;
                           \r and \n in MESSAGE become CR and LF (repeatable)
  --block-batch V:N:SPID:S hold batch N of package V (numbered as for --fail-batch) S seconds
                           as if it waited on a lock of other session SPID (a --session),
                           then run it; an attention cancels it (repeatable)
  --drop-at K              close the connection instead of answering request K (repeatable)
  --reset-at K             reset the connection (TCP RST) instead of answering request K
                           (repeatable)
  --hang-at K              never answer request K, nor a cancel of it; only closing the
                           connection ends the wait (repeatable)
  --delay K:S              answer request K after S seconds, unless cancelled (repeatable)
  --refuse-logins          every login fails with error 18456
  --silent                 accept connections and never answer
  --login-fault F          drop-prelogin, drop-login7, drop-before-ack (close the connection
                           there), reset-prelogin, reset-login7 (reset it, TCP RST, right
                           after that packet), delay-ack:S (acknowledge the log-in after S
                           seconds) or no-ack (read the log-in packet and never answer)
  --session SPID:LOGIN:HOST:PROGRAM:IDLE
                           another session in the database, idle IDLE seconds, as
                           master..sysprocesses lists it (repeatable)
  --no-view-server-state   the login lacks VIEW SERVER STATE (2005 and later): sysprocesses
                           shows it its own session only
  --rights R               sysadmin (default), owner (db_owner) or none
  --backup-age H           the last full backup finished H hours (a fraction allowed) before
                           the server started (default 1)
  --no-backup              no full backup recorded in msdb..backupset
  --backup-denied          msdb..backupset closed to the login (error 229)
  --no-msdb                no msdb..backupset at all (error 208)
  --refused-end-begins     a commit or rollback that also begins a new transaction, refused
                           because the session has none (error 3902 or 3903), still begins it

Requests are SQL batches (the system queries of --session and the options after it among
them), remote procedure calls and transaction requests, numbered from 1 over the server's
lifetime.
)";
}

}  // namespace tds
