#include "StateStore.h"

#include "StateFile.h"

namespace tds {

StateStore::StateStore(std::filesystem::path file, std::string_view initialVersion)
    : file_(std::move(file)) {
    if (!file_.empty() && std::filesystem::exists(file_)) {
        state_ = loadStateFile(file_);
    } else {
        state_ = DatabaseState::initial(initialVersion);
        persistLocked();
    }
}

DatabaseState StateStore::committed() const {
    std::lock_guard lock(mutex_);
    return state_;
}

DatabaseState StateStore::viewWith(const std::vector<Change>& pending) const {
    DatabaseState view = committed();
    for (const Change& change : pending) applyChange(view, change);
    return view;
}

void StateStore::commit(const std::vector<Change>& changes) {
    if (changes.empty()) return;
    std::lock_guard lock(mutex_);
    for (const Change& change : changes) applyChange(state_, change);
    persistLocked();
}

void StateStore::replaceRows(std::vector<VersionRow> rows) {
    std::lock_guard lock(mutex_);
    state_.rows = std::move(rows);
    persistLocked();
}

void StateStore::replaceGenerationMapping(GenerationMapping mapping) {
    std::lock_guard lock(mutex_);
    state_.generation = std::move(mapping);
    persistLocked();
}

void StateStore::persistLocked() const {
    if (!file_.empty()) saveStateFile(file_, state_);
}

}  // namespace tds
