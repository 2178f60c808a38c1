// The switches the program is started with: "-t" by the scheduled task, "-s" by the start-up launcher,
// "-cm" by the Explorer context menu, and "-e:ACTION/TEXT" when the program restarts itself elevated.
#pragma once

#include <string>
#include <string_view>

namespace brisko::app {

struct CommandLineSwitches {
    bool scheduledStart = false;    // "-t" or "-s"
    bool contextMenuStart = false;  // "-cm"
    std::string restartText;        // from "-e:" to the end, or empty
};

// Reads the arguments (the command line without the program's name). A switch counts when it stands as an
// argument of its own, so a path or the restart text that happens to contain "-s" starts nothing.
CommandLineSwitches ReadCommandLine(std::string_view arguments);

// The arguments of a whole command line: what follows the program's name, quoted or not.
std::string_view ArgumentsOf(std::string_view commandLine);

// The most text the restart switch carries after its slash; anything longer is cut there.
inline constexpr std::size_t kRestartTextLength = 270;

struct RestartRequest {
    int action = 0;    // 1 to 7
    std::string text;  // read and not used
};

// Parses "-e:%d/%270s". The action must be a decimal number from 1 to 7; the slash and the text may be
// missing. False, with `request` unchanged and the reason in `problem`, for anything else: no number, a
// number too large for an int, or an action out of range. Safe for any input.
bool ParseRestartSwitch(std::string_view restartText, RestartRequest& request, std::string& problem);

// The parameters with which the program restarts itself elevated for an action.
std::string RestartParameters(int action);

}  // namespace brisko::app
