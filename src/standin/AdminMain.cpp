// kaldor-standin-admin: creates stand-in databases, runs SQL scripts against them and writes
// private ODBC configurations.
#include "StandinStore.h"

#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

using namespace kaldor::standin;

namespace {

int usage()
{
    std::cerr << "usage:\n"
                 "  kaldor-standin-admin create DBFILE anywhere|sqlserver\n"
                 "  kaldor-standin-admin script DBFILE FILE.sql\n"
                 "  kaldor-standin-admin odbc DIR DRIVERLIB NAME=DIALECT:DBFILE...\n";
    return 2;
}

int report(bool ok, const std::string& error)
{
    if (!ok) {
        std::cerr << "kaldor-standin-admin: " << error << "\n";
        return 1;
    }
    return 0;
}

int create(const std::string& path, const std::string& dialectText)
{
    Dialect d{};
    if (!parseDialectKey(dialectText, &d)) {
        return usage();
    }
    std::string error;
    return report(createDatabase(path, d, &error), error);
}

int script(const std::string& path, const std::string& scriptPath)
{
    std::ifstream in(scriptPath, std::ios::binary);
    if (!in) {
        return report(false, "cannot read " + scriptPath);
    }
    std::ostringstream text;
    text << in.rdbuf();
    std::string error;
    return report(runScript(path, text.str(), &error), error);
}

// NAME=DIALECT:DBFILE; the name may not contain '='.
bool parseSource(const std::string& arg, DataSourceSpec* spec)
{
    const size_t eq = arg.find('=');
    const size_t colon = eq == std::string::npos ? eq : arg.find(':', eq + 1);
    if (eq == std::string::npos || eq == 0 || colon == std::string::npos) {
        return false;
    }
    spec->name = arg.substr(0, eq);
    spec->databasePath = arg.substr(colon + 1);
    return parseDialectKey(arg.substr(eq + 1, colon - eq - 1), &spec->dialect) &&
           !spec->databasePath.empty();
}

int odbc(const std::string& dir, const std::string& driver, const std::vector<std::string>& args)
{
    std::vector<DataSourceSpec> sources;
    for (const std::string& arg : args) {
        DataSourceSpec spec{};
        if (!parseSource(arg, &spec)) {
            std::cerr << "kaldor-standin-admin: bad data source '" << arg << "'\n";
            return usage();
        }
        sources.push_back(spec);
    }
    std::string error;
    return report(writeOdbcConfig(dir, driver, sources, &error), error);
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 3 && args[0] == "create") {
        return create(args[1], args[2]);
    }
    if (args.size() == 3 && args[0] == "script") {
        return script(args[1], args[2]);
    }
    if (args.size() >= 3 && args[0] == "odbc") {
        return odbc(args[1], args[2], std::vector<std::string>(args.begin() + 3, args.end()));
    }
    return usage();
}
