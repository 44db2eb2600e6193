#pragma once

#include <QString>
#include <QStringList>

// The program's one question box: asks for one value, checks it and hands it back.
namespace kaldor {

inline const QString DialogCancelled = QStringLiteral("*CANCEL*");

// The shared pick-list entries, indices 0 to 2500, filled by callers from index 1.
QStringList& PickValues(); // always 2501 entries
void ClearPickValues();

// Asks the question and waits (other windows keep working) until it is answered or
// cancelled. Returns the answer, or DialogCancelled. A colour of 0 becomes the default light
// grey 0xC0C0C0, which is written back. The colour is a Windows-style RGB value: red in the
// low byte, blue in the third.
QString CustomDialog(const QString& caption, const QString& question, qint16 required,
                     qint16 pickList, qint32 maxLength, qint16 formatCode,
                     const QString& defaultValue, qint32& colour, qint16 masked);

// The text before the first "!" (the whole text when it has none).
QString StripValidation(const QString& text);

// The shared values of the dialog: the last answer, 1 while a dialog waits, and whether an
// empty answer is refused (1), accepted (0) or every answer refused (any other value).
QString& DialogResult();
qint16& DialogBusy();
qint16& DialogRequired();

// The format checks of the dialog's answers, by the platform's parsing (the user's locale,
// then the C locale and the common written forms).
bool isDateText(const QString& text);       // a date, with or without a time of day
bool isDateOrTimeText(const QString& text); // a date, a time of day, or both
bool isNumberText(const QString& text);

} // namespace kaldor
