#include "support/CliRunner.h"

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace brisko::test {

namespace {
std::string Capture(const std::string& command, int& exitCode) {
    std::string output;
    std::FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return output;
    std::array<char, 4096> buffer;
    while (std::size_t n = std::fread(buffer.data(), 1, buffer.size(), pipe))
        output.append(buffer.data(), n);
    int status = pclose(pipe);
    exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return output;
}
}  // namespace

CommandRun RunBrisko(const std::string& arguments) {
    CommandRun run;
    std::filesystem::path errors =
        std::filesystem::temp_directory_path() / ("brisko-err-" + std::to_string(getpid()));
    run.out = Capture(std::string(BRISKO_CLI) + " " + arguments + " 2>" + errors.string(), run.exitCode);
    std::ifstream in(errors);
    std::ostringstream text;
    text << in.rdbuf();
    run.output = run.out + text.str();
    std::filesystem::remove(errors);
    return run;
}

}  // namespace brisko::test
