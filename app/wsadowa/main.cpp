// The unattended program on Linux.
#include "app/wsadowa/ProgramWsadowy.h"

int main(int argc, char** argv) {
    return zuv::UruchomProgramWsadowy(std::vector<std::string>(argv + 1, argv + argc));
}
