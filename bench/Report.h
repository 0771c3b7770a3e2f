// The benchmark's results: one table per section, printed as text and written as JSON.
#pragma once

#include <string>
#include <variant>
#include <vector>

namespace bench {

using Cell = std::variant<double, std::string>;

struct Row {
    std::string name;
    std::vector<Cell> cells;  // one per column of its section
    std::string note;         // why a goal is missed, or what the row assumes
};

struct Section {
    std::string title;
    std::vector<std::string> columns;
    std::vector<int> decimals;  // per column, for numbers
    std::vector<Row> rows;
};

struct Report {
    std::string machine;  // a line about where and how it ran
    std::vector<Section> sections;
};

std::string formatText(const Report& report);
std::string formatJson(const Report& report);

}  // namespace bench
