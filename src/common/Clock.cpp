#include "Clock.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace kaldor {

namespace {

struct RandomState {
    quint64 state = 0x2545F4914F6CDD1DULL;
};

std::function<QDateTime()>& clockFunction()
{
    static std::function<QDateTime()> clock;
    return clock;
}

std::function<void(int)>& endHandler()
{
    static std::function<void(int)> handler;
    return handler;
}

RandomState& randomState()
{
    static RandomState r;
    return r;
}

quint64 mix(quint64 x)
{
    x ^= x >> 30;
    x *= 0xBF58476D1CE4E5B9ULL;
    x ^= x >> 27;
    x *= 0x94D049BB133111EBULL;
    x ^= x >> 31;
    return x;
}

} // namespace

QDateTime currentDateTime()
{
    return clockFunction() ? clockFunction()() : QDateTime::currentDateTime();
}

void setClock(std::function<QDateTime()> clock)
{
    clockFunction() = std::move(clock);
}

void reseedRandom(double seed)
{
    quint64 bits = 0;
    static_assert(sizeof bits == sizeof seed);
    std::memcpy(&bits, &seed, sizeof bits);
    randomState().state = mix(randomState().state ^ bits);
}

float nextRandom()
{
    quint64& s = randomState().state;
    s += 0x9E3779B97F4A7C15ULL;
    // 24 random bits give every single-precision value of [0, 1) on a 2^-24 grid.
    return float(mix(s) >> 40) / float(1u << 24);
}

void setRandomSeed(quint64 seed)
{
    randomState().state = seed;
}

void endProgram(int status)
{
    if (endHandler())
        endHandler()(status);
    std::fflush(nullptr);
    std::_Exit(status);
}

void setEndHandler(std::function<void(int)> handler)
{
    endHandler() = std::move(handler);
}

} // namespace kaldor
