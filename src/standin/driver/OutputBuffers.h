#pragma once

#include <sql.h>
#include <sqlext.h>
#include <sqlucode.h>

#include <algorithm>
#include <limits>
#include <string>
#include <string_view>

namespace kaldor::standin::driver {

// Copies a text into an ODBC output buffer of `bufferLength` bytes (NUL-terminated, cut to
// fit) and stores its full length; true when it was cut.
bool copyText(const std::string& text, SQLPOINTER buffer, SQLLEN bufferLength, SQLLEN* fullLength);
template <typename Length>
bool copyText(const std::string& text, SQLPOINTER buffer, SQLLEN bufferLength, Length* length)
{
    SQLLEN full = 0;
    const bool cut = copyText(text, buffer, bufferLength, &full);
    if (length) {
        // A length field too narrow for the text says the most it can rather than wrap.
        *length = static_cast<Length>(
            std::min<SQLLEN>(full, static_cast<SQLLEN>(std::numeric_limits<Length>::max())));
    }
    return cut;
}

// An output argument for a text: the application's buffer of narrow (UTF-8) or wide (UTF-16)
// characters and its size; the size and the length written back count bytes or characters as
// the function defines.
struct TextBuffer {
    SQLPOINTER data = nullptr;
    SQLLEN size = 0;
    bool wide = false;
    bool inBytes = true;

    static TextBuffer narrow(SQLPOINTER data, SQLLEN bytes) { return {data, bytes, false, true}; }
    static TextBuffer wideChars(SQLPOINTER data, SQLLEN chars)
    {
        return {data, chars, true, false};
    }
    static TextBuffer wideBytes(SQLPOINTER data, SQLLEN bytes) { return {data, bytes, true, true}; }
};

// Copies a UTF-8 text into the buffer (NUL-terminated, cut to fit, a wide text never inside a
// surrogate pair) and stores its full length in the buffer's unit; true when it was cut.
bool putText(const std::string& text, const TextBuffer& out, SQLLEN* fullLength);
template <typename Length>
bool putText(const std::string& text, const TextBuffer& out, Length* length)
{
    SQLLEN full = 0;
    const bool cut = putText(text, out, &full);
    if (length) {
        *length = static_cast<Length>(
            std::min<SQLLEN>(full, static_cast<SQLLEN>(std::numeric_limits<Length>::max())));
    }
    return cut;
}

// A text from an ODBC input argument (SQL_NTS or a byte length).
std::string inputText(const SQLCHAR* text, SQLINTEGER length);
// A text from a wide ODBC input argument (SQL_NTS or a length in characters), as UTF-8.
std::string inputWide(const SQLWCHAR* text, SQLINTEGER length);

// UTF-8 to UTF-16 code units (invalid bytes become U+FFFD).
std::u16string toUtf16(const std::string& utf8);
// UTF-16 code units to UTF-8 (an unpaired surrogate becomes U+FFFD).
std::string toUtf8(std::u16string_view utf16);

} // namespace kaldor::standin::driver
