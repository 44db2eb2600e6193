#include "FieldView.h"

#include <gtest/gtest.h>

using namespace kaldor;

namespace {

// The view's statement follows the dialect rule of every other statement: no text at all for an
// undetermined dialect, never SQL Anywhere's by default. (Both dialects' texts stand whole in the
// desktop window's transcripts.)
TEST(FieldViewStatement, NoTextWithoutADialect)
{
    EXPECT_EQ(FieldViewStatement(DatabaseKind::Undetermined, QStringLiteral("Lab"),
                                 QStringLiteral("title2")),
              QString());
}

} // namespace
