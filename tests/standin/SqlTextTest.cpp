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

TEST(SplitBatch, CutsOnSemicolonsOutsideQuotesAndComments)
{
    const std::vector<SplitCase> cases = {
        {"select 1;commit", {"select 1", "commit"}},
        {"Begin Transaction; delete from t; commit",
         {"Begin Transaction", "delete from t", "commit"}},
        {"insert into t values ('a;b','it''s;');commit",
         {"insert into t values ('a;b','it''s;')", "commit"}},
        {"{call [mt].qrb_zv_group_config_maint;}", {"{call [mt].qrb_zv_group_config_maint;}"}},
        {"select [a;b], \"c;d\" from t;", {"select [a;b], \"c;d\" from t"}},
        {" ; ;select 1;; ", {"select 1"}},
        {"select 1 -- a; comment\n;select 2", {"select 1 -- a; comment", "select 2"}},
        {"select 1;--", {"select 1"}},
        {"select 1; -- done\n /* ; */ ;select '--'", {"select 1", "select '--'"}},
        {"select 'unterminated;", {"select 'unterminated;"}},
        {"", {}}};
    for (const SplitCase& c : cases) {
        EXPECT_EQ(splitBatch(c.batch), c.pieces) << c.batch;
    }
}

struct ClassifyCase {
    const char* text;
    StatementKind kind;
    const char* schema;
    const char* name;
    bool malformed;
};

TEST(Classify, RecognisesTransactionWordsCallsAndViews)
{
    using enum StatementKind;
    const std::vector<ClassifyCase> cases = {
        {"Begin Transaction", Begin, "", "", false},
        {"begin TRANSACTION", Begin, "", "", false},
        {"Begin TransAction", Begin, "", "", false},
        {"COMMIT", Commit, "", "", false},
        {"commit transaction", Commit, "", "", false},
        {"begin tran", Begin, "", "", false},
        {"begin tran t1", Begin, "", "", false},
        {"BEGIN TRANSACTION save_groups", Begin, "", "", false},
        {"commit tran -- the groups", Commit, "", "", false},
        {"rollback work", Rollback, "", "", false},
        {"{? = call mt.x}", CallEscape, "mt", "x", false},
        {"call /* pages */ mt.qrb_zv_reset_page_config", Call, "mt", "qrb_zv_reset_page_config",
         false},
        {"execute mt.qrb_zv_reset_page_config", CallEscape, "mt", "qrb_zv_reset_page_config",
         false},
        {"committed", Plain, "", "", false},
        {"call mt.qrb_zv_field_config_maint", Call, "mt", "qrb_zv_field_config_maint", false},
        {"{call [mt].qrb_zv_reset_page_config}", CallEscape, "mt", "qrb_zv_reset_page_config",
         false},
        {"{call [mt].qrb_zv_group_config_maint;}", CallEscape, "mt", "qrb_zv_group_config_maint",
         false},
        {"{ call mt.x() }", CallEscape, "mt", "x", false},
        {"{call mt.x extra}", CallEscape, "mt", "x", true},
        {"call", Call, "", "", true},
        {"alter view [mt].[qrb_zv_customiz] as select 1", AlterView, "mt", "qrb_zv_customiz",
         false},
        {"alter view mt.v", AlterView, "mt", "v", true},
        {"select * from mt.calls", Plain, "", "", false}};
    for (const ClassifyCase& c : cases) {
        SCOPED_TRACE(c.text);
        const Statement s = classify(c.text);
        EXPECT_EQ(s.kind, c.kind);
        EXPECT_EQ(s.schema, c.schema);
        EXPECT_EQ(s.name, c.name);
        EXPECT_EQ(s.malformed, c.malformed);
    }
}

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
    const std::vector<MarkerCase> cases = {{"select 1", {}},
                                           {"select * from t where a = ? and b = ?", {26, 36}},
                                           {"select '?', \"?\", [?] from t where a=?", {36}},
                                           {"select 'it''s ?' where a=?", {25}},
                                           {"select 1 -- why?\n, ?", {19}},
                                           {"select /* ? */ ?", {15}},
                                           {"{? = call mt.p(?)}", {1, 15}},
                                           {"values (?,?);select ?", {8, 10, 20}},
                                           {"select 'unterminated ?", {}},
                                           {"select ?", {7}}};
    for (const MarkerCase& c : cases) {
        EXPECT_EQ(parameterMarkers(c.sql), c.markers) << c.sql;
    }
}

} // namespace

} // namespace kaldor::standin
