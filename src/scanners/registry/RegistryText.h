// Text rules the registry checks share: where a data text names a path, and how a command line or a
// registration text is cut down to the program it names.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/Shell.h"

namespace brisko::scanners {

// The path a data text (already through the environment expansion of data texts) may name: after an
// opening double quote when one precedes "X:\", else the whole text when it starts with "X:\", cut
// before its first double quote. Nothing when the text does not start that way.
std::optional<std::string> PathCandidate(std::string_view text);

// The program named by a command text: leading double quotes skipped, cut at the next double quote and
// right after the first ".EXE", ".DLL" or ".OCX" (any case), then expanded through the environment.
// Keeps the input's case. False, with `out` unchanged, when the expansion does not fit the scanners'
// 1,024-character buffer, so a caller never judges a half-expanded text.
bool CleanExePath(platform::Shell& shell, std::string_view text, std::string& out);

// The path inside a "Folder:" or "regsvr32" registration text, without its surrounding double quotes;
// any other text as it is.
void StripVerbPrefix(std::string_view text, std::string& out);

// ASCII-only case changes, as the C library makes them in the program's locale: the bytes of other
// characters stay as they are, so UTF-8 names are never damaged.
void ToLowerAscii(std::string& text);
void ToUpperAscii(std::string& text);

}  // namespace brisko::scanners
