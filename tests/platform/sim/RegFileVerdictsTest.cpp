// The registry editor's verdicts on .reg lines (tests/data/regfile/verdicts.txt, established with Wine's
// regedit and re-checked by tests/e2e/regedit/check_verdicts.sh), run against our reader: an import must
// leave the same keys and values as the editor's, and a strict read must stop at the first line it refuses.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "platform/sim/RegFile.h"
#include "platform/sim/RegFileTestTree.h"

namespace brisko::platform::sim {
namespace {

constexpr std::string_view kRoot = "HKEY_CURRENT_USER\\Software\\BriskoVerdicts";

struct VerdictCase {
    std::string name;
    bool regedit4 = false;
    std::vector<std::string> rawHeader;
    bool refusedFile = false;
    std::size_t refusedLine = 0;  // within the case's lines, 0 when none
    std::size_t skipped = 0;
    std::vector<std::string> lines;
    std::vector<std::string> expected;
};

// Test output names the case rather than dumping its bytes.
void PrintTo(const VerdictCase& c, std::ostream* os) {
    *os << c.name;
}

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
    for (std::size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size()) {
        text.replace(at, from.size(), to);
    }
}

std::string Expand(std::string text, const std::string& name) {
    std::string key = std::string(kRoot) + "\\" + name;
    ReplaceAll(text, "{SP}", " ");
    ReplaceAll(text, "{TAB}", "\t");
    ReplaceAll(text, "$K", key);
    ReplaceAll(text, "$S", "HKCU" + key.substr(std::string_view("HKEY_CURRENT_USER").size()));
    std::string lower = key;
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    ReplaceAll(text, "$L", lower);
    return text;
}

// The text after a directive and its one separating blank ("< " or a bare "<").
std::string Rest(const std::string& line, std::size_t directive) {
    return line.size() > directive ? line.substr(directive + 1) : std::string();
}

std::vector<VerdictCase> LoadCases() {
    std::ifstream in(BRISKO_TEST_DATA "/regfile/verdicts.txt");
    std::vector<VerdictCase> cases;
    std::string line;
    while (std::getline(in, line)) {
        if (line.starts_with("case ")) {
            cases.push_back({});
            cases.back().name = line.substr(5);
            continue;
        }
        if (cases.empty()) continue;
        VerdictCase& c = cases.back();
        if (line == "header regedit4") {
            c.regedit4 = true;
        } else if (line.starts_with("rawheader")) {
            c.rawHeader.push_back(Expand(Rest(line, 9), c.name));
        } else if (line == "refused-file") {
            c.refusedFile = true;
        } else if (line.starts_with("refused ")) {
            std::string word;  // "refused L skipped N"
            std::istringstream(line.substr(8)) >> c.refusedLine >> word >> c.skipped;
        } else if (line.starts_with("<")) {
            c.lines.push_back(Expand(Rest(line, 1), c.name));
        } else if (line.starts_with(">")) {
            c.expected.push_back(Expand(Rest(line, 1), c.name));
        }
    }
    return cases;
}

struct CaseFile {
    std::string text;
    std::size_t firstCaseLine = 0;  // file line of the case's first line
};

CaseFile BuildFile(const VerdictCase& c) {
    CaseFile file;
    std::vector<std::string> lines = c.rawHeader;
    if (lines.empty()) {
        lines = {c.regedit4 ? "REGEDIT4" : "Windows Registry Editor Version 5.00", ""};
    }
    lines.push_back("[" + std::string(kRoot) + "\\" + c.name + "]");
    file.firstCaseLine = lines.size() + 1;
    lines.insert(lines.end(), c.lines.begin(), c.lines.end());
    for (const std::string& l : lines)
        file.text += l + "\r\n";
    return file;
}

// The export's lines without the header and blank lines, as the table writes them.
std::vector<std::string> ExportLines(regfile_test::RegFileTestTree& tree, const std::string& name) {
    std::istringstream text(tree.Export(std::string(kRoot) + "\\" + name));
    std::vector<std::string> lines;
    std::string line;
    std::getline(text, line);  // the header
    while (std::getline(text, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) lines.push_back(line);
    }
    return lines;
}

class RegFileVerdicts : public ::testing::TestWithParam<VerdictCase> {};

TEST_P(RegFileVerdicts, ImportLeavesWhatTheEditorLeaves) {
    const VerdictCase& c = GetParam();
    CaseFile file = BuildFile(c);
    std::vector<std::string> encodings = {file.text};
    if (!c.regedit4) encodings.push_back(EncodeUtf16File(file.text));
    for (const std::string& bytes : encodings) {
        regfile_test::RegFileTestTree tree;
        RegFileResult result = ReadRegFile(bytes, RegFileMode::kImport, tree);
        if (c.refusedFile) {
            EXPECT_FALSE(result.ok);
            EXPECT_EQ(result.errorLine, 1u);
            continue;
        }
        EXPECT_TRUE(result.ok) << result.error;
        EXPECT_EQ(result.skippedLines, c.skipped);
        EXPECT_EQ(ExportLines(tree, c.name), c.expected);
    }
}

TEST_P(RegFileVerdicts, StrictReadStopsAtTheFirstRefusedLine) {
    const VerdictCase& c = GetParam();
    CaseFile file = BuildFile(c);
    regfile_test::RegFileTestTree tree;
    RegFileResult result = ReadRegFile(file.text, RegFileMode::kStrict, tree);
    if (c.refusedFile) {
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.errorLine, 1u);
    } else if (c.refusedLine != 0) {
        EXPECT_FALSE(result.ok);
        EXPECT_EQ(result.errorLine, file.firstCaseLine + c.refusedLine - 1);
        EXPECT_FALSE(result.error.empty());
    } else {
        EXPECT_TRUE(result.ok) << "line " << result.errorLine << ": " << result.error;
        EXPECT_EQ(result.errorLine, 0u);
        EXPECT_EQ(ExportLines(tree, c.name), c.expected);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, RegFileVerdicts, ::testing::ValuesIn(LoadCases()),
                         [](const ::testing::TestParamInfo<VerdictCase>& info) {
                             std::string name = info.param.name;
                             for (char& c : name) {
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             }
                             return name;
                         });

TEST(RegFileVerdictTable, IsThere) {
    EXPECT_GT(LoadCases().size(), 100u);
}

}  // namespace
}  // namespace brisko::platform::sim
