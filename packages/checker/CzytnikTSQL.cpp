#include "packages/checker/CzytnikTSQL.h"

#include <array>

#include "common/Ascii.h"

namespace zuv {

namespace {

bool PoczatekNazwy(char znak) {
    const auto bajt = static_cast<unsigned char>(znak);
    return (bajt >= 'A' && bajt <= 'Z') || (bajt >= 'a' && bajt <= 'z') || bajt == '_' ||
           bajt == '#' || bajt > 127;
}

bool ZnakNazwy(char znak) {
    const auto bajt = static_cast<unsigned char>(znak);
    return PoczatekNazwy(znak) || (bajt >= '0' && bajt <= '9') || bajt == '@' || bajt == '$';
}

bool Slowo(const TokenTSQL& token, std::string_view slowo) {
    return token.rodzaj == TokenTSQL::Rodzaj::Slowo && RowneBezWielkosciLiter(token.tekst, slowo);
}

bool Znak(const TokenTSQL& token, std::string_view znak) {
    return token.rodzaj == TokenTSQL::Rodzaj::Znak && token.tekst == znak;
}

// Words that begin a statement or a clause: an assignment's list ends at them.
bool SlowoKlauzuli(const TokenTSQL& token) {
    static constexpr std::array<std::string_view, 30> slowa = {
        "select", "set",        "declare", "update",   "insert",    "delete", "where",   "from",
        "if",     "else",       "while",   "begin",    "end",       "exec",   "execute", "print",
        "return", "create",     "alter",   "drop",     "raiserror", "goto",   "open",    "fetch",
        "close",  "deallocate", "commit",  "rollback", "output",    "option"};
    if (token.rodzaj != TokenTSQL::Rodzaj::Slowo) return false;
    for (const std::string_view slowo : slowa)
        if (RowneBezWielkosciLiter(token.tekst, slowo)) return true;
    return false;
}

// What stands after "=" at `i`: a literal, or the tokens up to the next comma or clause.
PrzypisanieTSQL Wartosc(const std::vector<TokenTSQL>& tokeny, std::size_t i) {
    PrzypisanieTSQL przypisanie{std::nullopt, {}, tokeny[i - 1].wiersz};
    if (i >= tokeny.size()) return przypisanie;
    przypisanie.wiersz = tokeny[i].wiersz;
    const bool koniecWyrazenia = i + 1 >= tokeny.size() || Znak(tokeny[i + 1], ",") ||
                                 Znak(tokeny[i + 1], ";") || SlowoKlauzuli(tokeny[i + 1]);
    if (tokeny[i].rodzaj == TokenTSQL::Rodzaj::Napis && koniecWyrazenia) {
        przypisanie.napis = tokeny[i].tekst;
        return przypisanie;
    }
    for (std::size_t j = i; j < tokeny.size() && j < i + 6; ++j) {
        if (j > i && (Znak(tokeny[j], ",") || Znak(tokeny[j], ";") || SlowoKlauzuli(tokeny[j])))
            break;
        if (!przypisanie.wyrazenie.empty()) przypisanie.wyrazenie += ' ';
        przypisanie.wyrazenie += tokeny[j].rodzaj == TokenTSQL::Rodzaj::Napis
                                     ? "'" + tokeny[j].tekst + "'"
                                     : tokeny[j].tekst;
    }
    return przypisanie;
}

}  // namespace

std::vector<TokenTSQL> TokenyTSQL(const ListaLinii& linie, std::size_t pierwszy,
                                  std::size_t koniec) {
    std::vector<TokenTSQL> tokeny;
    int komentarzBlokowy = 0;  // T-SQL nests them
    std::string napis;
    char zamkniecie = 0;  // inside a string ('), a bracketed (]) or quoted (") name
    std::size_t poczatekNapisu = 0;
    for (std::size_t wiersz = pierwszy; wiersz < koniec; ++wiersz) {
        const std::string_view linia = linie[wiersz - 1];
        std::size_t i = 0;
        while (i < linia.size()) {
            const char znak = linia[i];
            if (zamkniecie != 0) {
                if (znak == zamkniecie) {
                    if (i + 1 < linia.size() && linia[i + 1] == zamkniecie) {
                        napis += znak;
                        i += 2;
                        continue;
                    }
                    tokeny.push_back(
                        {zamkniecie == '\'' ? TokenTSQL::Rodzaj::Napis : TokenTSQL::Rodzaj::Slowo,
                         napis, poczatekNapisu});
                    zamkniecie = 0;
                } else {
                    napis += znak;
                }
                ++i;
                continue;
            }
            if (komentarzBlokowy > 0) {
                if (linia.substr(i, 2) == "*/") {
                    --komentarzBlokowy;
                    i += 2;
                } else if (linia.substr(i, 2) == "/*") {
                    ++komentarzBlokowy;
                    i += 2;
                } else {
                    ++i;
                }
                continue;
            }
            if (linia.substr(i, 2) == "--") break;
            if (linia.substr(i, 2) == "/*") {
                ++komentarzBlokowy;
                i += 2;
                continue;
            }
            const auto bajt = static_cast<unsigned char>(znak);
            if (bajt <= 32 || bajt == 0xA0) {
                ++i;
                continue;
            }
            // N'...' is a string as '...' is.
            const bool narodowy =
                (znak == 'N' || znak == 'n') && i + 1 < linia.size() && linia[i + 1] == '\'';
            if (znak == '\'' || znak == '[' || znak == '"' || narodowy) {
                if (narodowy) ++i;
                zamkniecie = linia[i] == '[' ? ']' : linia[i];
                napis.clear();
                poczatekNapisu = wiersz;
                ++i;
                continue;
            }
            if (znak == '@' || PoczatekNazwy(znak) || (bajt >= '0' && bajt <= '9')) {
                // A qualified name is its parts and the dots between them.
                std::size_t j = i + 1;
                while (j < linia.size() && ZnakNazwy(linia[j])) ++j;
                tokeny.push_back(
                    {znak == '@' ? TokenTSQL::Rodzaj::Zmienna : TokenTSQL::Rodzaj::Slowo,
                     std::string(linia.substr(i, j - i)), wiersz});
                i = j;
                continue;
            }
            const std::string_view dwa = linia.substr(i, 2);
            const bool podwojny = dwa == "<=" || dwa == ">=" || dwa == "<>" || dwa == "!=" ||
                                  dwa == "+=" || dwa == "-=" || dwa == "*=" || dwa == "/=" ||
                                  dwa == "%=" || dwa == "&=" || dwa == "|=" || dwa == "^=" ||
                                  dwa == "!<" || dwa == "!>";
            tokeny.push_back(
                {TokenTSQL::Rodzaj::Znak, std::string(linia.substr(i, podwojny ? 2 : 1)), wiersz});
            i += podwojny ? 2 : 1;
        }
        // A string or name that runs on keeps the line break, as the server does.
        if (zamkniecie != 0) napis += "\r\n";
    }
    return tokeny;
}

std::vector<PrzypisanieTSQL> PrzypisaniaZmiennej(const std::vector<TokenTSQL>& tokeny,
                                                 std::string_view zmienna) {
    std::vector<PrzypisanieTSQL> przypisania;
    const TokenTSQL* klauzula = nullptr;  // the last word that began a statement or a clause
    for (std::size_t i = 0; i < tokeny.size(); ++i) {
        const TokenTSQL& token = tokeny[i];
        if (SlowoKlauzuli(token)) klauzula = &token;
        if (token.rodzaj != TokenTSQL::Rodzaj::Zmienna ||
            !RowneBezWielkosciLiter(token.tekst, zmienna) || i == 0 || klauzula == nullptr)
            continue;
        const TokenTSQL& przed = tokeny[i - 1];
        if (Slowo(*klauzula, "declare") && (Slowo(przed, "declare") || Znak(przed, ","))) {
            // DECLARE @v type [= value]: the value, if any, after the type.
            std::size_t j = i + 1;
            while (j < tokeny.size() && !Znak(tokeny[j], "=") && !Znak(tokeny[j], ",") &&
                   !Znak(tokeny[j], ";") && !SlowoKlauzuli(tokeny[j]))
                ++j;
            if (j < tokeny.size() && Znak(tokeny[j], "="))
                przypisania.push_back(Wartosc(tokeny, j + 1));
            continue;
        }
        const bool naPoczatku = Slowo(przed, "set") || Slowo(przed, "select");
        const bool naLiscie =
            Znak(przed, ",") && (Slowo(*klauzula, "select") || Slowo(*klauzula, "set"));
        if ((naPoczatku || naLiscie) && i + 1 < tokeny.size() && Znak(tokeny[i + 1], "="))
            przypisania.push_back(Wartosc(tokeny, i + 2));
    }
    return przypisania;
}

std::vector<PrzypisanieTSQL> PrzypisaniaKolumny(const std::vector<TokenTSQL>& tokeny,
                                                std::string_view kolumna) {
    std::vector<PrzypisanieTSQL> przypisania;
    bool wUpdate = false;  // between UPDATE and its SET
    bool wSet = false;     // in an UPDATE's SET list
    for (std::size_t i = 0; i < tokeny.size(); ++i) {
        const TokenTSQL& token = tokeny[i];
        if (SlowoKlauzuli(token)) {
            wSet = wUpdate && Slowo(token, "set");
            wUpdate = Slowo(token, "update");
            continue;
        }
        if (Znak(token, ";")) wSet = wUpdate = false;
        if (!wSet || !Slowo(token, kolumna) || i + 1 >= tokeny.size() || !Znak(tokeny[i + 1], "="))
            continue;
        przypisania.push_back(Wartosc(tokeny, i + 2));
    }
    return przypisania;
}

}  // namespace zuv
