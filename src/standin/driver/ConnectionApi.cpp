// The ODBC entry points of connections: connecting to a data source, disconnecting, the
// connection attributes and SQLNativeSql; those with texts also in their wide (UTF-16) form.
#include "ApiSupport.h"
#include "ConnectionString.h"
#include "OutputBuffers.h"

#include <odbcinst.h>

using kaldor::standin::Dialect;
using kaldor::standin::parseDialectKey;
using kaldor::standin::ServerError;
using kaldor::standin::ServerSession;
using kaldor::standin::trim;
using namespace kaldor::standin::driver;

namespace {

std::string profileValue(const std::string& dsn, const char* key)
{
    char buffer[4096] = {};
    SQLGetPrivateProfileString(dsn.c_str(), key, "", buffer, sizeof buffer, "odbc.ini");
    return trim(buffer);
}

std::string valueOr(const std::map<std::string, std::string>& attrs, const char* key,
                    const std::string& fallback)
{
    const auto it = attrs.find(key);
    return it == attrs.end() ? fallback : it->second;
}

// Opens the session for data source `dsn`; Database and Dialect come from odbc.ini unless
// the connection string names them.
SQLRETURN connectTo(Connection* c, const std::string& dsn, const std::string& user,
                    const std::string& password,
                    const std::map<std::string, std::string>& overrides = {})
{
    if (c->session) {
        return postDriverError(c, "08002", "Connection name in use");
    }
    c->dataSource = dsn;
    const std::string database = valueOr(overrides, "DATABASE", profileValue(dsn, "Database"));
    const std::string dialectText = valueOr(overrides, "DIALECT", profileValue(dsn, "Dialect"));
    Dialect d = Dialect::SqlServer;
    if (!parseDialectKey(dialectText, &d)) {
        return postDriverError(c, "IM002",
                               "Data source '" + dsn +
                                   "' names no dialect (Dialect=anywhere"
                                   " or Dialect=sqlserver)");
    }
    c->dialect = d;
    if (database.empty()) {
        return postDriverError(c, "IM002", "Data source '" + dsn + "' names no database");
    }
    ServerError error;
    c->session = ServerSession::connect(database, d, user, password, c->loginTimeout, &error);
    if (!c->session) {
        return postServerError(c, d, error);
    }
    c->session->setAutocommit(c->autocommit == SQL_AUTOCOMMIT_ON);
    return SQL_SUCCESS;
}

// SQLDriverConnect: the data source, user and password of a connection string, which is given
// back as the completed one.
SQLRETURN driverConnect(Connection* c, const std::string& text, const TextBuffer& out,
                        SQLSMALLINT* outLength)
{
    const auto attrs = parseConnectionString(text);
    const std::string dsn = valueOr(attrs, "DSN", "");
    const std::string user = valueOr(attrs, "UID", "");
    const std::string password = valueOr(attrs, "PWD", "");
    if (dsn.empty() && attrs.count("DATABASE") == 0) {
        return postDriverError(c, "IM002",
                               "Data source name not found and no default driver"
                               " specified");
    }
    const SQLRETURN rc = connectTo(c, dsn, user, password, attrs);
    if (!SQL_SUCCEEDED(rc)) {
        return rc;
    }
    // Without a buffer the client asks for no connection string: nothing is cut.
    const bool cut = putText(text, out, outLength);
    return withInfo(c, cut && out.data != nullptr);
}

SQLRETURN setConnectAttr(Connection* c, SQLINTEGER attribute, SQLPOINTER value)
{
    const auto v = static_cast<SQLUINTEGER>(attrValue(value));
    switch (attribute) {
    case SQL_ATTR_LOGIN_TIMEOUT:
        c->loginTimeout = v;
        return SQL_SUCCESS;
    case SQL_ATTR_CONNECTION_TIMEOUT:
        c->connectionTimeout = v;
        return SQL_SUCCESS;
    case SQL_ATTR_AUTOCOMMIT:
        c->autocommit = v;
        if (c->session) {
            c->session->setAutocommit(v == SQL_AUTOCOMMIT_ON);
        }
        return SQL_SUCCESS;
    case SQL_ATTR_ACCESS_MODE:
        c->accessMode = v;
        return SQL_SUCCESS;
    case SQL_ATTR_TXN_ISOLATION:
        c->txnIsolation = v;
        return SQL_SUCCESS;
    case SQL_ATTR_PACKET_SIZE:
        c->packetSize = v;
        return SQL_SUCCESS;
    case SQL_ATTR_CURRENT_CATALOG:
    case SQL_ATTR_QUIET_MODE:
    case SQL_ATTR_TRACE:
    case SQL_ATTR_ODBC_CURSORS:
    case SQL_ATTR_METADATA_ID:
        return SQL_SUCCESS;
    default:
        return postDriverError(c, "HY092", "Invalid attribute/option identifier");
    }
}

SQLRETURN getConnectAttr(Connection* c, SQLINTEGER attribute, SQLPOINTER value,
                         const TextBuffer& text, SQLINTEGER* length)
{
    SQLUINTEGER v = 0;
    switch (attribute) {
    case SQL_ATTR_LOGIN_TIMEOUT:
        v = c->loginTimeout;
        break;
    case SQL_ATTR_CONNECTION_TIMEOUT:
        v = c->connectionTimeout;
        break;
    case SQL_ATTR_AUTOCOMMIT:
        v = c->autocommit;
        break;
    case SQL_ATTR_ACCESS_MODE:
        v = c->accessMode;
        break;
    case SQL_ATTR_TXN_ISOLATION:
        v = c->txnIsolation;
        break;
    case SQL_ATTR_PACKET_SIZE:
        v = c->packetSize;
        break;
    case SQL_ATTR_CONNECTION_DEAD:
        v = c->session && c->session->alive(nullptr) ? SQL_CD_FALSE : SQL_CD_TRUE;
        break;
    case SQL_ATTR_CURRENT_CATALOG:
        return withInfo(c, putText(std::string("mt"), text, length));
    default:
        return postDriverError(c, "HY092", "Invalid attribute/option identifier");
    }
    return writeValue(v, value, length);
}

} // namespace

