#pragma once
#include <memory>

// Ownership tag: the constructor taking it takes ownership of the object it is given and deletes it.

struct utPtrClaim {
    explicit utPtrClaim() = default;
};

inline constexpr utPtrClaim ut_ptr_claim{};

// A shared T made by its claiming constructor T(U*, utPtrClaim). `owned` keeps the object until T has taken
// it, so nothing leaks when making T throws.
template <class T, class U>
std::shared_ptr<T> ut_make_shared_claiming(std::unique_ptr<U> owned) {
    std::shared_ptr<T> made = std::make_shared<T>(owned.get(), ut_ptr_claim);
    owned.release();
    return made;
}

// Ownership tag: the call taking it gives up ownership of the object it returns; the caller deletes it.
struct utPtrRelease {
    explicit utPtrRelease() = default;
};

inline constexpr utPtrRelease ut_ptr_release{};
