#pragma once

#include <filesystem>
#include <fstream>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace tds {

enum class RequestKind {
    Login,
    LoginFailed,
    Batch,
    Rpc,
    Begin,
    Commit,
    Rollback,
    Attention,
    Disconnect,
    Note,  // the server's own remark on the request before it, such as a definition it cannot read
};

// The journal's name of a kind: login, login_failed, batch, rpc, begin, commit, rollback,
// attention, disconnect, note.
std::string_view kindName(RequestKind kind);

// One request as it arrived. `transaction` tells whether the session had a transaction open at
// that moment; `text` is the batch text (UTF-8, line ends as sent), for a remote procedure call
// each call as "procedure: statement" (parameters bound in) on a line of its own, or empty.
struct JournalEntry {
    int session = 0;
    bool transaction = false;
    RequestKind kind = RequestKind::Batch;
    std::string text;

    bool operator==(const JournalEntry&) const = default;
};

// {"session":N,"transaction":true|false,"kind":"...","text":"..."} on one line; a text that is
// not valid UTF-8 has U+FFFD for each broken byte sequence. Never throws but for memory.
std::string toJsonLine(const JournalEntry& entry);

// Every request of every session, in arrival order, in memory and (with a path) appended to a
// file as JSON lines, flushed line by line.
class Journal {
  public:
    // Throws std::runtime_error when the file cannot be opened.
    explicit Journal(const std::filesystem::path& file);

    void record(JournalEntry entry);
    std::vector<JournalEntry> entries() const;

  private:
    mutable std::mutex mutex_;
    std::vector<JournalEntry> entries_;
    std::ofstream file_;
};

}  // namespace tds
