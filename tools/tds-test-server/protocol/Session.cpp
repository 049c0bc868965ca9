#include "Session.h"

#include <array>
#include <exception>
#include <iostream>
#include <optional>

#include "AppLocks.h"
#include "Login.h"
#include "Reply.h"
#include "Requests.h"
#include "RpcRequest.h"
#include "TokenWriter.h"
#include "TokensForVersion.h"

namespace tds {
namespace {

std::array<std::uint8_t, 8> descriptorBytes(std::uint64_t descriptor) {
    std::array<std::uint8_t, 8> bytes{};
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<std::uint8_t>(descriptor >> (8 * i));
    }
    return bytes;
}

std::vector<std::uint8_t> attentionReply() {
    TokenBuffer reply;
    reply.done(done_status::kAttention);
    return reply.take();
}

}  // namespace

Session::Session(UniqueFd socket, ServerContext& context)
    : socket_(std::move(socket)),
      context_(context),
      transport_(socket_.get()),
      reader_(transport_, context.stopFd()),
      id_(context.nextSessionId()),
      spid_(context.processes().open()) {}

void Session::run() noexcept {
    try {
        const bool loggedIn = logIn();
        context_.recordConnection(
            {id_, encryption_, loggedIn ? std::optional(version_) : std::nullopt});
        if (loggedIn) {
            Message message;
            while (readNext(message) && handle(message) == Next::Continue) {
            }
        }
    } catch (const std::exception& error) {
        std::cerr << "tds-test-server: session " << id_ << ": " << error.what() << std::endl;
    }
    if (!transport_.error().empty()) {
        std::cerr << "tds-test-server: session " << id_ << ": " << transport_.error() << std::endl;
    }
    // The session's application locks end with it, as on a real server.
    context_.appLocks().releaseAll(id_);
    context_.processes().close(spid_);
    if (loggedIn_) {
        // The driver sends nothing on disconnect; an open transaction ends here, rolled back.
        journal(RequestKind::Disconnect);
    }
}

bool Session::logIn() {
    const LoginFault fault = context_.config().faults.login;
    Message message;
    if (fault == LoginFault::Silent) {
        // Reads whatever comes and never answers, until the client or the server gives up.
        while (reader_.read(message) == MessageReader::Status::Ok) {
        }
        return false;
    }
    if (reader_.read(message) != MessageReader::Status::Ok) return false;
    if (message.type == packet_type::kPreLogin) {
        if (fault == LoginFault::DropAtPreLogin) return false;
        if (fault == LoginFault::ResetAtPreLogin) {
            resetOnClose(socket_.get());
            return false;
        }
        if (!answerPreLogin(message)) return false;
        if (reader_.read(message) != MessageReader::Status::Ok) return false;
        // The log-in packet alone was encrypted: the session goes on in plain.
        if (encryption_ == EncryptionOutcome::LoginOnly) reader_.stopTls();
    }
    if (message.type != packet_type::kLogin7) return false;
    const auto login = parseLogin7(message.payload);
    if (!login) return false;
    context_.recordLogin(*login);
    // Every reply from here on, the log-in's own included, is in the version both sides speak.
    version_ = negotiatedVersion(
        context_.config().tdsVersion.value_or(tdsVersionOfProduct(context_.productVersion())),
        login->tdsVersion);
    if (fault == LoginFault::DropAtLogin7) return false;
    if (fault == LoginFault::ResetAtLogin7) {
        resetOnClose(socket_.get());
        return false;
    }
    if (fault == LoginFault::NoAck) {
        // The packet is taken and nothing comes back, until the client gives up or the server
        // stops.
        while (reader_.read(message) == MessageReader::Status::Ok) {
        }
        return false;
    }
    if (fault == LoginFault::DropBeforeAck) {
        send(loginReplyWithoutAck(context_.config().database));
        return false;
    }
    if (fault == LoginFault::DelayAck &&
        reader_.read(message, context_.config().faults.loginDelay) !=
            MessageReader::Status::Timeout) {
        return false;  // the client gave up (or the server stops) before the answer
    }

    const std::vector<ServerMessage> errors = loginErrors(*login, context_.config());
    if (!errors.empty()) {
        journal(RequestKind::LoginFailed);
        send(loginFailedReply(errors));
        return false;
    }
    journal(RequestKind::Login);
    const std::size_t packetSize = negotiatedPacketSize(*login);
    if (!send(loginAcceptedReply(context_.config().database, packetSize, login->packetSize,
                                 context_.productVersion(), version_))) {
        return false;
    }
    loggedIn_ = true;
    packetSize_ = packetSize;
    return true;
}

