#include "TestSupport.h"

#include <stdio.h>
#include <stdlib.h>

#include <stdexcept>

#include "Text.h"
#include "packages/format/PartiaOtwierajaca.h"

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
    // The package format's own lines; they are code page 1250, the client sends UTF-8.
    const auto forma = form == RaiseForm::Number13000 ? zuv::FormaRaiserror::Numer13000
                                                      : zuv::FormaRaiserror::Waga16;
    std::string batch;
    for (const std::string& line : zuv::PartiaOtwierajaca(own, previous, forma))
        batch += tds::cp1250ToUtf8(line) + "\r\n";
    return batch;
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
