#pragma once

#include <map>
#include <string>

namespace kaldor::standin::driver {

// Attributes of a connection string "DSN=x;UID=y;PWD={a;b}", keys upper-cased; values in
// braces may hold ';' and '}}' stands for '}'.
std::map<std::string, std::string> parseConnectionString(const std::string& text);

} // namespace kaldor::standin::driver
