#pragma once

#include "Connection.h"
#include "DbError.h"

#include <QList>
#include <QString>

#include <memory>

namespace kaldor::db {

struct DataSourceEntry {
    QString name;
    QString description; // the driver's description, as the driver manager reports it
};

struct DataSourceListing {
    bool environmentAllocated = false;
    QList<DataSourceEntry> entries;
};

// Lists the data sources in the order the driver manager returns them (SQL_FETCH_FIRST, then
// SQL_FETCH_NEXT while the call succeeds), with buffers of the given sizes in characters;
// each text is cut to the length the call reports (at most the buffer less its terminator).
// Stops after `limit` entries when limit >= 0 and then reports `overflow` if more exist.
struct ListOptions {
    int nameBuffer = 256;
    int descriptionBuffer = 256;
    int limit = -1;
};
DataSourceListing listDataSources(const ListOptions& options, bool* overflow = nullptr);

struct ConnectOptions {
    QString label = QStringLiteral("main");
    int loginTimeoutSeconds = 15;
    // 0: a statement waits for the server as long as it takes. Else the driver is asked to give
    // up after this many seconds, and a statement or transaction call that has not come back
    // soon after is given up by this layer (HYT00), also when the server has stopped answering
    // altogether; from then on every call of the process fails at once (see callAbandoned).
    int queryTimeoutSeconds = 0;
    int connectionTimeoutSeconds = 0; // 0: any other request waits for the server too

    // The program's options for a connection: statements and the connection wait for the
    // server unless the environment variable KALDOR_QUERY_TIMEOUT gives a number of seconds
    // (a whole number above 0; anything else is no limit). The login timeout stays.
    static ConnectOptions forProgram(const QString& label);
};

// Whether a call was given up while the driver was still in it: the process then makes no further
// ODBC call and should end without releasing its handles.
bool callAbandoned();

// A connection through the unixODBC driver manager, autocommit on, so the texts' own
// transaction words decide transactions.
class OdbcConnection final : public Connection {
public:
    // Connects to the data source with the user name and password; throws DbException
    // (OdbcConnectFailed with the driver's records) on failure. The password is not kept.
    static std::unique_ptr<OdbcConnection> open(const QString& dataSource, const QString& user,
                                                QString password, const ConnectOptions& options);
    ~OdbcConnection() override;
    Q_DISABLE_COPY_MOVE(OdbcConnection)

    void execute(const QString& sql) override;
    ResultSet query(const QString& sql) override;
    QString label() const override { return m_options.label; }

    // The server's catalog of one schema, as the ODBC catalog functions report it with their
    // standard columns: every table and view (SQLTables), every column of them (SQLColumns),
    // or every procedure (SQLProcedures). Sends no statement.
    enum class Catalog { Tables, Columns, Procedures };
    ResultSet catalog(Catalog what, const QString& schema);

    // Transactions under the caller's control: with autocommit off, the statements that follow
    // form one transaction until commit() or rollback() ends it.
    void setAutoCommit(bool on);
    void commit();
    void rollback();

private:
    struct Handles;
    OdbcConnection(std::unique_ptr<Handles> handles, ConnectOptions options, QString dataSource,
                   QString user);
    ResultSet run(const QString& sql, bool wantRows);

    std::unique_ptr<Handles> m_handles;
    ConnectOptions m_options;
    QString m_dataSource;
    QString m_user; // who logged in, for the outcome observer (never the password)
};

} // namespace kaldor::db
