#include "ConnectionString.h"

#include "SqlText.h"

#include <cctype>

namespace kaldor::standin::driver {

namespace {

std::string upper(const std::string& s)
{
    std::string out = s;
    for (char& c : out) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return out;
}

// Reads a value starting at `i` up to ';' or, braced, up to the closing brace.
std::string readValue(const std::string& text, size_t& i)
{
    std::string value;
    if (i < text.size() && text[i] == '{') {
        for (++i; i < text.size(); ++i) {
            if (text[i] == '}') {
                if (i + 1 < text.size() && text[i + 1] == '}') {
                    value += '}';
                    ++i;
                    continue;
                }
                ++i;
                break;
            }
            value += text[i];
        }
        while (i < text.size() && text[i] != ';') {
            ++i;
        }
        return value;
    }
    const size_t end = text.find(';', i);
    value = text.substr(i, end == std::string::npos ? std::string::npos : end - i);
    i = end == std::string::npos ? text.size() : end;
    return trim(value);
}

} // namespace

std::map<std::string, std::string> parseConnectionString(const std::string& text)
{
    std::map<std::string, std::string> attributes;
    size_t i = 0;
    while (i < text.size()) {
        const size_t eq = text.find('=', i);
        if (eq == std::string::npos) {
            break;
        }
        const std::string key = upper(trim(text.substr(i, eq - i)));
        i = eq + 1;
        const std::string value = readValue(text, i);
        if (!key.empty() && attributes.count(key) == 0) {
            attributes[key] = value;
        }
        if (i < text.size() && text[i] == ';') {
            ++i;
        }
    }
    return attributes;
}

} // namespace kaldor::standin::driver
