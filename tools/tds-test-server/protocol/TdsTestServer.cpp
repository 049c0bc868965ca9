#include "TdsTestServer.h"

#include <atomic>
#include <chrono>
#include <iostream>
#include <list>
#include <mutex>
#include <system_error>
#include <thread>

#include "ServerContext.h"
#include "Session.h"
#include "Socket.h"
#include "StateStore.h"

namespace tds {

struct Server::Impl {
    struct Worker {
        std::thread thread;
        std::atomic<bool> finished{false};
    };

    explicit Impl(ServerConfig configuration)
        : config(checked(std::move(configuration))),
          state(config.statePath, config.initVersion),
          journal(config.journalPath),
          listener(listenOnLoopback(config.port)),
          port(boundPort(listener.get())),
          context(config, state, journal, stop.fd()) {
        acceptor = std::thread([this] { acceptLoop(); });
    }

    static ServerConfig checked(ServerConfig configuration) {
        checkConfig(configuration);
        return configuration;
    }

    ~Impl() {
        stop.stop();
        if (acceptor.joinable()) acceptor.join();
        // The acceptor is gone, so nobody adds workers any more.
        for (Worker& worker : workers) worker.thread.join();
    }

    void acceptLoop() {
        while (waitReadable(listener.get(), stop.fd(), -1) == WaitResult::Ready) {
            UniqueFd socket = acceptConnection(listener.get());
            if (!socket.valid()) {
                // Out of descriptors or a connection reset before accept: retry a little later
                // rather than spin.
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
                continue;
            }
            reapFinishedWorkers();
            Worker& worker = workers.emplace_back();
            try {
                worker.thread = std::thread(
                    [this, &worker](UniqueFd connection) {
                        Session(std::move(connection), context).run();
                        worker.finished = true;
                    },
                    std::move(socket));
            } catch (const std::system_error& error) {
                workers.pop_back();
                std::cerr << "tds-test-server: no thread for a connection: " << error.what()
                          << std::endl;
            }
        }
    }

    // A long-running server sees many short connections; their threads are joined as it goes.
    void reapFinishedWorkers() {
        workers.remove_if([](Worker& worker) {
            if (!worker.finished) return false;
            worker.thread.join();
            return true;
        });
    }

    const ServerConfig config;
    StateStore state;
    Journal journal;
    StopSignal stop;
    UniqueFd listener;
    const std::uint16_t port;
    ServerContext context;
    std::list<Worker> workers;  // touched by the acceptor thread only, then by the destructor
    std::thread acceptor;
};

Server::Server(ServerConfig config) : impl_(std::make_unique<Impl>(std::move(config))) {}

Server::~Server() = default;

std::uint16_t Server::port() const { return impl_->port; }

DatabaseState Server::state() const { return impl_->state.committed(); }

std::vector<VersionRow> Server::versionRows() const { return impl_->state.committed().rows; }

GenerationMapping Server::generationMapping() const { return impl_->state.committed().generation; }

void Server::setVersionRows(std::vector<VersionRow> rows) {
    impl_->state.replaceRows(std::move(rows));
}

void Server::setGenerationMapping(GenerationMapping mapping) {
    impl_->state.replaceGenerationMapping(std::move(mapping));
}

void Server::setProductVersion(std::string version) {
    impl_->context.setProductVersion(std::move(version));
}

void Server::setFailBatches(std::vector<FailBatchFault> faults) {
    impl_->context.setFailBatches(std::move(faults));
}

std::vector<JournalEntry> Server::journal() const { return impl_->journal.entries(); }

std::vector<LoginRequest> Server::logins() const { return impl_->context.logins(); }

std::vector<ConnectionRecord> Server::connections() const { return impl_->context.connections(); }

}  // namespace tds
