#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "BatchResponder.h"
#include "Journal.h"
#include "PacketIo.h"
#include "PreLogin.h"
#include "ProcedureCalls.h"
#include "ServerContext.h"
#include "Socket.h"
#include "TdsVersion.h"
#include "Transport.h"

namespace tds {

struct TransactionRequest;

// One client connection, from pre-login to close, on its own thread. Changes made inside a
// transaction stay with the session until commit; whatever is still open when the connection
// ends is dropped, as a rollback.
class Session {
  public:
    Session(UniqueFd socket, ServerContext& context);

    // Returns when the client closes, a fault drops the connection or the server stops. Errors
    // are reported on stderr and end the session; nothing escapes.
    void run() noexcept;

  private:
    enum class Next { Continue, Close };
    enum class Wait { Elapsed, Cancelled, Closed };

    bool logIn();
    bool answerPreLogin(const Message& preLogin);
    bool shakeHands();
    bool readNext(Message& message);
    Next handle(const Message& message);
    Next handleRequest(const Message& message);
    Wait waitWatchingAttention(std::chrono::milliseconds delay);
    // A batch held as if it waited on another session's lock (Faults::blockBatches).
    Wait holdAsBlocked(const BlockBatchFault& block);
    // A request never answered (Faults::hangAtRequests): reads on until the connection closes.
    Next hang();
    std::vector<std::uint8_t> runAppLockCall(const AppLockCall& call, bool inProcedure);
    std::vector<std::uint8_t> runBatch(const std::string& text, bool inProcedure = false);
    std::vector<std::uint8_t> runProcedures(const std::vector<ProcedureAction>& procedures);
    std::vector<std::uint8_t> runTransactionRequest(const TransactionRequest& request);
    bool send(const std::vector<std::uint8_t>& tokens);
    void journal(RequestKind kind, std::string text = {});

    UniqueFd socket_;
    ServerContext& context_;
    Transport transport_;
    MessageReader reader_;
    const int id_;
    // The session's number as the server's system views and @@SPID give it.
    const int spid_;
    std::size_t packetSize_ = kDefaultPacketSize;
    // What the log-in settled: encryption, and the protocol every reply is written in.
    EncryptionOutcome encryption_ = EncryptionOutcome::None;
    TdsVersion version_ = TdsVersion::V7_4;
    bool loggedIn_ = false;
    std::deque<Message> deferred_;  // requests that arrived while a delayed reply was pending
    BatchResponder responder_;
    ProcedureCalls procedureCalls_;

    struct Transaction {
        bool open = false;
        std::uint64_t descriptor = 0;
        std::vector<Change> pending;
    } transaction_;
};

}  // namespace tds
