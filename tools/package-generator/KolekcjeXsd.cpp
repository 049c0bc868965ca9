#include "KolekcjeXsd.h"

#include <array>
#include <cctype>
#include <stdexcept>
#include <string>

#include "ObiektBazy.h"

namespace generator {

namespace {

struct Kolekcja {
    std::string_view nazwa;
    std::string_view opis;
};

constexpr std::array<Kolekcja, 25> Kolekcje = {{
    {"XSD_DOKUMENT_OT", "przyjęcie środka trwałego"},
    {"XSD_DOKUMENT_LT", "likwidacja środka trwałego"},
    {"XSD_DOKUMENT_PT", "przekazanie środka trwałego"},
    {"XSD_DOKUMENT_MT", "zmiana miejsca użytkowania"},
    {"XSD_KARTA_SRODKA", "karta środka trwałego"},
    {"XSD_PLAN_AMORTYZACJI", "plan amortyzacji"},
    {"XSD_ZESTAWIENIE_SRODKOW", "zestawienie środków"},
    {"XSD_EKSPORT_FK", "eksport do systemu finansowo-księgowego"},
    {"XSD_IMPORT_SRODKOW", "import środków z innego systemu"},
    {"XSD_INWENTARYZACJA", "inwentaryzacja"},
    {"XSD_ARKUSZ_SPISOWY", "arkusz spisu z natury"},
    {"XSD_ROZNICE_INWENTARYZACYJNE", "różnice inwentaryzacyjne"},
    {"XSD_KONTRAHENT", "kontrahent"},
    {"XSD_LOKALIZACJA", "lokalizacja"},
    {"XSD_OSOBA_ODPOWIEDZIALNA", "osoba odpowiedzialna"},
    {"XSD_WS_ZAPYTANIE", "zapytanie usługi sieciowej"},
    {"XSD_WS_ODPOWIEDZ", "odpowiedź usługi sieciowej"},
    {"XSD_WS_BLAD", "błąd usługi sieciowej"},
    {"XSD_PPC_PAKIET", "pakiet danych dla PPC"},
    {"XSD_PPC_SKANY", "skany kodów z PPC"},
    {"XSD_WWW_ZGLOSZENIE", "zgłoszenie ze strony"},
    {"XSD_RAPORT_GUS", "sprawozdanie dla GUS"},
    {"XSD_DEKLARACJA_PODATKOWA", "deklaracja podatkowa"},
    {"XSD_UBEZPIECZENIE", "polisa ubezpieczeniowa"},
    {"XSD_LEASING", "umowa leasingu"},
}};

constexpr std::array<Kolekcja, 3> KolekcjeOd1150 = {{
    {"XSD_DOTACJE", "dotacja do środka trwałego"},
    {"XSD_ZALACZNIKI", "załączniki środka"},
    {"XSD_PRZESZACOWANIE", "przeszacowanie wartości"},
}};

constexpr std::string_view NaglowekSchematu =
    R"(<xsd:schema xmlns:xsd="http://www.w3.org/2001/XMLSchema"
            targetNamespace="urn:zuv:{NS}"
            xmlns="urn:zuv:{NS}"
            elementFormDefault="qualified">)";

constexpr std::string_view Schemat = R"(
  <xsd:element name="{KORZEN}">
    <xsd:annotation>
      <xsd:documentation>Komunikat: {OPIS}</xsd:documentation>
    </xsd:annotation>
    <xsd:complexType>
      <xsd:sequence>
        <xsd:element name="Numer" type="xsd:string"/>
        <xsd:element name="Pozycja" minOccurs="0" maxOccurs="unbounded">
          <xsd:complexType>
            <xsd:attribute name="Symbol" type="xsd:string" use="required"/>
            <xsd:attribute name="Wartosc" type="xsd:decimal"/>
          </xsd:complexType>
        </xsd:element>
      </xsd:sequence>
    </xsd:complexType>
  </xsd:element>
</xsd:schema>')";

constexpr std::string_view Rozszerzenie = R"(
  <xsd:element name="{KORZEN}_KOREKTA" type="xsd:string"/>
</xsd:schema>')";

}  // namespace

void PiszKolekcjeXml(Kontekst& k, std::string_view nazwa, std::string_view opis,
                     bool zRozszerzeniem, bool znaczona, bool wAktualizacji) {
    PisarzPakietu& p = k.pisarz;
    auto koniec = [&] {
        p.Separator(wAktualizacji ? k.separatory.Aktualizacji() : k.separatory.Obiektu());
    };
    const std::string korzen(nazwa.substr(4));
    std::string ns;
    for (char c : korzen)
        ns += c == '_' ? '-' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const std::string naglowek = Podstaw(NaglowekSchematu, {{"NS", ns}});
    const std::string n(nazwa);

    if (znaczona) p.Wiersz(ZnacznikGeneracji);
    p.Wiersz("IF EXISTS (SELECT 'X'");
    p.Wiersz("             FROM sys.xml_schema_collections");
    p.Wiersz("            WHERE name = '" + n + "')");
    p.Wiersz("  DROP XML SCHEMA COLLECTION dbo." + n);
    koniec();

    if (znaczona) p.Wiersz(ZnacznikGeneracji);
    p.Tekst("CREATE XML SCHEMA COLLECTION dbo." + n + " AS N'" + naglowek +
            Podstaw(Schemat, {{"KORZEN", korzen}, {"OPIS", opis}}));
    koniec();

    if (zRozszerzeniem) {
        if (znaczona) p.Wiersz(ZnacznikGeneracji);
        p.Tekst("ALTER XML SCHEMA COLLECTION dbo." + n + " ADD N'" + naglowek +
                Podstaw(Rozszerzenie, {{"KORZEN", korzen}}));
        koniec();
    }
}

void PiszSekcjeXsd(Kontekst& k) {
    // The marked batches split into collections of three batches, and one or two of two.
    const int x = k.plan.partieXsdZnaczone;
    int trzy = x / 3;
    int dwie = 0;
    if (x % 3 == 1) {
        trzy -= 1;
        dwie = 2;
    } else if (x % 3 == 2) {
        dwie = 1;
    }
    if (trzy < 0 ||
        static_cast<std::size_t>(trzy) + static_cast<std::size_t>(dwie) > Kolekcje.size())
        throw std::logic_error("Niewłaściwa liczba partii kolekcji XML");
    for (int i = 0; i < trzy + dwie; ++i) {
        const Kolekcja& c = Kolekcje[static_cast<std::size_t>(i)];
        PiszKolekcjeXml(k, c.nazwa, c.opis, i < trzy, true, false);
    }
    if (k.plan.partieXsdNieznaczone > 0) {
        if (k.plan.partieXsdNieznaczone != 3 * static_cast<int>(KolekcjeOd1150.size()))
            throw std::logic_error("Niewłaściwa liczba partii nowych kolekcji XML");
        for (const Kolekcja& c : KolekcjeOd1150)
            PiszKolekcjeXml(k, c.nazwa, c.opis, true, false, false);
    }
}

}  // namespace generator
