// The virtual slots of the abstract poly-arc-line keep their documented order (a storage class relies on it).

#include "arcline/polyline/velAbsPolyArcLine.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <vector>

namespace velAbsPolyArcLineSlots_test {

namespace {

// The vtable index of a virtual member function: the Itanium C++ ABI (GCC, Clang) stores a pointer to a
// virtual member as 1 + its byte offset in the vtable.
template <class F>
std::ptrdiff_t slot(F f) {
    static_assert(sizeof(F) == 2 * sizeof(std::ptrdiff_t));
    std::ptrdiff_t words[2];
    std::memcpy(words, &f, sizeof f);
    EXPECT_EQ(words[0] % 2, 1) << "not a virtual member";
    return (words[0] - 1) / static_cast<std::ptrdiff_t>(sizeof(void*));
}

// Reaches the protected slot.
struct Probe : velAbsPolyArcLine {
    static std::ptrdiff_t invalidate_caches_slot() { return slot(&Probe::invalidate_caches); }
};

} // namespace

TEST(velAbsPolyArcLineSlots, DocumentedSlotsInOrderAndTheStorageHookAfterThem) {
    using L = velAbsPolyArcLine;
    const std::vector<std::ptrdiff_t> documented{slot(&L::reset),
                                                 slot(&L::create_new),
                                                 slot(&L::create_empty),
                                                 slot(&L::reserve),
                                                 slot(&L::add_pos),
                                                 slot(&L::add_arc),
                                                 slot(&L::edit_pos),
                                                 slot(&L::edit_mid_pos),
                                                 slot(&L::ok_to_add_pos),
                                                 slot(&L::ok_to_add_arc),
                                                 slot(&L::ok_to_edit_pos),
                                                 slot(&L::ok_to_edit_mid_pos),
                                                 slot(&L::span_linear),
                                                 slot(&L::get_pos),
                                                 slot(&L::get_mid_pos),
                                                 slot(&L::can_hold_arcs),
                                                 slot(&L::reverse),
                                                 slot(&L::get_polygonized_points),
                                                 Probe::invalidate_caches_slot()};
    EXPECT_EQ(slot(&CObject::GetRuntimeClass), 0);
    EXPECT_EQ(slot(&CObject::Dump), 5); // the destructor takes two slots
    EXPECT_EQ(documented.front(), slot(&CObject::Dump) + 1);
    for (std::size_t i = 1; i < documented.size(); ++i)
        EXPECT_EQ(documented[i], documented[i - 1] + 1) << "slot " << i;
    EXPECT_EQ(slot(&L::remove_last_pos), documented.back() + 1);
}

} // namespace velAbsPolyArcLineSlots_test
