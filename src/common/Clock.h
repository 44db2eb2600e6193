#pragma once

#include <QDateTime>

#include <functional>

// The program's clock, random generator and end: seams that tests and the scenario runner
// replace. The program installs nothing.
namespace kaldor {

// The program's clock.
QDateTime currentDateTime();
void setClock(std::function<QDateTime()> clock);

// The random generator: reseeded from a number (the clock, or a test's fixed seed),
// drawing single-precision numbers in [0, 1).
void reseedRandom(double seed);
float nextRandom();
void setRandomSeed(quint64 seed);

// Ends the program at once with the given exit status; open windows are discarded without
// their closing procedures. Never returns.
[[noreturn]] void endProgram(int status);
void setEndHandler(std::function<void(int)> handler);

} // namespace kaldor
