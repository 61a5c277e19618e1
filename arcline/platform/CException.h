#pragma once
// Base of the object model's exceptions. The object model is the only part of the library that throws:
// a damaged or foreign archive cannot be reported any other way from inside a chain of Serialize calls.

#include <exception>

class CException : public std::exception {
public:
    CException() noexcept = default;
    CException(const CException&) noexcept = default;
    CException& operator=(const CException&) noexcept = default;
    ~CException() override;

    const char* what() const noexcept override;
};