// The server's encryption setting against the client's, and where they agree on TLS, its
// handshake. False when the connection ends here.
bool Session::answerPreLogin(const Message& preLogin) {
    const EncryptionAgreement agreement =
        agreeEncryption(context_.config().encryption, clientEncryption(preLogin.payload));
    encryption_ = agreement.outcome;
    if (!sendMessage(transport_, packet_type::kReply,
                     preLoginReply(context_.productVersion(), agreement.reply),
                     kDefaultPacketSize)) {
        return false;
    }
    switch (agreement.outcome) {
        case EncryptionOutcome::None:
            return true;
        case EncryptionOutcome::Refused:
            std::cerr << "tds-test-server: session " << id_
                      << ": the client cannot encrypt and the server requires encryption; "
                         "connection closed"
                      << std::endl;
            return false;
        case EncryptionOutcome::LoginOnly:
        case EncryptionOutcome::Full:
            break;
    }
    return shakeHands();
}

// TLS inside pre-login messages: each flight of the client's handshake comes as the payload of
// one, and the server's answer goes back as the payload of another. The records after the
// handshake travel on the connection as they are.
bool Session::shakeHands() {
    auto tls = std::make_unique<TlsSession>(*context_.tls());
    for (;;) {
        Message message;
        if (reader_.read(message) != MessageReader::Status::Ok) return false;
        if (message.type != packet_type::kPreLogin) {
            std::cerr << "tds-test-server: session " << id_ << ": a message of type "
                      << int{message.type} << " arrived during the TLS handshake" << std::endl;
            return false;
        }
        tls->feed(message.payload);
        const TlsSession::Handshake state = tls->handshake();
        const std::vector<std::uint8_t> answer = tls->takeOutput();
        if (!answer.empty() &&
            !sendMessage(transport_, packet_type::kPreLogin, answer, kDefaultPacketSize)) {
            return false;
        }
        switch (state) {
            case TlsSession::Handshake::Continue:
                continue;
            case TlsSession::Handshake::Failed:
                std::cerr << "tds-test-server: session " << id_ << ": " << tls->error()
                          << std::endl;
                return false;
            case TlsSession::Handshake::Done:
                return reader_.startTls(std::move(tls));
        }
    }
}

bool Session::readNext(Message& message) {
    if (!deferred_.empty()) {
        message = std::move(deferred_.front());
        deferred_.pop_front();
        return true;
    }
    return reader_.read(message) == MessageReader::Status::Ok;
}

Session::Next Session::handle(const Message& message) {
    switch (message.type) {
        case packet_type::kAttention:
            // Also when idle: the driver cancels after an error-first batch, with nothing
            // running here, and waits for this DONE.
            journal(RequestKind::Attention);
            return send(attentionReply()) ? Next::Continue : Next::Close;
        case packet_type::kSqlBatch:
        case packet_type::kRpc:
        case packet_type::kTransactionManager:
            return handleRequest(message);
        default: {
            TokenBuffer reply;
            reply.message({0, 1, 16,
                           "The test server understands SQL batches, remote procedure calls and "
                           "transaction requests only."});
            reply.done(done_status::kError);
            return send(reply.take()) ? Next::Continue : Next::Close;
        }
    }
}

