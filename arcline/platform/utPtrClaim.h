#pragma once
// Ownership tag: the constructor taking it takes ownership of the object it is given and deletes it.

struct utPtrClaim {
    explicit utPtrClaim() = default;
};

inline constexpr utPtrClaim ut_ptr_claim{};
