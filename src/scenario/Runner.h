#pragma once

#include "Monkey.h"
#include "Script.h"
#include "Seams.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class QObject;
class QTimer;
class QWidget;

namespace kaldor::scenario {

// Runs a scenario script against the real program and prints its transcript on stdout.
// The program runs in a child process from `start` on, so that its end (which ends the
// process) is real; the commands after its end run in the runner itself.
class Runner final {
public:
    Runner();
    ~Runner();
    Q_DISABLE_COPY_MOVE(Runner)

    // Returns the runner's exit status: 0 ran to its end, 2 script error, 3 the program
    // crashed or hung.
    int run(const QString& scriptText);

private:
    enum class Outcome { Done, ScriptError };
    struct Prompt {
        bool cancel = false;
        QString text;
        bool leaveOpen = false; // answered by the commands that follow, as a user would
    };

    // What a command acts on, found before it runs: the window F of its first argument F or
    // F.C, and the control C.
    struct Target {
        QWidget* window = nullptr;
        QObject* control = nullptr;
    };
    // One command of the script language (the table is in Commands.cpp).
    struct CommandSpec;

    static const CommandSpec* commandSpec(const QString& name);
    static bool isCommand(const QString& name);
    static bool runsAfterEnd(const QString& name);
    Outcome execute(const Command& c);
    // Finds the window and control the command needs; false after a script error or a
    // DISABLED line.
    bool findTarget(const Command& c, const CommandSpec& spec, Target& target, Outcome& outcome);
    Outcome scriptError(const Command& c, const QString& why);
    // Done, or the script error `why` when there is one (the functions of Controls.h say why
    // they could not act).
    Outcome outcomeOf(const Command& c, const QString& why);

    // Commands that need no program.
    Outcome engine(const Command& c);
    Outcome seed(const Command& c);
    Outcome raw(const QString& sql);
    Outcome shell(const Command& c);
    Outcome table(const Command& c);
    void printLog();
    Outcome settings(const Command& c);
    Outcome server(const Command& c);
    Outcome answer(const Command& c);
    Outcome monkey(const Command& c);

    // Commands of the running program.
    Outcome login(const Command& c);
    Outcome menu(const Command& c);
    Outcome show(const Command& c, const Target& t);
    Outcome xdrag(const Command& c, const Target& t);
    Outcome xclick(const Command& c, const Target& t);
    Outcome layout(const Command& c, const Target& t);

    // The program's life in the child process.
    int start(const Command& c);
    [[noreturn]] void runProgram(const Command& c);
    void step();
    // Echoes and runs one command of the running program, then lets the program go on.
    void runCommand(const Command& c);
    // The next random action of a `monkey` command, as a command of that line.
    Command monkeyCommand(const QString& line);
    void runMonkeyAnswer(const QString& line);
    [[noreturn]] void finishChild(const char* kind, int status);
    void installSeams();

    void echo(const Command& c);
    void recordTiming(const Command& c, qint64 nanoseconds, qint64 statements) const;
    void recordPeakMemory() const;
    bool isPasswordBox(const QString& path) const;
    // Answers the open prompt dialog with the next queued answer, or with its default
    // button when none is queued and `unanswered` is allowed.
    void answerPrompt(QWidget* dialog, bool unanswered);
    QWidget* openPrompt() const;

    ParsedScript m_script;
    qsizetype m_next = 0;
    bool m_inProgram = false;
    bool m_programEnded = false;
    int m_childPipe = -1;
    QTimer* m_stepTimer = nullptr;
    // Benchmarks: where command timings go (empty: nowhere), and the statements sent so far.
    QString m_timingFile = qEnvironmentVariable("KALDOR_SCENARIO_TIMING");
    qint64 m_statements = 0;

    QString m_tempRoot;
    QString m_dataSource = QStringLiteral("Calibration Data");
    QString m_rawUser = QStringLiteral("admin");
    QString m_rawPassword = QStringLiteral("secret");
    QString m_dialect;
    QString m_engineDatabase;

    // monkey N SEED: the actions still to come, chosen by the seeded generator.
    std::optional<Monkey> m_monkey;
    qint64 m_monkeyLeft = 0;
    int m_monkeyLine = 0;

    // Prompts answered with their default button during the current command, and its line.
    static constexpr int MaxUnansweredPrompts = 20;
    int m_unansweredPrompts = 0;
    int m_currentLine = 0;

    QList<QString> m_replies;
    QList<Prompt> m_prompts;
};

// Writes one transcript line to standard output, flushed.
void out(const QString& line);

// The answer to a message box that a script names: OK, Cancel, Yes or No.
std::optional<MsgAnswer> parseAnswer(const QString& s);

} // namespace kaldor::scenario
