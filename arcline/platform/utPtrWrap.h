#pragma once
// Ownership tag: the constructor taking it uses the object it is given without owning it; the caller keeps
// the object alive for as long as the new object uses it.

struct utPtrWrap {
    explicit utPtrWrap() = default;
};

inline constexpr utPtrWrap ut_ptr_wrap{};
