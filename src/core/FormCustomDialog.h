#pragma once

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kaldor {

// The prompt dialog's window: a top-level, non-modal question box. CustomDialog shows it and
// waits for `finished`, emitted once OK has been accepted, Cancel confirmed, or the window
// closed by its frame (which answers "*CANCEL*").
class FormCustomDialog final : public QWidget {
    Q_OBJECT
public:
    explicit FormCustomDialog(QWidget* parent = nullptr);
    void FormLoad();

    // Steps of CustomDialog that set up the window before it waits.
    void setColour(qint32 colour);
    void setMasked(bool masked);
    void setQuestion(const QString& caption, const QString& question, qint32 maxLength,
                     qint16 formatCode);
    void showFreeText(const QString& defaultValue);
    void showPickList(const QStringList& entries, const QString& defaultValue);

Q_SIGNALS:
    void finished();

protected:
    void closeEvent(QCloseEvent* event) override;
    // Escape does what Cancel does.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void CommandCustomDialogOK_Click();
    void CommandCustomDialogCancel_Click();
    bool answerPassesFormat(const QString& answer) const;
    void finish();

    QLabel* m_labelCustomDialog;
    QLineEdit* m_textCustomDialog;
    QComboBox* m_comboCustomDialog;
    QPushButton* m_commandOK;
    QPushButton* m_commandCancel;
    QLabel* m_labelDataFormat;
};

} // namespace kaldor
