#pragma once

#include <QRandomGenerator>
#include <QString>

class QObject;
class QWidget;

namespace kaldor::scenario {

// Random user actions for robustness runs. Each action is one line of the script language that
// acts on what is open now (a window, a usable control, a menu item), and each message box or
// prompt dialog gets a random reply or answer the moment it shows, also as a line, so a run's
// transcript replays as a script. The same seed gives the same choices.
class Monkey final {
public:
    // On a real display (`desktop`), half the actions are real input instead: a mouse click
    // at a random point of a control, a key or a text typed to whatever has the focus, a
    // window's frame clicked or dragged.
    Monkey(quint64 seed, bool desktop) : m_random(seed), m_desktop(desktop) {}

    QString nextLine();
    // The reply to the message box shown now, one of its buttons (`buttons` as the transcript
    // names them: ok, okcancel, yesno).
    QString replyLine(const QString& buttons);
    // The answer to the prompt dialog shown now: a text, or a cancel (an answer left to the
    // dialog's default could ask again for ever, as a rename to the same name does).
    QString answerLine();

private:
    QString actionOn(const QString& path, QObject* control);
    QString realInputOn(QWidget* window, const QString& path);
    QString randomText();
    QString randomKey();
    int below(qsizetype n) { return int(m_random.bounded(int(n))); }

    QRandomGenerator m_random;
    bool m_desktop;
};

} // namespace kaldor::scenario
