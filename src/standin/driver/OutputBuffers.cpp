#include "OutputBuffers.h"

#include <algorithm>
#include <cstring>

namespace kaldor::standin::driver {

bool copyText(const std::string& text, SQLPOINTER buffer, SQLLEN bufferLength, SQLLEN* fullLength)
{
    if (fullLength) {
        *fullLength = static_cast<SQLLEN>(text.size());
    }
    // No buffer asks for the length alone: nothing is cut. A buffer with no room cuts it all.
    if (!buffer) {
        return false;
    }
    if (bufferLength <= 0) {
        return !text.empty();
    }
    const size_t room = static_cast<size_t>(bufferLength) - 1;
    const size_t n = std::min(room, text.size());
    std::memcpy(buffer, text.data(), n);
    static_cast<char*>(buffer)[n] = '\0';
    return n < text.size();
}

bool putText(const std::string& text, const TextBuffer& out, SQLLEN* fullLength)
{
    if (!out.wide) {
        return copyText(text, out.data, out.size, fullLength);
    }
    const std::u16string units = toUtf16(text);
    const SQLLEN unitSize = out.inBytes ? static_cast<SQLLEN>(sizeof(SQLWCHAR)) : 1;
    if (fullLength) {
        *fullLength = static_cast<SQLLEN>(units.size()) * unitSize;
    }
    const SQLLEN room = out.size / unitSize;
    if (!out.data) {
        return false;
    }
    if (room <= 0) {
        return !units.empty();
    }
    size_t n = std::min(static_cast<size_t>(room - 1), units.size());
    if (n > 0 && n < units.size() && units[n - 1] >= 0xd800 && units[n - 1] <= 0xdbff) {
        --n;
    }
    auto* target = static_cast<SQLWCHAR*>(out.data);
    for (size_t i = 0; i < n; ++i) {
        target[i] = static_cast<SQLWCHAR>(units[i]);
    }
    target[n] = 0;
    return n < units.size();
}

std::string inputWide(const SQLWCHAR* text, SQLINTEGER length)
{
    if (!text) {
        return {};
    }
    std::u16string units;
    for (SQLINTEGER i = 0; length == SQL_NTS ? text[i] != 0 : i < length; ++i) {
        units += static_cast<char16_t>(text[i]);
    }
    return toUtf8(units);
}

std::string inputText(const SQLCHAR* text, SQLINTEGER length)
{
    if (!text) {
        return {};
    }
    const char* chars = reinterpret_cast<const char*>(text);
    if (length == SQL_NTS) {
        return std::string(chars);
    }
    return length > 0 ? std::string(chars, static_cast<size_t>(length)) : std::string();
}

namespace {

// Decodes one UTF-8 sequence at `i`; advances i; returns U+FFFD for a bad sequence.
char32_t decode(const std::string& s, size_t& i)
{
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char lead = byte(i);
    size_t extra = 0;
    char32_t cp = 0;
    if (lead < 0x80) {
        ++i;
        return lead;
    }
    if ((lead & 0xe0) == 0xc0) {
        extra = 1;
        cp = lead & 0x1f;
    } else if ((lead & 0xf0) == 0xe0) {
        extra = 2;
        cp = lead & 0x0f;
    } else if ((lead & 0xf8) == 0xf0) {
        extra = 3;
        cp = lead & 0x07;
    } else {
        ++i;
        return 0xfffd;
    }
    if (i + extra >= s.size()) {
        ++i;
        return 0xfffd;
    }
    for (size_t k = 1; k <= extra; ++k) {
        if ((byte(i + k) & 0xc0) != 0x80) {
            ++i;
            return 0xfffd;
        }
        cp = (cp << 6) | (byte(i + k) & 0x3f);
    }
    i += extra + 1;
    return cp > 0x10ffff || (cp >= 0xd800 && cp <= 0xdfff) ? 0xfffd : cp;
}

} // namespace

std::u16string toUtf16(const std::string& utf8)
{
    std::u16string out;
    out.reserve(utf8.size());
    size_t i = 0;
    while (i < utf8.size()) {
        const char32_t cp = decode(utf8, i);
        if (cp >= 0x10000) {
            out += static_cast<char16_t>(0xd800 + ((cp - 0x10000) >> 10));
            out += static_cast<char16_t>(0xdc00 + ((cp - 0x10000) & 0x3ff));
        } else {
            out += static_cast<char16_t>(cp);
        }
    }
    return out;
}

std::string toUtf8(std::u16string_view utf16)
{
    std::string out;
    out.reserve(utf16.size());
    for (size_t i = 0; i < utf16.size(); ++i) {
        char32_t cp = utf16[i];
        const bool high = cp >= 0xd800 && cp <= 0xdbff;
        const bool low = cp >= 0xdc00 && cp <= 0xdfff;
        if (high && i + 1 < utf16.size() && utf16[i + 1] >= 0xdc00 && utf16[i + 1] <= 0xdfff) {
            cp = 0x10000 + ((cp - 0xd800) << 10) + (utf16[++i] - 0xdc00);
        } else if (high || low) {
            cp = 0xfffd;
        }
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xc0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3f));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xe0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3f));
            out += static_cast<char>(0x80 | (cp & 0x3f));
        } else {
            out += static_cast<char>(0xf0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3f));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3f));
            out += static_cast<char>(0x80 | (cp & 0x3f));
        }
    }
    return out;
}

} // namespace kaldor::standin::driver
