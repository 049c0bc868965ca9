#include "TestSupport.h"

#include <stdio.h>
#include <stdlib.h>

#include <stdexcept>

namespace tds_test {
namespace {

// Joins lines with CR LF, as the packages end them.
std::string crlf(std::initializer_list<std::string> lines) {
    std::string out;
    for (const std::string& line : lines) out += line + "\r\n";
    return out;
}

}  // namespace

std::string commandOutput(const std::string& command) {
    std::string output;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[512];
        while (fgets(buffer, sizeof buffer, pipe)) output += buffer;
        pclose(pipe);
    }
    return output;
}

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "tds-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

tds::ServerConfig testConfig(const TempDir& dir) {
    tds::ServerConfig config;
    config.statePath = dir.path() / "state.txt";
    config.initVersion = "8.2.0.6";
    config.password = "Tajne1";
    return config;
}

std::string openingBatch(const std::string& own, const std::string& previous, RaiseForm form) {
    const std::string raise = form == RaiseForm::Number13000 ? "  raiserror 13000 @errmsg"
                                                             : "  raiserror(@errmsg, 16, 1)";
    return crlf({
        "-- Sprawdzenie, czy baza jest w wersji, dla której przeznaczona jest ta aktualizacja",
        "declare @wersja            T_KONFIG_ST_WARTOSC   ",
        "declare @wersja_aktualna   T_KONFIG_ST_WARTOSC   ",
        "declare @wersja_poprzednia T_KONFIG_ST_WARTOSC   ",
        "declare @errmsg            varchar(255)",
        "",
        "set @wersja_aktualna   = '" + own + "'    ",
        "set @wersja_poprzednia = '" + previous + "'  ",
        "",
        "select @wersja = rtrim(ltrim(wartosc))",
        "  from dbo.konfig_st",
        " where grupa = 'WERSJE'",
        "   and nazwa = 'TERVO_WERSJA'",
        "",
        "if @wersja is null",
        "  set @wersja = '0.0.0.0'",
        "",
        "if @wersja <> rtrim(ltrim(@wersja_aktualna)) and @wersja <> "
        "rtrim(ltrim(@wersja_poprzednia))",
        "begin",
        "  set @errmsg = 'Wersja systemu: ' + @wersja + char(13) + char(10) + 'Aktualizacja "
        "jest przeznaczona dla wersji ' + @wersja_poprzednia",
        raise,
        "end",
    });
}

std::string closingBatch(const std::string& own, RaiseForm form) {
    auto raise = [form](const std::string& message) {
        return form == RaiseForm::Number13000 ? "  raiserror 13000 '" + message + "'"
                                              : "  raiserror('" + message + "', 16, 1)";
    };
    return crlf({
        "declare @error int, @rowcount int",
        "",
        "update dbo.konfig_st",
        "   set wartosc = '" + own + "'",
        " where grupa = 'WERSJE'",
        "   and nazwa = 'TERVO_WERSJA'",
        "",
        "select @error = @@error, @rowcount = @@rowcount",
        "",
        "if @error <> 0",
        raise("Wystąpił błąd podczas zmiany wersji systemu ZUV."),
        "",
        "if @rowcount <> 1",
        raise("Zmiana wersji systemu ZUV nie powiodła się."),
    });
}

std::string generationFunction(int variant) {
    const std::string header = crlf({
        "CREATE FUNCTION dbo.fn_WERSJA_MS_SQL()",
        "RETURNS INT",
        "AS",
        "BEGIN",
        "  DECLARE @wersja VARCHAR(128)",
        "  SET @wersja = CONVERT(VARCHAR(128), SERVERPROPERTY('ProductVersion'))",
    });
    if (variant == 1) {
        return header + crlf({
                            "  RETURN CASE LEFT(@wersja, 2) WHEN '8.' THEN 2000 WHEN '9.' THEN "
                            "2005 ELSE 0 END",
                            "END",
                        });
    }
    const std::string cases = variant == 2
                                  ? "WHEN '8' THEN 2000 WHEN '9' THEN 2005 WHEN '10' THEN 2005"
                                  : "WHEN '8' THEN 2000 WHEN '9' THEN 2005 WHEN '10' THEN 2008 "
                                    "WHEN '11' THEN 2012";
    return header + crlf({
                        "  DECLARE @glowna VARCHAR(3)",
                        "  SET @glowna = LEFT(@wersja, 3)",
                        "  SET @glowna = LEFT(@glowna, CHARINDEX('.', @glowna + '.') - 1)",
                        "  RETURN CASE @glowna",
                        "    " + cases,
                        "    ELSE 0",
                        "  END",
                        "END",
                    });
}

}  // namespace tds_test
