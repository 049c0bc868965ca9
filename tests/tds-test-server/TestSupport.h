#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include "ServerConfig.h"

// What the server tests share: a temporary directory per test, the server settings they start
// from, and the package batches in the form the packages hold them (CR LF, padded lines).
namespace tds_test {

class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

// Port 0, a state file in `dir` recording 8.2.0.6, user sa, password Tajne1, database ZUV.
tds::ServerConfig testConfig(const TempDir& dir);

// What a shell command writes to its standard output.
std::string commandOutput(const std::string& command);

// Waits up to two seconds for a condition that another thread makes true.
template <typename Condition>
bool eventually(Condition condition) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

// How the fixed batches raise their errors: "raiserror 13000 @errmsg" up to 10.17.0.3,
// "raiserror(@errmsg, 16, 1)" from 11.1.0.0 on.
enum class RaiseForm { Number13000, Severity16 };

std::string openingBatch(const std::string& own, const std::string& previous, RaiseForm form);
std::string closingBatch(const std::string& own, RaiseForm form);
// The three definitions of dbo.fn_WERSJA_MS_SQL() (1: LEFT(@wersja, 2); 2: 10 is 2005;
// 3: up to 11 is 2012).
std::string generationFunction(int variant);

}  // namespace tds_test
