#pragma once
// Text sink of CObject::Dump: a thin wrapper over a standard stream that the caller owns and keeps alive
// for the context's lifetime. Debugging output only; nothing parses it.

#include <ostream>
#include <string_view>
#include <type_traits>

class CObject;

class CDumpContext {
public:
    explicit CDumpContext(std::ostream& out) : m_out(&out) {}

    CDumpContext& operator<<(const char* text); // a null text writes "(null)"
    CDumpContext& operator<<(std::string_view text);
    CDumpContext& operator<<(const void* address);
    // Dumps the object through its Dump(); a null object writes "(null)".
    CDumpContext& operator<<(const CObject* object);

    // Numbers, and chars and bools as the standard stream writes them.
    template <class T>
    CDumpContext& operator<<(T value) requires std::is_arithmetic_v<T> {
        *m_out << value;
        return *this;
    }

    void Flush() { m_out->flush(); }

private:
    std::ostream* m_out;
};
