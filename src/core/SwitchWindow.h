#pragma once

#include "ChildWindow.h"
#include "ModuleGlobals.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QPushButton;

namespace kaldor {

// What tells the two switch windows apart: their names, texts, column and statements.
struct SwitchTexts {
    const char16_t* caption;
    const char16_t* labelName;
    const char16_t* labelText;
    const char16_t* comboName;
    const char16_t* saveName;
    const char16_t* finishName;
    const char16_t* selectAnywhere;
    const char16_t* selectSqlServer;
    const char16_t* column;
    const char16_t* emptyValue;
    const char16_t* emptyMessage;
    QString (*saveSql)(DatabaseKind dialect, const QString& value);
    QString SystemConfig::*value;
};

// A window holding one On/Off switch of the system configuration row: it reads its column
// when it opens and writes it back with a one-column update, keeping the value in memory.
class SwitchWindow : public QWidget, public ChildWindow {
    Q_OBJECT
public:
    void FormLoad() override;

protected:
    SwitchWindow(const QString& formName, const SwitchTexts& texts);

private:
    void GetConfigDesktop();
    void Save_Click();
    void Finish_Click();

    QString m_formName;
    const SwitchTexts& m_texts;
    QLabel* m_label;
    QComboBox* m_combo;
    QPushButton* m_save;
    QPushButton* m_finish;
};

} // namespace kaldor
