// GENERUJ_SLOWNIK_GRUP_SRODKOW: fills the dictionary of asset groups after the classification of
// fixed assets (KŚT). Descriptions are several paragraphs inside one quoted literal; the
// packages up to 10.17.0.3 separate those paragraphs with a bare CR.

#include <array>
#include <string>

#include "SekcjeObiektow.h"

namespace generator {

namespace {

struct Grupa {
    std::string_view symbol;
    int poziom;
    std::string_view nazwa;
    std::array<std::string_view, 3> akapity;
};

constexpr std::array<Grupa, 10> GrupyKst = {{
    {"0",
     1,
     "Grunty",
     {"Grupa obejmuje grunty rolne, leśne, zabudowane i zurbanizowane, pod wodami oraz nieużytki, "
      "a także prawo użytkowania wieczystego gruntu.",
      "Gruntów nie amortyzuje się; prawo użytkowania wieczystego gruntu amortyzuje się jak "
      "wartości niematerialne i prawne.",
      "Symbol grupy poprzedza w karcie środka trwałego numer podgrupy i rodzaju."}},
    {"1",
     1,
     "Budynki i lokale, spółdzielcze prawo do lokalu użytkowego i spółdzielcze własnościowe prawo "
     "do lokalu mieszkalnego",
     {"Grupa obejmuje budynki mieszkalne i niemieszkalne, lokale stanowiące odrębną własność oraz "
      "spółdzielcze prawa do lokali.",
      "Budynek to obiekt budowlany trwale związany z gruntem, wydzielony z przestrzeni przegrodami "
      "budowlanymi, mający fundamenty i dach.",
      "Instalacje budynku – wodne, grzewcze, elektryczne – wchodzą w jego wartość początkową, "
      "chyba że stanowią odrębny środek trwały."}},
    {"2",
     1,
     "Obiekty inżynierii lądowej i wodnej",
     {"Grupa obejmuje drogi, mosty, tunele, rurociągi, linie telekomunikacyjne i "
      "elektroenergetyczne, budowle wodne oraz obiekty sportowe.",
      "Do grupy zalicza się także ogrodzenia, place składowe i parkingi, o ile nie są częścią "
      "budynku.",
      "Stawka amortyzacji zależy od rodzaju budowli i warunków jej używania."}},
    {"3",
     1,
     "Kotły i maszyny energetyczne",
     {"Grupa obejmuje kotły grzejne i parowe, silniki spalinowe, turbiny, prądnice oraz zespoły "
      "prądotwórcze.",
      "Maszyny energetyczne wbudowane w urządzenia innych grup klasyfikuje się według urządzenia, "
      "którego są częścią.",
      "Przy przyjęciu do używania podaje się moc znamionową i rodzaj paliwa."}},
    {"4",
     1,
     "Maszyny, urządzenia i aparaty ogólnego zastosowania",
     {"Grupa obejmuje obrabiarki, prasy, maszyny do obróbki drewna, dźwigi, urządzenia chłodnicze "
      "i wentylacyjne oraz zespoły komputerowe.",
      "Zespół komputerowy to jednostka centralna z urządzeniami peryferyjnymi, przyjmowana do "
      "używania jako jeden środek albo osobno.",
      "Oprogramowanie nabyte razem z komputerem ujmuje się jako wartość niematerialną i prawną."}},
    {"5",
     1,
     "Specjalistyczne maszyny, urządzenia i aparaty",
     {"Grupa obejmuje maszyny przeznaczone dla określonych gałęzi produkcji: górnictwa, hutnictwa, "
      "przemysłu chemicznego, spożywczego i rolnictwa.",
      "O zaliczeniu do grupy decyduje przeznaczenie maszyny, a nie jej budowa.",
      "Maszyny używane w kilku gałęziach produkcji klasyfikuje się według przeważającego "
      "zastosowania."}},
    {"6",
     1,
     "Urządzenia techniczne",
     {"Grupa obejmuje urządzenia rozdzielcze energii elektrycznej, telekomunikacyjne, "
      "sygnalizacyjne i alarmowe, dźwigi osobowe oraz zbiorniki.",
      "Urządzenia te współpracują z budynkami i budowlami, lecz stanowią odrębne środki trwałe.",
      "Urządzenia przeciwpożarowe i alarmowe ujmuje się w tej grupie niezależnie od miejsca "
      "zainstalowania."}},
    {"7",
     1,
     "Środki transportu",
     {"Grupa obejmuje tabor kolejowy, pojazdy samochodowe, ciągniki, przyczepy, motocykle, statki "
      "i samoloty.",
      "Samochody osobowe ujmuje się w rodzaju 741; wartość początkowa obejmuje wyposażenie "
      "zamontowane przed przyjęciem do używania.",
      "Środki transportu wewnętrznego, takie jak wózki widłowe, należą do tej samej grupy."}},
    {"8",
     1,
     "Narzędzia, przyrządy, ruchomości i wyposażenie, gdzie indziej niesklasyfikowane",
     {"Grupa obejmuje narzędzia i przyrządy, aparaturę laboratoryjną, wyposażenie biurowe, meble "
      "oraz sprzęt medyczny.",
      "Przedmioty o niskiej wartości można zaliczyć bezpośrednio w koszty zamiast ujmować je jako "
      "środki trwałe.",
      "Wyposażenie przypisuje się osobie odpowiedzialnej i miejscu użytkowania."}},
    {"9",
     1,
     "Inwentarz żywy",
     {"Grupa obejmuje zwierzęta hodowlane i użytkowe, w tym konie, bydło i zwierzęta "
      "laboratoryjne.",
      "Inwentarz żywy ujmuje się jako środek trwały, gdy okres jego użytkowania przekracza rok.",
      "Przychówek nie jest środkiem trwałym do czasu przeniesienia do stada podstawowego."}},
}};

struct Podgrupa {
    std::string_view symbol;
    int poziom;
    std::string_view nazwa;
};

constexpr std::array<Podgrupa, 13> PodgrupyKst = {{
    {"01", 2, "Grunty rolne"},
    {"02", 2, "Grunty leśne"},
    {"10", 2, "Budynki przemysłowe"},
    {"11", 2, "Budynki mieszkalne"},
    {"12", 2, "Lokale niemieszkalne"},
    {"22", 2, "Rurociągi i linie telekomunikacyjne"},
    {"49", 2, "Maszyny i urządzenia ogólnego zastosowania pozostałe"},
    {"491", 3, "Zespoły komputerowe"},
    {"62", 2, "Urządzenia telekomunikacyjne"},
    {"74", 2, "Pojazdy samochodowe"},
    {"741", 3, "Samochody osobowe"},
    {"80", 2, "Narzędzia, przyrządy i aparatura"},
    {"803", 3, "Wyposażenie biurowe"},
}};

// The full-size dictionary carries the rodzaje and their subdivisions as well; their names and
// descriptions are put together from these parts.
constexpr std::array<std::array<std::string_view, 3>, 10> NazwyRodzajow = {{
    {"Grunty zabudowane", "Grunty pod wodami", "Użytki ekologiczne"},
    {"Budynki handlowo-usługowe", "Budynki biurowe", "Budynki magazynowe"},
    {"Drogi i place", "Mosty i wiadukty", "Sieci wodociągowe"},
    {"Kotły grzejne", "Turbiny parowe", "Zespoły prądotwórcze"},
    {"Obrabiarki do metali", "Urządzenia chłodnicze", "Zespoły komputerowe"},
    {"Maszyny dla przemysłu spożywczego", "Maszyny rolnicze", "Maszyny poligraficzne"},
    {"Urządzenia rozdzielcze", "Urządzenia sygnalizacyjne", "Zbiorniki i silosy"},
    {"Samochody ciężarowe", "Autobusy i autokary", "Wózki jezdniowe"},
    {"Narzędzia pomiarowe", "Meble biurowe", "Sprzęt medyczny"},
    {"Konie robocze", "Bydło hodowlane", "Zwierzęta laboratoryjne"},
}};

constexpr std::array<std::string_view, 12> Odmiany = {
    "stacjonarne",     "przenośne",
    "specjalistyczne", "sterowane numerycznie",
    "pozostałe",       "o napędzie elektrycznym",
    "zespolone",       "do zabudowy",
    "wielofunkcyjne",  "kontenerowe",
    "modernizowane",   "używane",
};

constexpr std::array<std::string_view, 6> ZdaniaPierwsze = {
    "Rodzaj obejmuje środki o podobnym przeznaczeniu, zbliżonej budowie i zbliżonym okresie "
    "ekonomicznej użyteczności.",
    "Do rodzaju zalicza się obiekty przyjęte do używania w całości, wraz z wyposażeniem "
    "podstawowym i dokumentacją.",
    "Rodzaj wyróżniono ze względu na odrębną stawkę amortyzacji podatkowej i sposób ewidencji.",
    "Środki tego rodzaju ewidencjonuje się w księdze inwentarzowej z numerem fabrycznym i rokiem "
    "produkcji.",
    "Rodzaj obejmuje także części zamienne o wartości przekraczającej próg ujęcia jako środek "
    "trwały.",
    "Do rodzaju należą obiekty używane na potrzeby własne jednostki albo oddane w najem lub "
    "dzierżawę.",
};
constexpr std::array<std::string_view, 5> ZdaniaDrugie = {
    "Ulepszenie zwiększające wartość użytkową podwyższa wartość początkową środka od miesiąca "
    "zakończenia.",
    "Przy likwidacji częściowej wartość środka zmniejsza się proporcjonalnie do wycofanej części.",
    "Stawkę podwyższa się przy używaniu w warunkach pogorszonych lub złych.",
    "Okres amortyzacji ustala się indywidualnie dla środków używanych i ulepszonych, nie krócej "
    "niż przepisy.",
    "Środki nabyte w leasingu finansowym amortyzuje korzystający przez okres umowy.",
};
constexpr std::array<std::string_view, 4> ZdaniaTrzecie = {
    "Symbol rodzaju podaje się na dokumentach OT, LT i PT.",
    "Przeniesienie do innego rodzaju wymaga dokumentu zmiany klasyfikacji.",
    "Szczegółowy opis znajduje się w objaśnieniach do klasyfikacji.",
    "Rodzaj może być dalej dzielony według potrzeb firmy.",
};

constexpr int RodzajeZOpisem = 442;  // with the groups' descriptions, 904 bare CRs in all
constexpr int RodzajeBezOpisu = 1962;

std::string SymbolRodzaju(int numer) {
    std::string symbol = std::to_string(100 + numer % 900);
    if (numer >= 900) {
        const int podrodzaj = numer / 900;
        symbol += podrodzaj < 10 ? "-0" : "-";
        symbol += std::to_string(podrodzaj);
    }
    return symbol;
}

std::string NazwaRodzaju(int numer, const std::string& symbol) {
    const auto& nazwy = NazwyRodzajow[static_cast<std::size_t>(symbol[0] - '0')];
    return std::string(nazwy[static_cast<std::size_t>(numer) % nazwy.size()]) + " – " +
           std::string(Odmiany[static_cast<std::size_t>(numer / 3) % Odmiany.size()]);
}

void DopiszWpis(std::string& tekst, std::string_view symbol, int poziom, std::string_view nazwa,
                const std::array<std::string_view, 3>* akapity) {
    tekst += "  INSERT INTO dbo.SLOWNIK_GRUP_SRODKOW (ID_FIRMY, SYMBOL, POZIOM, NAZWA, OPIS)\n";
    tekst += "  VALUES (@P_ID_FIRMY, '";
    tekst += symbol;
    tekst += "', " + std::to_string(poziom) + ", '";
    tekst += nazwa;
    if (akapity == nullptr) {
        tekst += "', NULL)\n";
        return;
    }
    tekst += "', '";
    tekst += (*akapity)[0];
    tekst += KoniecSamymCR;
    tekst += '\n';
    tekst += (*akapity)[1];
    tekst += KoniecSamymCR;
    tekst += '\n';
    tekst += (*akapity)[2];
    tekst += "')\n";
}

}  // namespace

ObiektBazy ProceduraSlownikaGrupSrodkow(bool pelny) {
    ObiektBazy o;
    o.nazwa = "GENERUJ_SLOWNIK_GRUP_SRODKOW";
    std::string& t = o.definicja;
    t.reserve(pelny ? 560000 : 8000);
    t += R"(CREATE PROCEDURE dbo.GENERUJ_SLOWNIK_GRUP_SRODKOW
  @P_ID_FIRMY INT = NULL
{SZYFROWANIE}
AS
BEGIN
  -- Słownik grup środków trwałych według Klasyfikacji Środków Trwałych (KŚT): grupy,
  -- podgrupy i rodzaje z opisami. Opisy dzielą się na akapity.
  DECLARE @errmsg VARCHAR(255)

  SET NOCOUNT ON

  DELETE FROM dbo.SLOWNIK_GRUP_SRODKOW
   WHERE ISNULL(ID_FIRMY, 0) = ISNULL(@P_ID_FIRMY, 0)

)";
    for (const Grupa& g : GrupyKst) DopiszWpis(t, g.symbol, g.poziom, g.nazwa, &g.akapity);
    for (const Podgrupa& g : PodgrupyKst) DopiszWpis(t, g.symbol, g.poziom, g.nazwa, nullptr);
    if (pelny) {
        for (int numer = 0; numer < RodzajeZOpisem + RodzajeBezOpisu; ++numer) {
            const std::string symbol = SymbolRodzaju(numer);
            const std::string nazwa = NazwaRodzaju(numer, symbol);
            const int poziom = numer >= 900 ? 4 : 3;
            if (numer % 5 == 0 && numer / 5 < RodzajeZOpisem) {
                const auto n = static_cast<std::size_t>(numer / 5);
                const std::array<std::string_view, 3> akapity = {
                    ZdaniaPierwsze[n % ZdaniaPierwsze.size()],
                    ZdaniaDrugie[n % ZdaniaDrugie.size()], ZdaniaTrzecie[n % ZdaniaTrzecie.size()]};
                DopiszWpis(t, symbol, poziom, nazwa, &akapity);
            } else {
                DopiszWpis(t, symbol, poziom, nazwa, nullptr);
            }
        }
    }
    t += R"(
  IF @@ERROR <> 0
  BEGIN
    SET @errmsg = '[13030] Generowanie słownika grup środków nie powiodło się. ^GENERUJ_SLOWNIK_GRUP_SRODKOW_MC'
    RAISERROR(@errmsg, 16, 1)
    RETURN -1
  END
  RETURN 0
END)";
    return o;
}

}  // namespace generator
