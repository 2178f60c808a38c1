// What a results page lists, without the window: the problems of one engine grouped by category under
// headings, each row with its detail text.
#pragma once

#include <string>
#include <vector>

#include "scan/Problem.h"
#include "scan/ScanItems.h"

namespace brisko::app {

// One group heading of a results page.
struct CScanCategory {
    std::string displayName;
    int selectedCount = 0;
    int rowCount = 0;
    int spare = 0;
    int category = 0;
};

struct ResultRow {
    bool heading = false;
    int category = 0;                           // the heading's category
    scan::CRegistryProblem* problem = nullptr;  // null for a heading
    std::string text;                           // heading: the category's name; problem: the detail text
};

struct ResultsPage {
    std::vector<CScanCategory> categories;  // one per enabled category, shown or not
    std::vector<ResultRow> rows;            // headings with problems, each followed by its problems
    int selectedItems = 0;
};

// "Medium Priority", "Low Priority" or "High Priority" by registry category.
std::string RegistryPriority(int category);
// The detail text of a registry problem, in the program's rich-text markup.
std::string ProblemDescription(const scan::CRegistryProblem& problem);
// The rich-text markup as plain text: line breaks for "<br>", other tags dropped.
std::string PlainText(std::string_view markup);

// Groups one engine's list as its results page shows it. Listing marks every listed problem selected.
// `enabled` holds the engine's group of flags (a category that is not enabled gets no heading).
ResultsPage GroupResults(scan::ProblemList& problems, int engine, const scan::ScanItemTable& items,
                         std::span<const bool> enabled);

}  // namespace brisko::app
