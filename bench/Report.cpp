#include "Report.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>

namespace bench {

namespace {

std::string number(double v, int decimals) {
    if (std::isnan(v)) return "-";
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, v);
    return text;
}

std::string cellText(const Cell& cell, int decimals) {
    if (const auto* v = std::get_if<double>(&cell)) return number(*v, decimals);
    return std::get<std::string>(cell);
}

std::string quoted(const std::string& s) {
    std::string out = "\"";
    for (char c : s) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char esc[8];
                std::snprintf(esc, sizeof esc, "\\u%04x", c);
                out += esc;
            } else {
                out += c;
            }
        }
    }
    return out + "\"";
}

}  // namespace

std::string formatText(const Report& report) {
    std::ostringstream out;
    out << report.machine << "\n";
    for (const Section& s : report.sections) {
        std::vector<std::size_t> width(s.columns.size() + 1, 0);
        width[0] = s.title.size();
        for (std::size_t c = 0; c < s.columns.size(); ++c) width[c + 1] = s.columns[c].size();
        for (const Row& r : s.rows) {
            width[0] = std::max(width[0], r.name.size());
            for (std::size_t c = 0; c < r.cells.size() && c < s.columns.size(); ++c)
                width[c + 1] = std::max(width[c + 1], cellText(r.cells[c], s.decimals[c]).size());
        }
        auto line = [&](const std::string& first, const std::vector<std::string>& rest) {
            out << first << std::string(width[0] - first.size(), ' ');
            for (std::size_t c = 0; c < rest.size(); ++c)
                out << "  " << std::string(width[c + 1] - rest[c].size(), ' ') << rest[c];
            out << "\n";
        };
        out << "\n";
        line(s.title, s.columns);
        std::size_t total = width[0];
        for (std::size_t c = 1; c < width.size(); ++c) total += width[c] + 2;
        out << std::string(total, '-') << "\n";
        std::vector<std::string> notes;
        for (const Row& r : s.rows) {
            std::vector<std::string> cells;
            for (std::size_t c = 0; c < s.columns.size(); ++c)
                cells.push_back(c < r.cells.size() ? cellText(r.cells[c], s.decimals[c]) : "");
            line(r.name, cells);
            if (!r.note.empty()) notes.push_back(r.name + ": " + r.note);
        }
        for (const auto& n : notes) out << "  * " << n << "\n";
    }
    return out.str();
}

std::string formatJson(const Report& report) {
    std::ostringstream out;
    out << "{\n  \"machine\": " << quoted(report.machine) << ",\n  \"sections\": [";
    for (std::size_t i = 0; i < report.sections.size(); ++i) {
        const Section& s = report.sections[i];
        out << (i ? "," : "") << "\n    {\"title\": " << quoted(s.title) << ", \"rows\": [";
        for (std::size_t j = 0; j < s.rows.size(); ++j) {
            const Row& r = s.rows[j];
            out << (j ? "," : "") << "\n      {\"name\": " << quoted(r.name);
            for (std::size_t c = 0; c < s.columns.size() && c < r.cells.size(); ++c) {
                out << ", " << quoted(s.columns[c]) << ": ";
                if (const auto* v = std::get_if<double>(&r.cells[c]))
                    out << (std::isnan(*v) ? std::string("null") : number(*v, 6));
                else out << quoted(std::get<std::string>(r.cells[c]));
            }
            if (!r.note.empty()) out << ", \"note\": " << quoted(r.note);
            out << "}";
        }
        out << "\n    ]}";
    }
    out << "\n  ]\n}\n";
    return out.str();
}

}  // namespace bench
