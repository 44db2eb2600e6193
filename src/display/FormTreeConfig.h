#pragma once

#include "ChildWindow.h"

#include <QString>
#include <QWidget>

#include <array>

class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QTabWidget;

namespace kaldor {

struct TreeSave;

// The web application's tree view: for each of its six levels, which summary fields it shows
// and in which order, and how many assets it lists at most.
class FormTreeConfig final : public QWidget, public ChildWindow {
    Q_OBJECT
public:
    FormTreeConfig();
    void FormLoad() override;

private:
    // One tab: a level of the tree, with its fields not displayed (sorted) and displayed (in
    // display order).
    struct Level {
        QListWidget* invisible = nullptr;
        QListWidget* visible = nullptr;
        std::array<QLabel*, 3> labels{};
    };
    static constexpr int Levels = 6;

    QWidget* buildLevel(int index);
    void LoadFeatures(QString& sql);
    void LoadFieldLists(QString& sql);
    TreeSave readSave() const;
    void CommandSave_Click();
    void moveToDisplayed(QListWidget* from, QListWidget* to);
    void moveToHidden(QListWidget* from, QListWidget* to);
    Level* levelOf(const QString& fieldNumber);

    QGroupBox* m_frame1;
    QTabWidget* m_ssTab1;
    std::array<Level, Levels> m_levels;
    QGroupBox* m_frame2;
    QLabel* m_label4;
    QLineEdit* m_textMaxAssets;
    QPushButton* m_commandSave;
    QPushButton* m_commandExit;
};

} // namespace kaldor
