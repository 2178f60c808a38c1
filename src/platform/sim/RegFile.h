// The registry editor's text format (.reg): a reader and a writer.
//
// Both work on the registry's native form of value data: the string types (REG_SZ, REG_EXPAND_SZ,
// REG_MULTI_SZ) as UTF-16LE bytes, every other type as stored. The reader converts what a file says into
// that form exactly as the registry editor would when importing it; the writer produces text that the
// registry editor imports back into the same native data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "platform/Registry.h"

namespace brisko::platform::sim {

enum class RegFileHeader {
    kVersion5,  // "Windows Registry Editor Version 5.00"
    kRegedit4,  // "REGEDIT4"
};

// Receives what a .reg file says, in file order. Key paths are full paths as written in the file: a long
// root name in any case (the editor refuses "HKLM" and the like), then the subkey path, which may end with
// a backslash or hold a doubled one; the registry functions pass over such empty parts.
class RegFileSink {
public:
    virtual ~RegFileSink() = default;
    virtual void OnKey(std::string_view fullPath) = 0;        // [path]
    virtual void OnDeleteKey(std::string_view fullPath) = 0;  // [-path]
    // A value of the current key; the empty name is the unnamed value ("@").
    virtual void OnValue(std::string_view name, ValueType type, std::span<const std::uint8_t> data) = 0;
    virtual void OnDeleteValue(std::string_view name) = 0;  // "name"=-
};

enum class RegFileMode {
    // The simulation's own hives: the first line the registry editor would refuse ends the read with an
    // error, and the caller keeps nothing of it.
    kStrict,
    // Importing a file (a backup being restored): lines the registry editor refuses are skipped, as it
    // skips them, and the rest is imported.
    kImport,
};

struct RegFileResult {
    bool ok = true;
    std::size_t errorLine = 0;  // 1-based line of the first refused line, 0 when none
    std::string error;          // what was wrong with it
    std::size_t skippedLines = 0;
};

// Reads a whole file's bytes: UTF-8 (with or without a byte-order mark) or UTF-16LE with its mark, as
// the registry editor writes "Windows Registry Editor Version 5.00" files.
RegFileResult ReadRegFile(std::string_view bytes, RegFileMode mode, RegFileSink& sink);

// Writes a .reg file: the header, then keys each followed by its values, CR LF line ends, hex data
// wrapped as the registry editor wraps it. Text is UTF-8; EncodeUtf16File gives the form that the
// registry editor itself writes.
class RegFileWriter {
public:
    explicit RegFileWriter(RegFileHeader header = RegFileHeader::kVersion5);
    void BeginKey(std::string_view fullPath);
    void WriteValue(std::string_view name, ValueType type, std::span<const std::uint8_t> data);
    void WriteDeleteKey(std::string_view fullPath);
    void WriteDeleteValue(std::string_view name);
    // The text so far, ending with a blank line as the registry editor's files do.
    std::string Finish();

private:
    void WriteKeyLine(std::string_view opening, std::string_view fullPath);

    RegFileHeader header_;
    std::string out_;
};

// UTF-8 text to UTF-16LE with a byte-order mark.
std::string EncodeUtf16File(std::string_view utf8Text);

}  // namespace brisko::platform::sim
