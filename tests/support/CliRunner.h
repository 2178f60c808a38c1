// Runs the brisko command as a script would and gives back what it printed and its exit code.
#pragma once

#include <string>

namespace brisko::test {

struct CommandRun {
    int exitCode = -1;
    std::string output;  // standard output and error together
    std::string out;     // standard output alone
};

// `arguments` are appended to the command as they are (quote them as a shell would need).
CommandRun RunBrisko(const std::string& arguments);

}  // namespace brisko::test
