#pragma once
// The TDS test server as a process of its own, started and stopped by a benchmark, so that the
// server's CPU time never counts as the client's. Its state lives in a fresh folder.

#include <sys/types.h>

#include <filesystem>
#include <string>

#include "db/DaneLogowania.h"

class ProcesSerwera {
  public:
    static constexpr const char* Haslo = "Bench1";

    // Starts the server with a new state recording `wersjaPoczatkowa` and waits until it listens.
    // Throws std::runtime_error when it cannot be started.
    explicit ProcesSerwera(const std::string& wersjaPoczatkowa);
    // Stops the server and removes its folder.
    ~ProcesSerwera();
    ProcesSerwera(const ProcesSerwera&) = delete;
    ProcesSerwera& operator=(const ProcesSerwera&) = delete;

    int Port() const { return port_; }
    const std::filesystem::path& Katalog() const { return katalog_; }
    // The log-in values of this server's database.
    zuv::DaneLogowania Logowanie() const;
    // "127.0.0.1,port", as the server field reads.
    std::string Adres() const { return "127.0.0.1," + std::to_string(port_); }
    // Seconds of CPU time the server has used so far, user and system.
    double CzasCpu() const;

  private:
    std::filesystem::path katalog_;
    pid_t pid_ = -1;
    int port_ = 0;
};
