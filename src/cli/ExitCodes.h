// Exit codes of the brisko command, for scripts.
#pragma once

namespace brisko::cli {

inline constexpr int kExitOk = 0;       // the command ran, whatever it found
inline constexpr int kExitFailed = 1;   // the command ran and failed
inline constexpr int kExitUsage = 2;    // bad usage
inline constexpr int kExitMachine = 3;  // the machine cannot be loaded or created

}  // namespace brisko::cli
