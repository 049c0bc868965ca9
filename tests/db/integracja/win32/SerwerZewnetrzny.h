#pragma once
// The TDS test server of the Linux build, started by a Windows test under Wine as a separate
// Linux process (Wine starts a Linux program given its path), each with its own port and state
// in a fresh folder, stopped when the owner goes.

#include <string>
#include <vector>

#include "db/DaneLogowania.h"

namespace zuv::testy {

class SerwerZewnetrzny {
  public:
    // Starts the server (the path in ZUV_SERWER_TESTOWY) with the password and the options given
    // and waits until it listens. Throws std::runtime_error when it does not.
    explicit SerwerZewnetrzny(const std::vector<std::string>& opcje,
                              const std::string& haslo = "Tajne;1'\"");
    ~SerwerZewnetrzny();
    SerwerZewnetrzny(const SerwerZewnetrzny&) = delete;
    SerwerZewnetrzny& operator=(const SerwerZewnetrzny&) = delete;

    // Stops the server and starts it again on its state file, with these options (a new port).
    void UruchomPonownie(const std::vector<std::string>& opcje);

    // "127.0.0.1,PORT", as typed into the window.
    std::string Adres() const { return "127.0.0.1," + port_; }
    zuv::DaneLogowania Logowanie(const std::string& haslo = "Tajne;1'\"") const;
    // The server's journal of requests so far: JSON lines, UTF-8.
    std::string Dziennik() const;

  private:
    // Runs `przedStartem` (shell), then the server with the options; waits until it listens.
    void Uruchom(const std::vector<std::string>& opcje, const std::string& przedStartem);

    std::string katalog_;  // a Linux path
    std::string haslo_;
    std::string port_;
    int uruchomienie_ = 0;
};

}  // namespace zuv::testy
