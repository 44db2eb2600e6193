#pragma once

#include "ChildWindow.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

namespace kaldor {

// The header row of the web application's calibration results table: one text, stored as the
// single row of mt.qrb_zv_result_header.
class FormResultsHeader final : public QWidget, public ChildWindow {
    Q_OBJECT
public:
    FormResultsHeader();
    void FormLoad() override;

private:
    void CommandSave_Click();

    QLabel* m_label1;
    QLineEdit* m_textHeader;
    QPushButton* m_commandSave;
    QPushButton* m_commandExit;
};

} // namespace kaldor
