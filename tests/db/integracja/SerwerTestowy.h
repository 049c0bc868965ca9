#pragma once
// A TDS test server of a test's own: its own port and its own state file in a fresh folder, and
// the connection string the window would build for it.

#include <filesystem>
#include <memory>
#include <string>

#include "TdsTestServer.h"
#include "db/DaneLogowania.h"

class SerwerTestowy {
  public:
    explicit SerwerTestowy(tds::ServerConfig konfiguracja = {},
                           const std::string& haslo = "Tajne;1'\"")
        : katalog_(NowyKatalog()), haslo_(haslo) {
        konfiguracja.statePath = katalog_ / "stan";
        konfiguracja.password = haslo;
        if (konfiguracja.initVersion.empty()) konfiguracja.initVersion = "7.12.0.7";
        konfiguracja_ = konfiguracja;
        serwer_ = std::make_unique<tds::Server>(std::move(konfiguracja));
    }
    ~SerwerTestowy() {
        serwer_.reset();
        std::error_code blad;
        std::filesystem::remove_all(katalog_, blad);
    }

    // Stops the server, which ends every session as a server process that goes away does, and
    // starts it again on the same port with the state it saved.
    void UruchomPonownie() {
        tds::ServerConfig konfiguracja = konfiguracja_;
        konfiguracja.port = serwer_->port();
        serwer_.reset();
        serwer_ = std::make_unique<tds::Server>(std::move(konfiguracja));
    }

    tds::Server& operator*() { return *serwer_; }
    tds::Server* operator->() { return serwer_.get(); }

    std::string Adres() const { return "127.0.0.1," + std::to_string(serwer_->port()); }
    zuv::DaneLogowania Logowanie(const std::string& baza = "ZUV") const {
        return {Adres(), baza, "sa", haslo_};
    }
    // The texts of the SQL batches the server received, in order.
    std::vector<std::string> Partie() const {
        std::vector<std::string> teksty;
        for (const auto& wpis : serwer_->journal())
            if (wpis.kind == tds::RequestKind::Batch) teksty.push_back(wpis.text);
        return teksty;
    }
    std::optional<std::string> ZapisanaWersja() const {
        for (const auto& wiersz : serwer_->versionRows())
            if (tds::isRecordedVersionRow(wiersz)) return wiersz.wartosc;
        return std::nullopt;
    }

  private:
    static std::filesystem::path NowyKatalog() {
        std::string wzor = (std::filesystem::temp_directory_path() / "zuv-test-XXXXXX").string();
        return std::filesystem::path(mkdtemp(wzor.data()));
    }

    std::filesystem::path katalog_;
    std::string haslo_;
    tds::ServerConfig konfiguracja_;
    std::unique_ptr<tds::Server> serwer_;
};
