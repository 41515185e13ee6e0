// The command-line program: halvoren [options] FILE.
#include <unistd.h>

#include <string>
#include <vector>

#include "shell/HalvorenApp.h"
#include "shell/Interrupt.h"

int main(int argc, char** argv) {
    installInterruptHandler();
    const std::vector<std::string> args(argv + 1, argv + argc);
    HalvorenEnvironment env;
    env.stderrIsTerminal = isatty(STDERR_FILENO) != 0;
    return halvorenMain(args, env);
}
