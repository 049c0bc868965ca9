#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "BatchPatterns.h"
#include "DatabaseState.h"
#include "ServerConfig.h"
#include "SystemQueries.h"

namespace tds {

// What a batch sees: the database as the session reads it, and the server's settings.
struct BatchContext {
    const DatabaseState& view;
    std::string_view productVersion;
    bool inTransaction = false;
    const std::vector<FailBatchFault>& failBatches;
    bool inProcedure = false;  // the text came in a procedure call (sp_executesql and the like)
    // The server around the database, for the system queries; without it they are ordinary
    // batches.
    const SystemView* system = nullptr;
};

struct BatchOutcome {
    // The complete reply, ending in a DONE without MORE; in a procedure call, the statements'
    // tokens only.
    std::vector<std::uint8_t> tokens;
    std::vector<Change> changes;   // to commit now, or at the end of the transaction
    bool endsTransaction = false;  // the batch rolled the session's transaction back
    // What the server could not do as asked, for its log and journal.
    std::vector<std::string> notes;
};

// Answers SQL batches from a fixed rule table; any other text succeeds without effect. Holds
// what lives as long as the session: its #WA_OPCJE_TMP and the package being run (the last
// opening batch seen and how many batches came since).
class BatchResponder {
  public:
    BatchOutcome respond(std::string_view text, const BatchContext& context);

    // The hold of `blocks` that falls on `text` if it came next, without counting it as a batch
    // of the package; null when none does.
    const BlockBatchFault* heldBy(std::string_view text,
                                  const std::vector<BlockBatchFault>& blocks) const;

  private:
    // The package and batch number `text` is, its opening batch (if it is one) parsed already:
    // an opening batch is 1 of its own package, any other batch the next of the package being
    // run. No package (empty) before the first opening batch.
    std::pair<std::string, int> positionOf(const std::optional<OpeningBatch>& opening) const;
    void trackPackage(const std::optional<OpeningBatch>& opening);
    const FailBatchFault* injectedFailure(const BatchContext& context) const;

    bool optionsTableExists_ = false;
    std::vector<std::string> optionKeys_;
    std::string package_;
    int packageBatch_ = 0;
};

}  // namespace tds
