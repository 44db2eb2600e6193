#include "DisplayStatements.h"

#include "StatementCases.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace kaldor;
using namespace kaldor::test;

namespace {

// Two fields on the first level and one on the third: on SQL Server the first level's inserts
// open their transaction before the insert, the others after it.
TreeSave treeSave()
{
    return {{{QStringLiteral("4201"), QStringLiteral("4210")},
             {},
             {QStringLiteral("2801")},
             {},
             {},
             {}},
            QStringLiteral("25")};
}

std::vector<StatementCase> cases()
{
    return {
        {"tree view",
         [](DatabaseKind d) { return TreeSaveSql(d, treeSave()); },
         {"delete from mt.qrb_zv_tree_fields;commit",
          "insert into mt.qrb_zv_tree_fields(fldnum) values ('4201');commit",
          "insert into mt.qrb_zv_tree_fields(fldnum) values ('4210');commit",
          "insert into mt.qrb_zv_tree_fields(fldnum) values ('2801');commit",
          "update mt.qrb_zv_tree_config set max_rows_display = '25';commit"},
         {"Begin Transaction; delete from mt.qrb_zv_tree_fields; commit",
          "Begin Transaction; insert into mt.qrb_zv_tree_fields(fldnum) values ('4201'); commit",
          "Begin Transaction; insert into mt.qrb_zv_tree_fields(fldnum) values ('4210'); commit",
          "insert into mt.qrb_zv_tree_fields(fldnum) values ('2801');Begin Transaction; commit",
          "Begin Transaction; update mt.qrb_zv_tree_config set max_rows_display = '25'; commit"}},
        {"web page with a style sheet and a wallpaper holding quotes",
         [](DatabaseKind d) {
             return QStringList{
                 PageSaveSql(d, {QStringLiteral("Login Form"), QStringLiteral("lab's.css"),
                                 QStringLiteral("O'Hare.png"), QStringLiteral("LightCyan")})};
         },
         {"update mt.qrb_zv_page_configuration set style_sheet = 'lab''s.css',wallpaper = "
          "'O''Hare.png',background = 'LightCyan' where web_page = 'Login Form';commit"},
         {"update mt.qrb_zv_page_configuration set style_sheet = 'lab''s.css',wallpaper = "
          "'O''Hare.png',background = 'LightCyan' where web_page = 'Login Form';Begin "
          "Transaction; commit"}},
        {"web page without a style sheet",
         [](DatabaseKind d) {
             return QStringList{PageSaveSql(
                 d, {QStringLiteral("Main Menu"), QString(), QString(), QStringLiteral("White")})};
         },
         {"update mt.qrb_zv_page_configuration set style_sheet = NULL,wallpaper = '',background "
          "= 'White' where web_page = 'Main Menu';commit"},
         {"update mt.qrb_zv_page_configuration set style_sheet = NULL,wallpaper = '',background "
          "= 'White' where web_page = 'Main Menu';Begin Transaction; commit"}},
        {"web pages reset",
         [](DatabaseKind d) { return QStringList{PageResetSql(d)}; },
         {"call mt.qrb_zv_reset_page_config;commit"},
         {"{call [mt].qrb_zv_reset_page_config};Begin transaction; commit"}},
        {"results header with a quote",
         [](DatabaseKind d) { return HeaderSaveSql(d, QStringLiteral("Lab's results")); },
         {"delete from mt.qrb_zv_result_header;commit",
          "insert into mt.qrb_zv_result_header(header) values ('Lab''s results');commit"},
         {"Begin Transaction; delete from mt.qrb_zv_result_header; commit",
          "insert into mt.qrb_zv_result_header(header) values ('Lab''s results');Begin "
          "Transaction; commit"}},
    };
}

TEST(DisplayStatements, ExactTextsOfBothDialects)
{
    expectExactTexts(cases());
}

} // namespace
