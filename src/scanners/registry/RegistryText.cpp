#include "scanners/registry/RegistryText.h"

#include <algorithm>

#include "scan/RegistryPaths.h"

namespace brisko::scanners {

namespace {

void TrimQuotes(std::string& text) {
    std::size_t first = text.find_first_not_of('"');
    if (first == std::string::npos) {
        text.clear();
        return;
    }
    text.erase(text.find_last_not_of('"') + 1);
    text.erase(0, first);
}

}  // namespace

std::optional<std::string> PathCandidate(std::string_view text) {
    std::string_view candidate;
    if (text.size() >= 4 && text[0] == '"' && text[2] == ':' && text[3] == '\\') {
        candidate = text.substr(1);
    } else if (text.size() >= 3 && text[1] == ':' && text[2] == '\\') {
        candidate = text;
    } else {
        return std::nullopt;
    }
    return std::string(candidate.substr(0, candidate.find('"')));
}

bool CleanExePath(platform::Shell& shell, std::string_view text, std::string& out) {
    std::string_view program = text.substr(std::min(text.find_first_not_of('"'), text.size()));
    program = program.substr(0, program.find('"'));
    std::string upper(program);
    ToUpperAscii(upper);
    std::size_t end = program.size();
    for (std::string_view extension : {".EXE", ".DLL", ".OCX"}) {
        std::size_t at = upper.find(extension);
        if (at != std::string::npos) end = std::min(end, at + extension.size());
    }
    std::string expanded;
    std::uint32_t needed =
        shell.ExpandEnvironmentStrings(program.substr(0, end), scan::kDataBufferLength, expanded);
    if (needed == 0 || needed > scan::kDataBufferLength) return false;
    out = std::move(expanded);
    return true;
}

void StripVerbPrefix(std::string_view text, std::string& out) {
    std::string result(text);
    if (result.find("Folder:") != std::string::npos) {
        result.erase(0, result.find(':') + 1);
        TrimQuotes(result);
    } else if (result.find("regsvr32") != std::string::npos) {
        result.erase(0, std::min(result.find_first_not_of("regsv32"), result.size()));
        std::size_t quote = result.find('"');
        if (quote != std::string::npos) result.erase(0, quote + 1);
        TrimQuotes(result);
    }
    out = std::move(result);
}

void ToLowerAscii(std::string& text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
}

void ToUpperAscii(std::string& text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
}

}  // namespace brisko::scanners
