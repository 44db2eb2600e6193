#include "ReportStatements.h"

#include "StatementCases.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace kaldor;
using namespace kaldor::test;

namespace {

const QString Quoted = QStringLiteral("Tech's Due");

const std::string PromptInsert =
    "insert into mt.qrb_zv_report_prompts(zvrtag,prompt_string,prompt,default_value,prompt_type,"
    "db_validation,validation_table,validation_column,custom_validation,force_validation,"
    "sequence)values ((select zvrtag from mt.qrb_zv_reports where report_name = 'Tech''s Due'),";

QList<ReportPrompt> prompts()
{
    const auto prompt = [](std::initializer_list<const char*> texts) {
        QStringList t;
        for (const char* text : texts)
            t.append(QString::fromUtf8(text));
        return ReportPrompt{t[0], t[1], t[2], t[3], t[4], t[5], t[6], t[7], t[8]};
    };
    return {prompt({"Due's date?", "@Due's", "it's", "date", "N", "None", "None", "N", "N"}),
            prompt({"Lab", "@Lab", "", "string", "Y", "Inventory", "i4201", "Y", "P"})};
}

std::vector<StatementCase> cases()
{
    return {
        {"clean names",
         [](DatabaseKind d) { return ReportCleanNamesSql(d); },
         {"update mt.qrb_zv_report_prompts set prompt = (select replace (prompt, '''', ''));commit",
          "update mt.qrb_zv_reports set report_name = (select replace (report_name, '''', "
          "''));commit"},
         {"Begin Transaction; update mt.qrb_zv_report_prompts set prompt = (select replace "
          "(prompt, '''', '')); Commit",
          "Begin Transaction; update mt.qrb_zv_reports set report_name = (select replace "
          "(report_name, '''', '')); commit"}},
        {"exists",
         [](DatabaseKind d) { return QStringList{ReportExistsSql(d, Quoted)}; },
         {"select report_name from mt.qrb_zv_reports where report_name = 'Tech''s Due';commit"},
         {"select report_name from mt.qrb_zv_reports where report_name = 'Tech''s Due';"}},
        {"SQL report added",
         [](DatabaseKind d) {
             return QStringList{ReportInsertSql(d, Quoted, false, QStringLiteral("ABCDEF:25114"))};
         },
         {"insert into mt.qrb_zv_reports (report_name,report_type,zvrtag,sql_link) "
          "values('Tech''s Due','S','ABCDEF:25114','N');commit"},
         {"insert into mt.qrb_zv_reports (report_name,report_type,zvrtag,sql_link) "
          "values('Tech''s Due','S','ABCDEF:25114','N');Begin Transaction; commit"}},
        {"Crystal report added: a blank before its values",
         [](DatabaseKind d) {
             return QStringList{
                 ReportInsertSql(d, QStringLiteral("Labels"), true, QStringLiteral("ABCDEF:1"))};
         },
         {"insert into mt.qrb_zv_reports (report_name,report_type,zvrtag,sql_link) values "
          "('Labels','C','ABCDEF:1','N');commit"},
         {"insert into mt.qrb_zv_reports (report_name,report_type,zvrtag,sql_link) values "
          "('Labels','C','ABCDEF:1','N');Begin Transaction; commit"}},
        {"renamed",
         [](DatabaseKind d) {
             return QStringList{ReportRenameSql(d, Quoted, QStringLiteral("O'Hare's"))};
         },
         {"update mt.qrb_zv_reports set report_name = 'O''Hare''s' where report_name = 'Tech''s "
          "Due';commit"},
         {"Begin Transaction; update mt.qrb_zv_reports set report_name = 'O''Hare''s' where "
          "report_name = 'Tech''s Due';commit"}},
        {"removed",
         [](DatabaseKind d) { return ReportRemoveSql(d, Quoted); },
         {"delete from mt.qrb_zv_group_reports where zvrtag = (select zvrtag from "
          "mt.qrb_zv_reports where report_name = 'Tech''s Due');commit",
          "delete from mt.qrb_zv_reports where report_name = 'Tech''s Due';commit"},
         {"delete from mt.qrb_zv_group_reports where zvrtag = (select zvrtag from "
          "mt.qrb_zv_reports where report_name = 'Tech''s Due');Begin Transaction; commit",
          "delete from mt.qrb_zv_reports where report_name = 'Tech''s Due';Begin Transaction; "
          "commit"}},
        // The output is not quoted; the SQL report's file and output are not written.
        {"Crystal report saved",
         [](DatabaseKind d) {
             return QStringList{
                 ReportSaveSql(d, {Quoted, true, QStringLiteral("lab's.rpt"), QStringLiteral("PDF"),
                                   QStringLiteral("ignored"), true})};
         },
         {"update mt.qrb_zv_reports set report_filename = 'lab''s.rpt',report_out = 'PDF' where "
          "report_name = 'Tech''s Due';commit"},
         {"update mt.qrb_zv_reports set report_filename = 'lab''s.rpt',report_out = 'PDF' where "
          "report_name = 'Tech''s Due';Begin Transaction; Commit"}},
        {"SQL report saved with links",
         [](DatabaseKind d) {
             return QStringList{
                 ReportSaveSql(d, {Quoted, false, QString(), QString(),
                                   QStringLiteral("select * from t where a = 'x'"), true})};
         },
         {"update mt.qrb_zv_reports set report_sql = 'select * from t where a = ''x''', sql_link "
          "= 'Y' where report_name = 'Tech''s Due';commit"},
         {"Begin Transaction;update mt.qrb_zv_reports set report_sql = 'select * from t where a "
          "= ''x''', sql_link = 'Y' where report_name = 'Tech''s Due';commit"}},
        {"SQL report saved without links",
         [](DatabaseKind d) {
             return QStringList{ReportSaveSql(d, {QStringLiteral("A"), false, QString(), QString(),
                                                  QStringLiteral("x"), false})};
         },
         {"update mt.qrb_zv_reports set report_sql = 'x', sql_link = 'N' where report_name = "
          "'A';commit"},
         {"Begin Transaction;update mt.qrb_zv_reports set report_sql = 'x', sql_link = 'N' where "
          "report_name = 'A';commit"}},
        // Two prompts numbered 1 and 2; the question, replace text and default are quoted.
        {"prompts rewritten",
         [](DatabaseKind d) { return ReportPromptsSql(d, Quoted, prompts()); },
         {"delete from mt.qrb_zv_report_prompts where zvrtag = (select zvrtag from "
          "mt.qrb_zv_reports where report_name = 'Tech''s Due');commit",
          PromptInsert +
              "'@Due''s','Due''s date?','it''s','D','N','None','None','N','N','1');commit",
          PromptInsert + "'@Lab','Lab','','S','Y','Inventory','i4201','Y','P','2');commit"},
         {"delete from mt.qrb_zv_report_prompts where zvrtag = (select zvrtag from "
          "mt.qrb_zv_reports where report_name = 'Tech''s Due');Begin Transaction; commit",
          PromptInsert + "'@Due''s','Due''s date?','it''s','D','N','None','None','N','N','1');"
                         "Begin Transaction; commit",
          PromptInsert + "'@Lab','Lab','','S','Y','Inventory','i4201','Y','P','2');Begin "
                         "Transaction; commit"}},
        {"custom values rewritten",
         [](DatabaseKind d) {
             return ReportValuesSql(d, Quoted, QStringLiteral("@Lab"),
                                    {QStringLiteral("QA"), QStringLiteral("MT")});
         },
         {"delete from mt.qrb_zv_prompt_validation where zvrtag = (select zvrtag from "
          "mt.qrb_zv_reports where report_name = 'Tech''s Due') and prompt_string='@Lab';commit",
          "insert into mt.qrb_zv_prompt_validation(zvrtag,prompt_string,val) Values ((select "
          "zvrtag from mt.qrb_zv_reports where report_name = 'Tech''s Due'),'@Lab','QA');commit",
          "insert into mt.qrb_zv_prompt_validation(zvrtag,prompt_string,val) Values ((select "
          "zvrtag from mt.qrb_zv_reports where report_name = 'Tech''s Due'),'@Lab','MT');commit"},
         {"Begin Transaction; delete from mt.qrb_zv_prompt_validation where zvrtag = (select "
          "zvrtag from mt.qrb_zv_reports where report_name = 'Tech''s Due') and "
          "prompt_string='@Lab';commit",
          "Begin Transaction; insert into mt.qrb_zv_prompt_validation(zvrtag,prompt_string,val) "
          "Values ((select zvrtag from mt.qrb_zv_reports where report_name = 'Tech''s "
          "Due'),'@Lab','QA'); commit",
          "Begin Transaction; insert into mt.qrb_zv_prompt_validation(zvrtag,prompt_string,val) "
          "Values ((select zvrtag from mt.qrb_zv_reports where report_name = 'Tech''s "
          "Due'),'@Lab','MT'); commit"}},
    };
}

TEST(ReportStatements, ExactTextsOfBothDialects)
{
    expectExactTexts(cases());
}

} // namespace
