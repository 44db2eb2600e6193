#pragma once

// A statement builder's exact texts in both dialects, as a table of cases.
#include "Session.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace kaldor::test {

using Texts = std::vector<std::string>;

inline Texts texts(const QStringList& statements)
{
    Texts out;
    for (const QString& statement : statements)
        out.push_back(statement.toStdString());
    return out;
}

struct StatementCase {
    const char* name;
    std::function<QStringList(DatabaseKind)> build;
    Texts anywhere;
    Texts sqlServer;
};

inline void expectExactTexts(const std::vector<StatementCase>& cases)
{
    for (const StatementCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(texts(c.build(DatabaseKind::SqlAnywhere)), c.anywhere);
        EXPECT_EQ(texts(c.build(DatabaseKind::SqlServer)), c.sqlServer);
    }
}

} // namespace kaldor::test
