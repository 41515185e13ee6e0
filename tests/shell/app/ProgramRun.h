#pragma once
// Runs the program as a process in a scratch folder (relative paths are
// taken there) with HALVOREN_HOME at its "home", catching its exit code and
// both outputs there.
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "support/ScratchDir.h"

namespace progtest {

inline std::string readText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

struct RunResult {
    int code;
    std::string out;
    std::string err;
};

// env: further variables set before the program, as a shell would.
inline RunResult runProgram(const hvtest::ScratchDir& dir, const std::string& args, const std::string& env = "")
{
    const std::string out = dir.file("stdout.txt");
    const std::string err = dir.file("stderr.txt");
    const std::string command = "cd '" + dir.path() + "' && HALVOREN_HOME='" + dir.file("home") + "' " + env + " '" +
                                HALVOREN_EXE + "' " + args +
                                " >'" + out + "' 2>'" + err + "' </dev/null";
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readText(out), readText(err)};
}

}  // namespace progtest
