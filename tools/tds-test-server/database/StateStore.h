#pragma once

#include <filesystem>
#include <mutex>
#include <string_view>
#include <vector>

#include "DatabaseState.h"

namespace tds {

// The committed database state, shared by all sessions and written to the state file after
// every change (when there is a file).
class StateStore {
  public:
    // Loads the file when it exists; otherwise starts from DatabaseState::initial(initialVersion)
    // and writes it. An empty path keeps the state in memory. Throws std::runtime_error.
    StateStore(std::filesystem::path file, std::string_view initialVersion);

    DatabaseState committed() const;
    // The committed state with a session's uncommitted changes on top: what that session reads.
    DatabaseState viewWith(const std::vector<Change>& pending) const;

    // Applies the changes together and persists them. Throws std::runtime_error when the file
    // cannot be written; the changes then stay applied in memory.
    void commit(const std::vector<Change>& changes);
    void replaceRows(std::vector<VersionRow> rows);
    void replaceGenerationMapping(GenerationMapping mapping);

  private:
    void persistLocked() const;

    std::filesystem::path file_;
    mutable std::mutex mutex_;
    DatabaseState state_;
};

}  // namespace tds
