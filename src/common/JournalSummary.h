#pragma once

#include <QJsonObject>
#include <QString>

// What a change journal entry says, in words: kaldor-config journal and the Change History
// window both read entries through these.
namespace kaldor {

// What a journalled statement text changed, in a few words per statement:
// "update qrb_zv_groupconfig (18 columns) where group_id = 'LAB'".
QString describeChange(const QString& sql);

// How an entry's statement failed ("FAILED 208: Invalid object name 'mt.x'."), or an empty
// text when it succeeded.
QString failureText(const QJsonObject& entry);

} // namespace kaldor
