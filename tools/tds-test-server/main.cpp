// The test server as a program: parse the options, serve until SIGINT or SIGTERM.

#include <pthread.h>
#include <signal.h>

#include <exception>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "TdsTestServer.h"

int main(int argc, char** argv) {
    tds::CommandLine commandLine;
    try {
        commandLine = tds::parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::invalid_argument& error) {
        std::cerr << "tds-test-server: " << error.what() << "\n\n" << tds::usage();
        return 2;
    }
    if (commandLine.help) {
        std::cout << tds::usage();
        return 0;
    }

    // Blocked before any thread starts, so every thread inherits the mask and the signals wait
    // for sigwait below.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    try {
        tds::Server server(std::move(commandLine.config));
        std::cout << "listening on 127.0.0.1:" << server.port() << std::endl;
        int received = 0;
        sigwait(&signals, &received);
    } catch (const std::exception& error) {
        std::cerr << "tds-test-server: " << error.what() << std::endl;
        return 1;
    }
    return 0;
}
