// vestrel-cal entry point: the local date, whether to colour, RunCli, then whether stdout took it all.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <iostream>

#include "cli/cli.h"

int main(int argc, char** argv) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    CliEnv env{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
               UseColor(isatty(STDOUT_FILENO) == 1, std::getenv("NO_COLOR"), std::getenv("TERM"))};
    // std::cout writes through to stdout (synchronised with stdio). When a write fails, RunCli stops
    // at once, so errno still tells why; stdio may have dropped the unwritten bytes by then.
    errno = 0;
    const int status = RunCli(argc, argv, std::cout, std::cerr, env);
    const int reason = errno;
    if (status == 2) return status;
    if (status == kCliStopped) return 1;  // named on stderr
    return CloseOutput(stdout, status == 1, reason, std::cerr);
}
