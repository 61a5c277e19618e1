#pragma once
// Ownership tag: the constructor taking it takes ownership of the object it is given and deletes it.

struct utPtrClaim {
    explicit utPtrClaim() = default;
};

inline constexpr utPtrClaim ut_ptr_claim{};

// Ownership tag: the call taking it gives up ownership of the object it returns; the caller deletes it.
struct utPtrRelease {
    explicit utPtrRelease() = default;
};

inline constexpr utPtrRelease ut_ptr_release{};