extern "C" {

SQLRETURN SQL_API SQLConnect(SQLHDBC handle, SQLCHAR* serverName, SQLSMALLINT nameLength,
                             SQLCHAR* userName, SQLSMALLINT userLength, SQLCHAR* authentication,
                             SQLSMALLINT authLength)
{
    Connection* c = begin(asConnection(handle));
    if (!c) {
        return SQL_INVALID_HANDLE;
    }
    return connectTo(c, inputText(serverName, nameLength), inputText(userName, userLength),
                     inputText(authentication, authLength));
}

SQLRETURN SQL_API SQLConnectW(SQLHDBC handle, SQLWCHAR* serverName, SQLSMALLINT nameLength,
                              SQLWCHAR* userName, SQLSMALLINT userLength, SQLWCHAR* authentication,
                              SQLSMALLINT authLength)
{
    Connection* c = begin(asConnection(handle));
    if (!c) {
        return SQL_INVALID_HANDLE;
    }
    return connectTo(c, inputWide(serverName, nameLength), inputWide(userName, userLength),
                     inputWide(authentication, authLength));
}

SQLRETURN SQL_API SQLDriverConnect(SQLHDBC handle, SQLHWND /*window*/, SQLCHAR* inString,
                                   SQLSMALLINT inLength, SQLCHAR* outString,
                                   SQLSMALLINT outBufferLength, SQLSMALLINT* outLength,
                                   SQLUSMALLINT /*completion*/)
{
    Connection* c = begin(asConnection(handle));
    if (!c) {
        return SQL_INVALID_HANDLE;
    }
    return driverConnect(c, inputText(inString, inLength),
                         TextBuffer::narrow(outString, outBufferLength), outLength);
}

SQLRETURN SQL_API SQLDriverConnectW(SQLHDBC handle, SQLHWND /*window*/, SQLWCHAR* inString,
                                    SQLSMALLINT inLength, SQLWCHAR* outString,
                                    SQLSMALLINT outBufferLength, SQLSMALLINT* outLength,
                                    SQLUSMALLINT /*completion*/)
{
    Connection* c = begin(asConnection(handle));
    if (!c) {
        return SQL_INVALID_HANDLE;
    }
    return driverConnect(c, inputWide(inString, inLength),
                         TextBuffer::wideChars(outString, outBufferLength), outLength);
}

SQLRETURN SQL_API SQLDisconnect(SQLHDBC handle)
{
    Connection* c = begin(asConnection(handle));
    if (!c) {
        return SQL_INVALID_HANDLE;
    }
    if (!c->session) {
        return postDriverError(c, "08003", "Connection not open");
    }
    while (!c->statements.empty()) {
        freeStatement(*c->statements.begin());
    }
    c->session.reset();
    return SQL_SUCCESS;
}

SQLRETURN SQL_API SQLSetConnectAttr(SQLHDBC handle, SQLINTEGER attribute, SQLPOINTER value,
                                    SQLINTEGER /*length*/)
{
    Connection* c = begin(asConnection(handle));
    if (!c) {
        return SQL_INVALID_HANDLE;
    }
    return setConnectAttr(c, attribute, value);
}

SQLRETURN SQL_API SQLSetConnectAttrW(SQLHDBC handle, SQLINTEGER attribute, SQLPOINTER value,
                                     SQLINTEGER /*length*/)
{
    Connection* c = begin(asConnection(handle));
    if (!c) {
        return SQL_INVALID_HANDLE;
    }
    return setConnectAttr(c, attribute, value);
}

SQLRETURN SQL_API SQLGetConnectAttr(SQLHDBC handle, SQLINTEGER attribute, SQLPOINTER value,
                                    SQLINTEGER bufferLength, SQLINTEGER* length)
{
    Connection* c = begin(asConnection(handle));
    if (!c) {
        return SQL_INVALID_HANDLE;
    }
    return getConnectAttr(c, attribute, value, TextBuffer::narrow(value, bufferLength), length);
}

SQLRETURN SQL_API SQLGetConnectAttrW(SQLHDBC handle, SQLINTEGER attribute, SQLPOINTER value,
                                     SQLINTEGER bufferLength, SQLINTEGER* length)
{
    Connection* c = begin(asConnection(handle));
    if (!c) {
        return SQL_INVALID_HANDLE;
    }
    return getConnectAttr(c, attribute, value, TextBuffer::wideBytes(value, bufferLength), length);
}

SQLRETURN SQL_API SQLNativeSql(SQLHDBC handle, SQLCHAR* inText, SQLINTEGER inLength,
                               SQLCHAR* outText, SQLINTEGER bufferLength, SQLINTEGER* outLength)
{
    Connection* c = begin(asConnection(handle));
    if (!c) {
        return SQL_INVALID_HANDLE;
    }
    return withInfo(c, copyText(inputText(inText, inLength), outText, bufferLength, outLength));
}

SQLRETURN SQL_API SQLNativeSqlW(SQLHDBC handle, SQLWCHAR* inText, SQLINTEGER inLength,
                                SQLWCHAR* outText, SQLINTEGER bufferLength, SQLINTEGER* outLength)
{
    Connection* c = begin(asConnection(handle));
    if (!c) {
        return SQL_INVALID_HANDLE;
    }
    return withInfo(c, putText(inputWide(inText, inLength),
                               TextBuffer::wideChars(outText, bufferLength), outLength));
}

} // extern "C"