Session::Next Session::handleRequest(const Message& message) {
    std::string text;
    std::optional<TransactionRequest> transactionRequest;
    std::vector<ProcedureAction> procedures;
    if (message.type == packet_type::kSqlBatch) {
        text = decodeSqlBatch(message.payload);
        // Before 7.2 the driver asks for its transactions in batches of its own.
        if (!isTds72OrLater(version_))
            transactionRequest = transactionInBatch(text, transaction_.open);
    } else if (message.type == packet_type::kRpc) {
        try {
            for (const RpcCall& call : decodeRpcRequest(message.payload)) {
                procedures.push_back(procedureCalls_.resolve(call));
                // Appended in two steps: `"\n" + std::string` here makes GCC 12 at -O3 report a
                // false -Wrestrict overlap inside std::string's insert.
                if (!text.empty()) text += '\n';
                text += procedures.back().journalText();
            }
        } catch (const RpcDecodeError& error) {
            TokenBuffer reply;
            reply.message(
                {0, 1, 16,
                 std::string("The test server cannot read this call: ") + error.what() + "."});
            reply.done(done_status::kError);
            return send(reply.take()) ? Next::Continue : Next::Close;
        }
    } else {
        transactionRequest = parseTransactionRequest(message.payload);
        if (!transactionRequest) {
            TokenBuffer reply;
            reply.done(done_status::kFinal);
            return send(reply.take()) ? Next::Continue : Next::Close;
        }
    }

    const std::uint64_t number = context_.nextRequestNumber();
    const RequestKind kind = transactionRequest   ? transactionRequest->kind
                             : procedures.empty() ? RequestKind::Batch
                                                  : RequestKind::Rpc;
    journal(kind, text);
    const Faults& faults = context_.config().faults;
    if (faults.dropsAt(number)) return Next::Close;
    if (faults.resetsAt(number)) {
        resetOnClose(socket_.get());
        return Next::Close;
    }
    if (faults.hangsAt(number)) return hang();
    // A wait that ends otherwise than by running out ends the request: closed, or cancelled.
    const auto afterWait = [&](Wait wait) -> std::optional<Next> {
        switch (wait) {
            case Wait::Closed:
                return Next::Close;
            case Wait::Cancelled:
                journal(RequestKind::Attention);
                return send(attentionReply()) ? Next::Continue : Next::Close;
            case Wait::Elapsed:
                break;
        }
        return std::nullopt;
    };
    if (const auto delay = faults.delayFor(number))
        if (const auto next = afterWait(waitWatchingAttention(*delay))) return *next;
    if (const FailRequestFault* failure = faults.failureFor(number)) {
        TokenBuffer reply;
        reply.message({failure->number, 1, 16, failure->message});
        reply.done(done_status::kError);
        return send(reply.take()) ? Next::Continue : Next::Close;
    }
    if (const BlockBatchFault* block =
            kind == RequestKind::Batch ? responder_.heldBy(text, faults.blockBatches) : nullptr)
        if (const auto next = afterWait(holdAsBlocked(*block))) return *next;
    const std::vector<std::uint8_t> reply = transactionRequest
                                                ? runTransactionRequest(*transactionRequest)
                                            : kind == RequestKind::Rpc ? runProcedures(procedures)
                                                                       : runBatch(text);
    return send(reply) ? Next::Continue : Next::Close;
}

Session::Next Session::hang() {
    for (;;) {
        Message message;
        switch (reader_.read(message, std::chrono::hours(1))) {
            case MessageReader::Status::Closed:
                return Next::Close;
            case MessageReader::Status::Timeout:
                break;
            case MessageReader::Status::Ok:
                // Received and journalled, never answered.
                if (message.type == packet_type::kAttention) journal(RequestKind::Attention);
                break;
        }
    }
}

Session::Wait Session::waitWatchingAttention(std::chrono::milliseconds delay) {
    const auto deadline = std::chrono::steady_clock::now() + delay;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return Wait::Elapsed;
        Message message;
        switch (reader_.read(message, left)) {
            case MessageReader::Status::Timeout:
                return Wait::Elapsed;
            case MessageReader::Status::Closed:
                return Wait::Closed;
            case MessageReader::Status::Ok:
                if (message.type == packet_type::kAttention) return Wait::Cancelled;
                deferred_.push_back(std::move(message));
                break;
        }
    }
}

Session::Wait Session::holdAsBlocked(const BlockBatchFault& block) {
    journal(RequestKind::Note, "batch " + std::to_string(block.batch) + " of " +
                                   block.packageVersion + " waits on a lock of session " +
                                   std::to_string(block.blocker));
    // The wait is visible to the other sessions' sysprocesses queries until it ends, however it
    // ends.
    struct WaitEntry {
        ProcessList& processes;
        int spid;
        ~WaitEntry() { processes.endWait(spid); }
    } entry{context_.processes(), spid_};
    context_.processes().startWait(spid_, block.blocker);
    return waitWatchingAttention(block.hold);
}

std::vector<std::uint8_t> Session::runBatch(const std::string& text, bool inProcedure) {
    if (const std::optional<AppLockCall> call = parseAppLockCall(text))
        return runAppLockCall(*call, inProcedure);
    const DatabaseState view = context_.state().viewWith(transaction_.pending);
    const std::string productVersion = context_.productVersion();
    const std::vector<FailBatchFault> failBatches = context_.failBatches();
    const SystemView system{context_.config(), context_.processes(), spid_, context_.started()};
    BatchOutcome outcome = responder_.respond(
        text,
        BatchContext{view, productVersion, transaction_.open, failBatches, inProcedure, &system});
    for (std::string& note : outcome.notes) {
        std::cerr << "tds-test-server: session " << id_ << ": " << note << std::endl;
        journal(RequestKind::Note, std::move(note));
    }
    if (outcome.endsTransaction) {
        // The ENVCHANGE that tells the client its transaction is gone comes first, as the
        // server rolls back before it reports the error.
        TokenBuffer reply;
        reply.envChangeBytes(env_change::kRollbackTransaction, {},
                             descriptorBytes(transaction_.descriptor));
        reply.append(outcome.tokens);
        transaction_ = Transaction{};
        return reply.take();
    }
    if (transaction_.open) {
        transaction_.pending.insert(transaction_.pending.end(), outcome.changes.begin(),
                                    outcome.changes.end());
    } else {
        context_.state().commit(outcome.changes);
    }
    return std::move(outcome.tokens);
}

