#include "app/CommandLine.h"

namespace brisko::app {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

constexpr std::string_view kRestartSwitch = "-e:";

}  // namespace

std::string_view ArgumentsOf(std::string_view commandLine) {
    std::size_t i = 0;
    while (i < commandLine.size() && IsBlank(commandLine[i]))
        ++i;
    if (i < commandLine.size() && commandLine[i] == '"') {
        std::size_t close = commandLine.find('"', i + 1);
        i = close == std::string_view::npos ? commandLine.size() : close + 1;
    }
    while (i < commandLine.size() && !IsBlank(commandLine[i]))
        ++i;
    while (i < commandLine.size() && IsBlank(commandLine[i]))
        ++i;
    return commandLine.substr(i);
}

CommandLineSwitches ReadCommandLine(std::string_view arguments) {
    CommandLineSwitches switches;
    std::size_t i = 0;
    while (i < arguments.size()) {
        while (i < arguments.size() && IsBlank(arguments[i]))
            ++i;
        std::size_t end = i;
        while (end < arguments.size() && !IsBlank(arguments[end]))
            ++end;
        std::string_view argument = arguments.substr(i, end - i);
        if (argument.starts_with(kRestartSwitch)) {
            // The restart switch takes the rest of the line, as the restarting instance wrote it.
            switches.restartText = std::string(arguments.substr(i));
            break;
        }
        if (argument == "-t" || argument == "-s") switches.scheduledStart = true;
        if (argument == "-cm") switches.contextMenuStart = true;
        i = end;
    }
    return switches;
}

bool ParseRestartSwitch(std::string_view text, RestartRequest& request, std::string& problem) {
    if (!text.starts_with(kRestartSwitch)) {
        problem = "it does not start with -e:";
        return false;
    }
    std::size_t i = kRestartSwitch.size();
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    std::size_t digits = i;
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > 2147483648LL) {
            problem = "the action number is too large";
            return false;
        }
    }
    if (i == digits) {
        problem = "no action number";
        return false;
    }
    if (negative) value = -value;
    if (value < 1 || value > 7) {
        problem = "the action " + std::to_string(value) + " is not one of 1 to 7";
        return false;
    }
    RestartRequest read;
    read.action = static_cast<int>(value);
    if (i < text.size() && text[i] == '/') {
        ++i;
        while (i < text.size() && IsBlank(text[i]))
            ++i;
        std::size_t end = i;
        while (end < text.size() && !IsBlank(text[end]) && end - i < kRestartTextLength)
            ++end;
        read.text = std::string(text.substr(i, end - i));
    }
    request = std::move(read);
    return true;
}

std::string RestartParameters(int action) {
    return "-e:" + std::to_string(action) + "/*";
}

}  // namespace brisko::app
