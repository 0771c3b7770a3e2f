// The port map files: reading them (reporting each line that cannot be read, once) and
// changing one mapping while keeping the rest of the file as it was.
#include <vexlink/Ports.h>

#include "platform/CommApi.h"

#include <filesystem>
#include <fstream>
#include <mutex>
#include <optional>
#include <set>
#include <sstream>

namespace fs = std::filesystem;

namespace vexlink {

namespace {

std::string trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

enum class LineKind { Ignored, Mapping, Unreadable };

struct ParsedLine {
    LineKind kind = LineKind::Ignored;
    PortMapEntry entry;
};

ParsedLine parseLine(const std::string& raw, int number) {
    const std::string line = trim(raw);
    if (line.empty() || line[0] == '#') return {};
    ParsedLine parsed{LineKind::Unreadable, {}};
    const auto equals = line.find('=');
    if (equals == std::string::npos) return parsed;
    const int com = comNumber(trim(line.substr(0, equals)));
    const std::string path = trim(line.substr(equals + 1));
    if (com == 0 || (!path.empty() && path[0] != '/')) return parsed;
    parsed.kind = LineKind::Mapping;
    parsed.entry = PortMapEntry{com, path, number};
    return parsed;
}

// Each unreadable line is reported once per process, however often the map is read.
void reportOnce(const std::string& file, int number, const std::string& line) {
    static std::mutex lock;
    static std::set<std::string> reported;
    const std::string key = file + ":" + std::to_string(number) + ":" + line;
    {
        std::lock_guard guard(lock);
        if (!reported.insert(key).second) return;
    }
    const std::string text =
        file + ":" + std::to_string(number) + ": cannot read \"" + trim(line) +
        "\" (expected COMn = PATH, n from 1 to 4, PATH absolute or empty); line skipped";
    platform::MessageBoxA(text.c_str(), nullptr, platform::MB_OK | platform::MB_ICONEXCLAMATION);
}

std::optional<std::vector<std::string>> readLines(const std::string& file) {
    std::ifstream in(file);
    if (!in) return std::nullopt;
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// Writes lines to file through a file beside it, renamed into place.
bool writeLines(const std::string& file, const std::vector<std::string>& lines,
                std::string& error) {
    std::error_code ec;
    const fs::path target(file);
    if (target.has_parent_path()) fs::create_directories(target.parent_path(), ec);
    if (ec) {
        error = "cannot create " + target.parent_path().string() + ": " + ec.message();
        return false;
    }
    const std::string temporary = file + ".new";
    {
        std::ofstream out(temporary, std::ios::trunc);
        for (const std::string& line : lines) out << line << '\n';
        out.flush();
        if (!out) {
            error = "cannot write " + temporary;
            fs::remove(temporary, ec);
            return false;
        }
    }
    fs::rename(temporary, target, ec);
    if (ec) {
        error = "cannot replace " + file + ": " + ec.message();
        fs::remove(temporary, ec);
        return false;
    }
    return true;
}

bool editMapping(const std::string& file, int com, const std::optional<std::string>& path,
                 std::string& error) {
    if (com < 1 || com > kComPortCount) {
        error = "no such port name: COM" + std::to_string(com);
        return false;
    }
    if (file.empty()) {
        error = "no place for the port map (neither XDG_CONFIG_HOME nor HOME is set)";
        return false;
    }
    std::vector<std::string> lines = readLines(file).value_or(std::vector<std::string>{});
    const bool existed = fs::exists(file);
    std::vector<std::string> kept;
    bool placed = false;
    bool changed = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const ParsedLine parsed = parseLine(lines[i], static_cast<int>(i + 1));
        if (parsed.kind != LineKind::Mapping || parsed.entry.com != com) {
            kept.push_back(lines[i]);
            continue;
        }
        changed = true;
        if (path && !placed) {
            kept.push_back("COM" + std::to_string(com) + " =" + (path->empty() ? "" : " " + *path));
            placed = true;
        }
    }
    if (path && !placed) {
        if (!existed) kept.push_back("# Vexlink port map: COMn = device path (see vexlink ports).");
        kept.push_back("COM" + std::to_string(com) + " =" + (path->empty() ? "" : " " + *path));
        changed = true;
    }
    if (!changed) return true;
    return writeLines(file, kept, error);
}

}  // namespace

std::vector<PortMapEntry> readPortMap(const std::string& file) {
    std::vector<PortMapEntry> entries;
    if (file.empty()) return entries;
    const auto lines = readLines(file);
    if (!lines) return entries;
    std::optional<PortMapEntry> latest[kComPortCount + 1];
    for (std::size_t i = 0; i < lines->size(); ++i) {
        const int number = static_cast<int>(i + 1);
        const ParsedLine parsed = parseLine((*lines)[i], number);
        if (parsed.kind == LineKind::Unreadable) reportOnce(file, number, (*lines)[i]);
        if (parsed.kind == LineKind::Mapping) latest[parsed.entry.com] = parsed.entry;
    }
    for (int com = 1; com <= kComPortCount; ++com)
        if (latest[com]) entries.push_back(*latest[com]);
    return entries;
}

bool setPortMapping(const std::string& file, int com, const std::string& path, std::string& error) {
    if (!path.empty() && path[0] != '/') {
        error = "not an absolute path: " + path;
        return false;
    }
    return editMapping(file, com, path, error);
}

bool removePortMapping(const std::string& file, int com, std::string& error) {
    return editMapping(file, com, std::nullopt, error);
}

}  // namespace vexlink
