#include "app/ResultsPage.h"

#include "strings/StringTable.h"

namespace brisko::app {

using namespace scan;

std::string RegistryPriority(int category) {
    switch (category) {
        case 2:
        case 6:
        case 9:
            return strings::LoadStringOrMarks(strings::kIdLowPriority);
        case 1:
        case 10:
        case 11:
            return strings::LoadStringOrMarks(strings::kIdHighPriority);
        default:
            return strings::LoadStringOrMarks(strings::kIdMediumPriority);
    }
}

std::string ProblemDescription(const CRegistryProblem& problem) {
    std::string priority = RegistryPriority(problem.category);
    std::string shown = ShownValueName(problem.valueName);
    switch (problem.category) {
        case REG_SHARED_DLLS:
            return strings::FormatPositional(strings::LoadStringOrMarks(strings::kIdSharedDllTemplate),
                                             {priority, problem.valueName, problem.keyPath, shown});
        case REG_SHORTCUTS:
            return strings::FormatPositional(strings::LoadStringOrMarks(strings::kIdShortcutTemplate),
                                             {priority, problem.data, problem.keyPath, shown});
        default:
            return strings::FormatPositional(strings::LoadStringOrMarks(strings::kIdInvalidKeyTemplate),
                                             {priority, problem.data, problem.keyPath, shown, problem.data});
    }
}

std::string PlainText(std::string_view markup) {
    std::string out;
    for (std::size_t i = 0; i < markup.size(); ++i) {
        if (markup[i] != '<') {
            out += markup[i];
            continue;
        }
        std::size_t end = markup.find('>', i);
        if (end == std::string_view::npos) {
            out.append(markup.substr(i));
            break;
        }
        std::string_view tag = markup.substr(i + 1, end - i - 1);
        if (tag == "br" || tag == "BR" || tag == "br/") out += '\n';
        i = end;
    }
    // Blanks the markup left at line ends and starts.
    std::string tidy;
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (out[i] == ' ' &&
            (tidy.empty() || tidy.back() == '\n' || (i + 1 < out.size() && out[i + 1] == '\n'))) {
            continue;
        }
        tidy += out[i];
    }
    while (!tidy.empty() && (tidy.back() == '\n' || tidy.back() == ' '))
        tidy.pop_back();
    return tidy;
}

ResultsPage GroupResults(ProblemList& problems, int engine, const ScanItemTable& items,
                         std::span<const bool> enabled) {
    ResultsPage page;
    for (int category = 0; category < kCategoryCounts[engine]; ++category) {
        if (static_cast<std::size_t>(category) >= enabled.size() || !enabled[category]) continue;
        page.categories.push_back(CScanCategory{items.At(engine, category).displayName, 0, 0, 0, category});
    }
    for (CScanCategory& heading : page.categories) {
        for (auto& problem : problems) {
            if (problem->category != heading.category) continue;
            page.selectedItems += 1;
            problem->selected = true;
            heading.selectedCount += 1;
            heading.rowCount += 1;
        }
    }
    for (const CScanCategory& heading : page.categories) {
        if (heading.rowCount == 0) continue;
        page.rows.push_back(ResultRow{true, heading.category, nullptr, heading.displayName});
        for (auto& problem : problems) {
            if (problem->category != heading.category) continue;
            std::string text = engine == kRegistryEngine ? ProblemDescription(*problem) : problem->keyPath;
            if (text.empty()) text = strings::LoadStringOrMarks(strings::kIdNoErrorsFound);
            page.rows.push_back(ResultRow{false, heading.category, problem.get(), std::move(text)});
        }
    }
    return page;
}

}  // namespace brisko::app
