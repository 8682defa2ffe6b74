// vestrel-cal entry point: the local date, whether to colour, then RunCli.
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <iostream>

#include "cli/cli.h"

int main(int argc, char** argv) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    CliEnv env{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
               isatty(STDOUT_FILENO) == 1 && std::getenv("NO_COLOR") == nullptr};
    return RunCli(argc, argv, std::cout, std::cerr, env);
}
