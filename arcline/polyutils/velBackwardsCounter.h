#pragma once
// A counter that counts down: each call hands out the current value and steps one below it. The list move
// that scatters positions (velPolylineListUtils::move) counts the positions of a list with it from their
// number down, so that neighbouring positions get different directions.

class velBackwardsCounter {
public:
    explicit velBackwardsCounter(int start) : m_value(start) {}

    // The current value; the next call hands out one less.
    int operator()() { return m_value--; }
    // The value the next call hands out.
    int value() const { return m_value; }

private:
    int m_value;
};
