// How the stand-in cuts a batch into statements and recognises the statements it handles
// itself.
#include "SqlText.h"

#include <gtest/gtest.h>

namespace kaldor::standin {

namespace {

struct SplitCase {
    const char* batch;
    std::vector<std::string> pieces;
};

class SplitBatch : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitBatch, CutsOnSemicolonsOutsideQuotes)
{
    EXPECT_EQ(splitBatch(GetParam().batch), GetParam().pieces);
}

INSTANTIATE_TEST_SUITE_P(
    Batches, SplitBatch,
    ::testing::Values(
        SplitCase{"select 1;commit", {"select 1", "commit"}},
        SplitCase{"Begin Transaction; delete from t; commit",
                  {"Begin Transaction", "delete from t", "commit"}},
        SplitCase{"insert into t values ('a;b','it''s;');commit",
                  {"insert into t values ('a;b','it''s;')", "commit"}},
        SplitCase{"{call [mt].qrb_zv_group_config_maint;}",
                  {"{call [mt].qrb_zv_group_config_maint;}"}},
        SplitCase{"select [a;b], \"c;d\" from t;", {"select [a;b], \"c;d\" from t"}},
        SplitCase{" ; ;select 1;; ", {"select 1"}},
        SplitCase{"select 1 -- a; comment\n;select 2", {"select 1 -- a; comment", "select 2"}},
        SplitCase{"select 1;--", {"select 1"}},
        SplitCase{"select 1; -- done\n /* ; */ ;select '--'", {"select 1", "select '--'"}},
        SplitCase{"select 'unterminated;", {"select 'unterminated;"}}, SplitCase{"", {}}));

struct ClassifyCase {
    const char* text;
    StatementKind kind;
    const char* schema;
    const char* name;
    bool malformed;
};

class Classify : public ::testing::TestWithParam<ClassifyCase> {};

TEST_P(Classify, RecognisesTransactionWordsCallsAndViews)
{
    const Statement s = classify(GetParam().text);
    EXPECT_EQ(s.kind, GetParam().kind);
    EXPECT_EQ(s.schema, GetParam().schema);
    EXPECT_EQ(s.name, GetParam().name);
    EXPECT_EQ(s.malformed, GetParam().malformed);
}

INSTANTIATE_TEST_SUITE_P(
    Statements, Classify,
    ::testing::Values(ClassifyCase{"Begin Transaction", StatementKind::Begin, "", "", false},
                      ClassifyCase{"begin TRANSACTION", StatementKind::Begin, "", "", false},
                      ClassifyCase{"Begin TransAction", StatementKind::Begin, "", "", false},
                      ClassifyCase{"COMMIT", StatementKind::Commit, "", "", false},
                      ClassifyCase{"commit transaction", StatementKind::Commit, "", "", false},
                      ClassifyCase{"committed", StatementKind::Plain, "", "", false},
                      ClassifyCase{"call mt.qrb_zv_field_config_maint", StatementKind::Call, "mt",
                                   "qrb_zv_field_config_maint", false},
                      ClassifyCase{"{call [mt].qrb_zv_reset_page_config}",
                                   StatementKind::CallEscape, "mt", "qrb_zv_reset_page_config",
                                   false},
                      ClassifyCase{"{call [mt].qrb_zv_group_config_maint;}",
                                   StatementKind::CallEscape, "mt", "qrb_zv_group_config_maint",
                                   false},
                      ClassifyCase{"{ call mt.x() }", StatementKind::CallEscape, "mt", "x", false},
                      ClassifyCase{"{call mt.x extra}", StatementKind::CallEscape, "mt", "x", true},
                      ClassifyCase{"call", StatementKind::Call, "", "", true},
                      ClassifyCase{"alter view [mt].[qrb_zv_customiz] as select 1",
                                   StatementKind::AlterView, "mt", "qrb_zv_customiz", false},
                      ClassifyCase{"alter view mt.v", StatementKind::AlterView, "mt", "v", true},
                      ClassifyCase{"select * from mt.calls", StatementKind::Plain, "", "", false}));

TEST(StripSchemaQualifier, DropsTheSchemaFromNamesButNotFromLiterals)
{
    EXPECT_EQ(stripSchemaQualifier("select a from mt.t, [mt].[u], \"MT\".v where x = 'mt.t'"
                                   " and format.mt = smt.x",
                                   "mt"),
              "select a from t, [u], v where x = 'mt.t' and format.mt = smt.x");
}

struct MarkerCase {
    const char* sql;
    std::vector<size_t> markers;
};

TEST(ParameterMarkers, AreQuestionMarksOutsideQuotesAndComments)
{
    const std::vector<MarkerCase> cases = {
        {"select 1", {}},
        {"select * from t where a = ? and b = ?", {26, 36}},
        {"select '?', \"?\", [?] from t where a=?", {36}},
        {"select 'it''s ?' where a=?", {25}},
        {"select 1 -- why?\n, ?", {19}},
        {"select /* ? */ ?", {15}},
        {"{? = call mt.p(?)}", {1, 15}},
        {"values (?,?);select ?", {8, 10, 20}},
        {"select 'unterminated ?", {}},
        {"select ?", {7}},
    };
    for (const MarkerCase& c : cases) {
        EXPECT_EQ(parameterMarkers(c.sql), c.markers) << c.sql;
    }
}

} // namespace

} // namespace kaldor::standin
