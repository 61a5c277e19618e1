#include "arcline/platform/CArchive.h"

#include <bit>
#include <limits>
#include <string>

namespace {

// Longest class name accepted on loading. Real names are short; a larger count means damaged data, and
// refusing it keeps a corrupt count from allocating gigabytes.
constexpr std::uint32_t max_class_name_length = 1024;

} // namespace

CArchive::CArchive(std::iostream& stream, Mode mode) : m_mode(mode) {
    if (mode == store)
        m_out = &stream;
    else
        m_in = &stream;
}

CArchive::CArchive(std::ostream& out) : m_out(&out), m_mode(store) {}

CArchive::CArchive(std::istream& in) : m_in(&in), m_mode(load) {}

CArchive::~CArchive() {
    if (m_out == nullptr) return;
    try {
        m_out->flush();
    } catch (...) {
        // A destructor must not throw; Close() reports flush errors.
    }
}

void CArchive::write_bytes(const std::byte* bytes, std::size_t count) {
    if (m_mode == load) AfxThrowArchiveException(CArchiveException::readOnly);
    if (m_out == nullptr) AfxThrowArchiveException(CArchiveException::genericException);
    m_out->write(reinterpret_cast<const char*>(bytes), static_cast<std::streamsize>(count));
    if (!*m_out) AfxThrowArchiveException(CArchiveException::genericException);
}

void CArchive::read_bytes(std::byte* bytes, std::size_t count) {
    if (m_mode == store) AfxThrowArchiveException(CArchiveException::writeOnly);
    if (m_in == nullptr) AfxThrowArchiveException(CArchiveException::genericException);
    m_in->read(reinterpret_cast<char*>(bytes), static_cast<std::streamsize>(count));
    if (m_in->gcount() != static_cast<std::streamsize>(count))
        AfxThrowArchiveException(m_in->bad() ? CArchiveException::genericException
                                             : CArchiveException::endOfFile);
}

void CArchive::write_u32(std::uint32_t value) {
    std::byte bytes[4];
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<std::byte>((value >> (8 * i)) & 0xFFu);
    write_bytes(bytes, sizeof bytes);
}

std::uint32_t CArchive::read_u32() {
    std::byte bytes[4];
    read_bytes(bytes, sizeof bytes);
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value |= std::to_integer<std::uint32_t>(bytes[i]) << (8 * i);
    return value;
}

void CArchive::write_u64(std::uint64_t value) {
    std::byte bytes[8];
    for (int i = 0; i < 8; ++i)
        bytes[i] = static_cast<std::byte>((value >> (8 * i)) & 0xFFu);
    write_bytes(bytes, sizeof bytes);
}

std::uint64_t CArchive::read_u64() {
    std::byte bytes[8];
    read_bytes(bytes, sizeof bytes);
    std::uint64_t value = 0;
    for (int i = 0; i < 8; ++i)
        value |= std::to_integer<std::uint64_t>(bytes[i]) << (8 * i);
    return value;
}

// Signed values travel as their two's complement bit pattern.
CArchive& CArchive::operator<<(int value) {
    write_u32(static_cast<std::uint32_t>(value));
    return *this;
}

CArchive& CArchive::operator<<(unsigned int value) {
    write_u32(value);
    return *this;
}

CArchive& CArchive::operator<<(float value) {
    static_assert(sizeof(float) == 4 && std::numeric_limits<float>::is_iec559);
    write_u32(std::bit_cast<std::uint32_t>(value));
    return *this;
}

CArchive& CArchive::operator<<(double value) {
    static_assert(sizeof(double) == 8 && std::numeric_limits<double>::is_iec559);
    write_u64(std::bit_cast<std::uint64_t>(value));
    return *this;
}

CArchive& CArchive::operator>>(int& value) {
    value = static_cast<int>(read_u32());
    return *this;
}

CArchive& CArchive::operator>>(unsigned int& value) {
    value = read_u32();
    return *this;
}

CArchive& CArchive::operator>>(float& value) {
    value = std::bit_cast<float>(read_u32());
    return *this;
}

CArchive& CArchive::operator>>(double& value) {
    value = std::bit_cast<double>(read_u64());
    return *this;
}

void CArchive::WriteObject(const CObject* object) {
    if (object == nullptr) {
        write_u32(0);
        return;
    }
    const CRuntimeClass* cls = object->GetRuntimeClass();
    if (cls->m_pfnCreateObject == nullptr) AfxThrowArchiveException(CArchiveException::badClass);
    const std::string_view name(cls->m_lpszClassName);
    write_u32(static_cast<std::uint32_t>(name.size()));
    write_bytes(reinterpret_cast<const std::byte*>(name.data()), name.size());
    const_cast<CObject*>(object)->Serialize(*this);
}

CObject* CArchive::ReadObject(const CRuntimeClass* expected_base) {
    const std::uint32_t length = read_u32();
    if (length == 0) return nullptr;
    if (length > max_class_name_length) AfxThrowArchiveException(CArchiveException::badClass);
    std::string name(length, '\0');
    read_bytes(reinterpret_cast<std::byte*>(name.data()), name.size());

    const CRuntimeClass* cls = CRuntimeClass::FromName(std::string_view(name));
    if (cls == nullptr || (expected_base != nullptr && !cls->IsDerivedFrom(expected_base)))
        AfxThrowArchiveException(CArchiveException::badClass);
    std::unique_ptr<CObject> object(cls->CreateObject());
    if (object == nullptr) AfxThrowArchiveException(CArchiveException::badClass);
    object->Serialize(*this);
    return object.release();
}

void CArchive::Flush() {
    if (m_out == nullptr) return;
    m_out->flush();
    if (!*m_out) AfxThrowArchiveException(CArchiveException::genericException);
}

void CArchive::Close() {
    Flush();
    m_in = nullptr;
    m_out = nullptr;
}

CArchive& operator<<(CArchive& ar, const CObject* object) {
    ar.WriteObject(object);
    return ar;
}
