#pragma once
// Shared by the ODBC layer's tests against the stand-in and against a real server: while one
// connection holds a transaction open, another connection's write to the same row waits for it,
// as long as it takes, instead of failing after a few seconds.
#include "Odbc.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <thread>

inline void expectAWriteWaitsForAnOpenTransaction(
    const std::function<std::unique_ptr<kaldor::db::OdbcConnection>()>& connect,
    const QString& update, const QString& read)
{
    // Longer than any lock timeout a stand-in might have had (5 s).
    constexpr auto Held = std::chrono::milliseconds(6000);
    auto holder = connect();
    auto other = connect();
    holder->setAutoCommit(false);
    holder->execute(update.arg(QStringLiteral("held")));
    std::thread release([&holder, Held] {
        std::this_thread::sleep_for(Held);
        holder->commit();
    });
    QElapsedTimer waited;
    waited.start();
    try {
        other->execute(update.arg(QStringLiteral("waited")));
    } catch (const kaldor::db::DbException& e) {
        ADD_FAILURE() << "the write gave up after " << waited.elapsed() << " ms: "
                      << (e.error().records.isEmpty() ? e.error().description
                                                      : e.error().records.first().message)
                             .toStdString();
    }
    release.join();
    EXPECT_GE(waited.elapsed(), std::chrono::milliseconds(Held).count() - 500);
    const kaldor::db::ResultSet rows = other->query(read);
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows.value(0, rows.columns().first()), QStringLiteral("waited"));
}
