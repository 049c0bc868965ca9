#pragma once
// The program as an administrator meets it, without a window: its ODBC connection, the update
// command and a window of the test's own that records the version line and answers every
// question "Tak". Linux and Windows tests alike; the server is the test's own.

#include <cstdint>
#include <exception>
#include <functional>
#include <string>

#include "app/ObslugaBledu.h"
#include "app/PolecenieAktualizacji.h"
#include "db/PolaczenieODBC.h"
#include "tests/support/OknaKomunikatowSkryptowe.h"
#include "tests/support/PolecenieWWatku.h"
#include "versions/KatalogWersji.h"

class OknoProgramu : public zuv::PolaLogowania,
                     public zuv::GrupaAktualizacji,
                     public zuv::ListaWersji,
                     public zuv::PasekInformacyjny {
  public:
    OknoProgramu(std::string adres, std::string haslo)
        : serwer(std::move(adres)), haslo_(std::move(haslo)) {}
    std::string Serwer() const override { return serwer; }
    std::string Baza() const override { return "ZUV"; }
    std::string Uzytkownik() const override { return "sa"; }
    std::string Haslo() const override { return haslo_; }
    void UstawTekstWersji(const std::string& tekst) override { wierszWersji = tekst; }
    void PokazGrupe(bool) override {}
    int LiczbaWersji() const override { return static_cast<int>(zuv::KatalogWersji.size()); }
    std::string Wersja(int i) const override { return std::string(zuv::KatalogWersji.at(i)); }
    void UstawTekst(std::string_view) override {}
    void OdswiezTeraz() override {}
    bool Widoczna() const override { return true; }
    void UstawKolor(std::uint32_t) override {}
    void PrzywrocKolor() override {}
    void UstawWypelnienie(std::int64_t, std::int64_t) override {}

    std::string serwer;  // the "Serwer" field, as typed
    std::string wierszWersji;

  private:
    std::string haslo_;
};

struct ProgramTestowy {
    explicit ProgramTestowy(const std::string& adres, const std::string& haslo = "Tajne;1'\"")
        : okno(adres, haslo), polecenie(conn, zuv::WidokOkna{okno, okno, okno, komunikaty, okno}) {}

    // The text of the box the default error handler shows for what `krok` raises; empty when it
    // raises nothing.
    static std::string Box(const std::function<void()>& krok) {
        try {
            krok();
        } catch (const std::exception& e) {
            return zuv::TekstBledu(e.what());
        }
        return "";
    }
    std::string Loguj() {
        return Box([&] { ZalogujWWatku(polecenie); });
    }
    // "Aktualizuj", answered "Tak".
    std::string Aktualizuj() {
        komunikaty.odpowiedzi = {zuv::OdpowiedzKomunikatu::Tak};
        return Box([&] { AktualizujWWatku(polecenie); });
    }
    std::string OstatniBox() const {
        return komunikaty.pokazane.empty() ? "" : komunikaty.pokazane.back().tekst;
    }

    zuv::PolaczenieODBC conn;
    OknoProgramu okno;
    OknaKomunikatowSkryptowe komunikaty;
    zuv::PolecenieAktualizacji polecenie;
};
