#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "BatchPatterns.h"
#include "DatabaseState.h"
#include "ServerConfig.h"

namespace tds {

// What a batch sees: the database as the session reads it, and the server's settings.
struct BatchContext {
    const DatabaseState& view;
    std::string_view productVersion;
    bool inTransaction = false;
    const std::vector<FailBatchFault>& failBatches;
    bool inProcedure = false;  // the text came in a procedure call (sp_executesql and the like)
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

  private:
    void trackPackage(const std::optional<OpeningBatch>& opening);
    const FailBatchFault* injectedFailure(const BatchContext& context) const;

    bool optionsTableExists_ = false;
    std::vector<std::string> optionKeys_;
    std::string package_;
    int packageBatch_ = 0;
};

}  // namespace tds
