// The server as a program: its command line, the ready line, the journal and state files, a
// session through FreeTDS's tsql, and a clean stop on SIGTERM.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "TestSupport.h"

extern char** environ;

namespace {

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The server binary as a child process with its stdout on a pipe; stopped with SIGTERM.
class ServerProcess {
  public:
    explicit ServerProcess(std::vector<std::string> arguments) {
        int fds[2];
        if (pipe(fds) != 0) throw std::runtime_error("pipe failed");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        arguments.insert(arguments.begin(), TDS_TEST_SERVER_PROGRAM);
        std::vector<char*> argv;
        for (std::string& argument : arguments) argv.push_back(argument.data());
        argv.push_back(nullptr);
        const int rc =
            posix_spawn(&pid_, TDS_TEST_SERVER_PROGRAM, &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        output_ = fds[0];
        if (rc != 0) pid_ = -1;
    }

    ~ServerProcess() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        close(output_);
    }

    // The first line of stdout, or "" after five seconds or at end of output.
    std::string firstLine() {
        std::string line;
        char c = 0;
        pollfd fd{output_, POLLIN, 0};
        while (poll(&fd, 1, 5000) == 1 && read(output_, &c, 1) == 1 && c != '\n') line += c;
        return line;
    }

    // Sends `signal` and returns the exit status (-1 if it did not exit normally).
    int stop(int signal) {
        kill(pid_, signal);
        int status = 0;
        waitpid(pid_, &status, 0);
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

  private:
    pid_t pid_ = -1;
    int output_ = -1;
};

TEST(ServerProgram, ServesUntilSigtermWithStateAndJournalFiles) {
    if (!std::filesystem::exists("/usr/bin/tsql")) GTEST_SKIP() << "FreeTDS tsql is not installed";
    tds_test::TempDir dir;
    const auto state = dir.path() / "state.txt";
    const auto journal = dir.path() / "journal.jsonl";
    ServerProcess server({"--port", "0", "--state", state.string(), "--init-version", "7.12.0.7",
                          "--journal", journal.string(), "--user", "admin", "--password",
                          "Hasło1"});
    const std::string ready = server.firstLine();
    std::smatch match;
    ASSERT_TRUE(std::regex_match(ready, match, std::regex(R"(listening on 127\.0\.0\.1:(\d+))")))
        << ready;

    const std::string command =
        "printf \"select wartosc from konfig_st where nazwa = 'TERVO_WERSJA'\\ngo\\nexit\\n\" | "
        "tsql -H 127.0.0.1 -p " +
        match[1].str() + " -U admin -P Hasło1 -D ZUV 2>&1";
    const std::string output = tds_test::commandOutput(command);
    EXPECT_NE(output.find("7.12.0.7"), std::string::npos) << output;

    EXPECT_EQ(server.stop(SIGTERM), 0);
    EXPECT_EQ(readFile(journal),
              "{\"session\":1,\"transaction\":false,\"kind\":\"login\",\"text\":\"\"}\n"
              "{\"session\":1,\"transaction\":false,\"kind\":\"batch\",\"text\":\"select wartosc "
              "from konfig_st where nazwa = 'TERVO_WERSJA'\\n\"}\n"
              "{\"session\":1,\"transaction\":false,\"kind\":\"disconnect\",\"text\":\"\"}\n");
    EXPECT_NE(readFile(state).find("konfig_st \"WERSJE\" \"TERVO_WERSJA\" \"7.12.0.7\""),
              std::string::npos);
}

TEST(ServerProgram, BadArgumentsExitWithUsage) {
    ServerProcess server({"--fail-batch", "8.2.0.6:x"});
    EXPECT_EQ(server.stop(0), 2);
}

}  // namespace
