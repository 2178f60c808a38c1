// What the command knows of the terminal it writes to.
#pragma once

#include <cstddef>
#include <cstdio>

namespace brisko::cli {

bool IsTerminal(std::FILE* stream);
// Columns of the terminal, 80 when it cannot be told.
std::size_t TerminalWidth();

}  // namespace brisko::cli
