#pragma once
// The rule that turns a winding count into visibility. A boundary segment is visible when the material
// counts on its two sides are 0 and 1 under the rule: with the winding rule (mode not 0) the count itself
// is used, with the even-odd rule (mode 0) its parity.
//
//     velVisibilityCalculator winding(1), even_odd(0);
//     winding.visibility_to_use(2);    // 2: inside twice, no boundary of the region
//     even_odd.visibility_to_use(2);   // 0: outside again

class velVisibilityCalculator {
public:
    explicit velVisibilityCalculator(int visible_mode = 1) : m_visible_mode(visible_mode) {}

    int visible_mode() const { return m_visible_mode; }
    void set_visible_mode(int mode) { m_visible_mode = mode; }

    // The count to test against 0 and 1: count itself (winding), or count & 1 (even-odd).
    int visibility_to_use(int count) const { return m_visible_mode != 0 ? count : (count & 1); }

private:
    int m_visible_mode;
};
