#pragma once
// The offsetter's label of a span object: the position of the source span and the side it lies on. A span
// made on its own keeps the label itself; a span handed out by a contour is bound to the contour's record of
// that span, so that labelling it labels the contour (the offsetters label a contour span by span and read
// the labels back from its raw offset).

#include "arcline/lists/velOffsetInfocoPageArrcoPrf.h"
#include "arcline/polyline/spans/velSpanSide.h"

class velSpanLabel {
public:
    int position() const { return m_record ? read().span_position : m_position; }
    velSpanSide side() const { return m_record ? read().span_side : m_side; }
    void set(int position, velSpanSide side);
    // Position -1, side none.
    void clear() { set(-1, velSpanSideNone); }
    // Reads and writes record `index` of `records` from now on (the array grows to hold it on the first
    // write).
    void bind(velOffsetInfocoPageArrcoPrf records, int index);

private:
    velOffsetInfo read() const;

    velOffsetInfocoPageArrcoPrf m_record;
    int m_index = -1;
    int m_position = -1;
    velSpanSide m_side = velSpanSideNone;
};
