#include "Journal.h"

#include <nlohmann/json.hpp>
#include <stdexcept>

namespace tds {

std::string_view kindName(RequestKind kind) {
    switch (kind) {
        case RequestKind::Login:
            return "login";
        case RequestKind::LoginFailed:
            return "login_failed";
        case RequestKind::Batch:
            return "batch";
        case RequestKind::Rpc:
            return "rpc";
        case RequestKind::Begin:
            return "begin";
        case RequestKind::Commit:
            return "commit";
        case RequestKind::Rollback:
            return "rollback";
        case RequestKind::Attention:
            return "attention";
        case RequestKind::Disconnect:
            return "disconnect";
        case RequestKind::Note:
            return "note";
    }
    return "unknown";
}

std::string toJsonLine(const JournalEntry& entry) {
    // ordered_json keeps the fields in the order readers of the journal know; a batch text that
    // is not valid UTF-8 gets U+FFFD for its broken bytes instead of stopping the server.
    const nlohmann::ordered_json line = {{"session", entry.session},
                                         {"transaction", entry.transaction},
                                         {"kind", kindName(entry.kind)},
                                         {"text", entry.text}};
    return line.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

Journal::Journal(const std::filesystem::path& file) {
    if (file.empty()) return;
    file_.open(file, std::ios::binary | std::ios::app);
    if (!file_) throw std::runtime_error("cannot open journal file " + file.string());
}

void Journal::record(JournalEntry entry) {
    std::lock_guard lock(mutex_);
    if (file_.is_open()) {
        file_ << toJsonLine(entry) << '\n';
        file_.flush();
    }
    entries_.push_back(std::move(entry));
}

std::vector<JournalEntry> Journal::entries() const {
    std::lock_guard lock(mutex_);
    return entries_;
}

}  // namespace tds
