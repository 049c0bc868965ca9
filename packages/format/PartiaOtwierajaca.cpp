#include "packages/format/PartiaOtwierajaca.h"

#include <cstddef>

namespace zuv {

namespace {

// The batch was laid out with seven-character versions and padded to a common width.
constexpr std::size_t Szerokosc = 86;
constexpr std::size_t DlugoscWzorcowejWersji = 7;

std::string Wiersz(std::string tekst, std::size_t szerokosc = Szerokosc) {
    if (tekst.size() < szerokosc) tekst.append(szerokosc - tekst.size(), ' ');
    return tekst;
}

std::string WierszZWersja(std::string_view przed, std::string_view wersja) {
    return Wiersz(std::string(przed) + "'" + std::string(wersja) + "'",
                  Szerokosc - DlugoscWzorcowejWersji + wersja.size());
}

}  // namespace

std::vector<std::string> PartiaOtwierajaca(std::string_view wersja, std::string_view poprzednia,
                                           FormaRaiserror forma) {
    return {
        // "której" with its o-acute in code page 1250.
        Wiersz("-- Sprawdzenie, czy baza jest w wersji, dla kt\xF3rej przeznaczona jest ta "
               "aktualizacja"),
        Wiersz("declare @wersja            T_KONFIG_ST_WARTOSC"),
        Wiersz("declare @wersja_aktualna   T_KONFIG_ST_WARTOSC"),
        Wiersz("declare @wersja_poprzednia T_KONFIG_ST_WARTOSC"),
        Wiersz("declare @errmsg            varchar(255)"),
        Wiersz(""),
        WierszZWersja("set @wersja_aktualna   = ", wersja),
        WierszZWersja("set @wersja_poprzednia = ", poprzednia),
        Wiersz(""),
        Wiersz("select @wersja = rtrim(ltrim(wartosc))"),
        Wiersz("  from dbo.konfig_st"),
        Wiersz(" where grupa = 'WERSJE'"),
        Wiersz("   and nazwa = 'TERVO_WERSJA'"),
        Wiersz(""),
        Wiersz("if @wersja is null"),
        Wiersz("  set @wersja = '0.0.0.0'"),
        Wiersz(""),
        Wiersz("if @wersja <> rtrim(ltrim(@wersja_aktualna)) and @wersja <> "
               "rtrim(ltrim(@wersja_poprzednia))"),
        Wiersz("begin"),
        Wiersz("  set @errmsg = 'Wersja systemu: ' + @wersja + char(13) + char(10) + "
               "'Aktualizacja jest przeznaczona dla wersji ' + @wersja_poprzednia"),
        Wiersz(forma == FormaRaiserror::Waga16 ? "  raiserror(@errmsg, 16, 1)"
                                               : "  raiserror 13000 @errmsg"),
        Wiersz("end"),
    };
}

}  // namespace zuv