// sp_getapplock answers its return code as the batch's one row (0 granted, -1 held by another
// session: the program asks without waiting); sp_releaseapplock of a lock the session does not
// hold fails with error 1223, as on SQL Server.
std::vector<std::uint8_t> Session::runAppLockCall(const AppLockCall& call, bool inProcedure) {
    Reply reply(transaction_.open, inProcedure);
    if (call.acquire) {
        int holder = 0;
        const bool granted = context_.appLocks().acquire(call.resource, id_, holder);
        journal(RequestKind::Note,
                "application lock '" + call.resource + "' " +
                    (granted ? std::string("granted")
                             : "refused: held by session " + std::to_string(holder)));
        reply.resultSet({{ColumnType::IntN, "", 4}}, {{std::int32_t{granted ? 0 : -1}}}, true);
    } else if (context_.appLocks().release(call.resource, id_)) {
        journal(RequestKind::Note, "application lock '" + call.resource + "' released");
        reply.done();
    } else {
        reply.fail({1223, 1, 16,
                    "Cannot release the application lock (Database Principal: 'public', "
                    "Resource: '" +
                        call.resource + "') because it is not currently held."});
    }
    return reply.take();
}

// Each call: the statement's tokens (a statement runs as the same text sent as a batch would),
// then the return status, the handle of a prepared statement, and DONEPROC.
std::vector<std::uint8_t> Session::runProcedures(const std::vector<ProcedureAction>& procedures) {
    TokenBuffer reply;
    for (std::size_t i = 0; i < procedures.size(); ++i) {
        const ProcedureAction& action = procedures[i];
        std::uint16_t status = i + 1 < procedures.size() ? done_status::kMore : done_status::kFinal;
        if (action.error) {
            reply.message(*action.error);
            status |= done_status::kError;
        } else {
            if (action.statement) reply.append(runBatch(*action.statement, true));
            reply.returnStatus(0);
        }
        if (action.handle) reply.returnValue(0, action.handleName, *action.handle);
        if (transaction_.open) status |= done_status::kInTransaction;
        reply.doneProc(status);
    }
    return reply.take();
}

std::vector<std::uint8_t> Session::runTransactionRequest(const TransactionRequest& request) {
    TokenBuffer reply;
    auto begin = [&] {
        transaction_.open = true;
        transaction_.descriptor = context_.nextTransactionDescriptor();
        transaction_.pending.clear();
        reply.envChangeBytes(env_change::kBeginTransaction,
                             descriptorBytes(transaction_.descriptor), {});
    };
    if (request.kind == RequestKind::Begin) {
        if (transaction_.open) {
            // Nested begin: the outer transaction goes on.
            reply.envChangeBytes(env_change::kBeginTransaction,
                                 descriptorBytes(transaction_.descriptor), {});
        } else {
            begin();
        }
    } else if (!transaction_.open) {
        // Nothing to end (the server ended it itself): refused. Whether the begin part of the
        // request is still carried out is the server's setting.
        const bool commit = request.kind == RequestKind::Commit;
        reply.message({commit ? 3902 : 3903, 1, 16,
                       commit ? "The COMMIT TRANSACTION request has no corresponding BEGIN "
                                "TRANSACTION."
                              : "The ROLLBACK TRANSACTION request has no corresponding BEGIN "
                                "TRANSACTION."});
        if (request.beginNew && context_.config().refusedEndBegins) begin();
        reply.done(static_cast<std::uint16_t>(
            done_status::kError |
            (transaction_.open ? done_status::kInTransaction : done_status::kFinal)));
        return reply.take();
    } else {
        const bool commit = request.kind == RequestKind::Commit;
        if (commit) context_.state().commit(transaction_.pending);
        transaction_.pending.clear();
        transaction_.open = false;
        reply.envChangeBytes(
            commit ? env_change::kCommitTransaction : env_change::kRollbackTransaction, {},
            descriptorBytes(transaction_.descriptor));
        transaction_.descriptor = 0;
        if (request.beginNew) begin();
    }
    reply.done(transaction_.open ? done_status::kInTransaction : done_status::kFinal);
    return reply.take();
}

bool Session::send(const std::vector<std::uint8_t>& tokens) {
    if (isTds72OrLater(version_)) {
        return sendMessage(transport_, packet_type::kReply, tokens, packetSize_);
    }
    return sendMessage(transport_, packet_type::kReply, tokensForVersion(tokens, version_),
                       packetSize_);
}

void Session::journal(RequestKind kind, std::string text) {
    context_.journal().record(JournalEntry{id_, transaction_.open, kind, std::move(text)});
}

}  // namespace tds
