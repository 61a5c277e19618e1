#include "arcline/platform/CArchiveException.h"

#include <array>

namespace {

// Indexed by cause; string literals, so what() neither allocates nor dangles.
constexpr std::array<const char*, 8> cause_messages = {
    "CArchiveException: none (no error)",
    "CArchiveException: genericException (the archive's stream failed or the archive is closed)",
    "CArchiveException: readOnly (writing into an archive opened for loading)",
    "CArchiveException: endOfFile (reading past the end of the archive)",
    "CArchiveException: writeOnly (reading from an archive opened for storing)",
    "CArchiveException: badIndex (reference out of range)",
    "CArchiveException: badClass (unknown or unexpected class of object)",
    "CArchiveException: badSchema (unsupported schema)",
};

} // namespace

CArchiveException::~CArchiveException() = default;

const char* CArchiveException::what() const noexcept {
    if (m_cause < 0 || m_cause >= static_cast<int>(cause_messages.size()))
        return "CArchiveException: unknown cause";
    return cause_messages[static_cast<std::size_t>(m_cause)];
}

void AfxThrowArchiveException(int cause) {
    throw CArchiveException(cause);
}
