#include "arcline/platform/CDumpContext.h"

#include "arcline/platform/CObject.h"

CDumpContext& CDumpContext::operator<<(const char* text) {
    *m_out << (text ? text : "(null)");
    return *this;
}

CDumpContext& CDumpContext::operator<<(std::string_view text) {
    *m_out << text;
    return *this;
}

CDumpContext& CDumpContext::operator<<(const void* address) {
    *m_out << address;
    return *this;
}

CDumpContext& CDumpContext::operator<<(const CObject* object) {
    if (object == nullptr) return *this << "(null)";
    object->Dump(*this);
    return *this;
}
