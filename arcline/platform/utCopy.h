#pragma once
// Ownership tag: the constructor taking it makes a deep copy of its argument (the copy owns what it made).

struct utCopy {
    explicit utCopy() = default;
};

inline constexpr utCopy ut_copy{};
