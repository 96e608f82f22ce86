#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "platform/Profile.h"

// The file is kept as its lines, so that a write changes only the one key and leaves
// comments, order and every other section as they were.

static std::string trimmed(const std::string& text)
{
    std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) {
        return std::string();
    }
    std::size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

static bool sameName(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

static std::vector<std::string> readLines(const std::string& path)
{
    std::vector<std::string> lines;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
    }
    return lines;
}

static bool isSection(const std::string& line, std::string& name)
{
    std::string text = trimmed(line);
    if (text.size() < 2 || text.front() != '[' || text.back() != ']') {
        return false;
    }
    name = trimmed(text.substr(1, text.size() - 2));
    return true;
}

static bool isKey(const std::string& line, std::string& key, std::string& value)
{
    std::size_t equals = line.find('=');
    if (equals == std::string::npos || trimmed(line).rfind(';', 0) == 0) {
        return false;
    }
    key = trimmed(line.substr(0, equals));
    value = trimmed(line.substr(equals + 1));
    return true;
}

static bool lookUp(const std::string& path, const std::string& section, const std::string& key,
                   std::string& value)
{
    bool inSection = false;
    for (const std::string& line : readLines(path)) {
        std::string name;
        std::string found;
        if (isSection(line, name)) {
            inSection = sameName(name, section);
        } else if (inSection && isKey(line, name, found) && sameName(name, key)) {
            if (found.size() >= 2 && (found.front() == '"' || found.front() == '\'') &&
                found.back() == found.front()) {
                found = found.substr(1, found.size() - 2);
            }
            value = found;
            return true;
        }
    }
    return false;
}

Profile::Profile(std::string path) : path_(std::move(path)) {}

std::string Profile::defaultPath(const std::string& name)
{
    std::filesystem::path folder;
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && *config != '\0') {
        folder = config;
    } else {
        const char* home = std::getenv("HOME");
        folder = std::filesystem::path(home != nullptr ? home : ".") / ".config";
    }
    return (folder / (name + ".ini")).string();
}

Profile Profile::forApplication(const std::string& name)
{
    return Profile(defaultPath(name));
}

int Profile::getInt(const std::string& section, const std::string& key, int defaultValue) const
{
    std::string text;
    if (!lookUp(path_, section, key, text)) {
        return defaultValue;
    }
    std::size_t at = 0;
    bool negative = false;
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) {
        negative = text[at] == '-';
        ++at;
    }
    if (at >= text.size() || !std::isdigit(static_cast<unsigned char>(text[at]))) {
        return defaultValue;
    }
    long long number = 0;
    while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at]))) {
        number = std::min<long long>(number * 10 + (text[at] - '0'), 0x7FFFFFFFLL);
        ++at;
    }
    return int(negative ? -number : number);
}

std::string Profile::getString(const std::string& section, const std::string& key,
                               const std::string& defaultValue) const
{
    std::string text;
    return lookUp(path_, section, key, text) ? text : defaultValue;
}

bool Profile::writeInt(const std::string& section, const std::string& key, int value) const
{
    return writeString(section, key, std::to_string(value));
}

bool Profile::writeString(const std::string& section, const std::string& key, const std::string& value) const
{
    std::vector<std::string> lines = readLines(path_);
    std::string entry = key + "=" + value;
    bool inSection = false;
    bool written = false;
    std::size_t sectionEnd = std::string::npos;
    for (std::size_t i = 0; i < lines.size() && !written; ++i) {
        std::string name;
        std::string found;
        if (isSection(lines[i], name)) {
            if (inSection) {
                break;
            }
            inSection = sameName(name, section);
            if (inSection) {
                sectionEnd = i + 1;
            }
        } else if (inSection) {
            if (isKey(lines[i], name, found) && sameName(name, key)) {
                lines[i] = entry;
                written = true;
            } else if (!trimmed(lines[i]).empty()) {
                sectionEnd = i + 1;
            }
        }
    }
    if (!written) {
        if (sectionEnd == std::string::npos) {
            if (!lines.empty() && !trimmed(lines.back()).empty()) {
                lines.push_back("");
            }
            lines.push_back("[" + section + "]");
            lines.push_back(entry);
        } else {
            lines.insert(lines.begin() + std::ptrdiff_t(sectionEnd), entry);
        }
    }

    std::filesystem::path target(path_);
    std::error_code error;
    if (target.has_parent_path()) {
        std::filesystem::create_directories(target.parent_path(), error);
    }
    std::filesystem::path temporary = target;
    temporary += ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        for (const std::string& line : lines) {
            out << line << '\n';
        }
        out.flush();
        if (!out) {
            std::filesystem::remove(temporary, error);
            return false;
        }
    }
    std::filesystem::rename(temporary, target, error);
    if (error) {
        std::filesystem::remove(temporary, error);
        return false;
    }
    return true;
}
