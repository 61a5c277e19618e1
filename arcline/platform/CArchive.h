#pragma once
// Binary archive over a standard stream, in one direction: storing writes, loading reads. Numbers go on
// the wire little-endian whatever the host: int and unsigned as 4 bytes, float as the 4 bytes of its
// IEEE-754 single, double as the 8 bytes of its IEEE-754 double. Failures throw CArchiveException:
// reading past the end (endOfFile), a stream error or use after Close() (genericException), writing while
// loading (readOnly), reading while storing (writeOnly), a foreign class in ReadObject (badClass).
//
// Object record written by WriteObject: the class name's byte count as an unsigned 32-bit number, the
// name's bytes (no terminator), then whatever the object's Serialize writes. A null object is the count 0
// alone. Each WriteObject writes a full record; an object stored twice is read back as two objects.
//
// The archive does not own its stream; the stream must outlive it. The stream's exception mask is left
// alone: its state is checked after every transfer.

#include "arcline/platform/CArchiveException.h"
#include "arcline/platform/CObject.h"

#include <concepts>
#include <cstddef>
#include <cstdint>
#include <istream>
#include <memory>
#include <ostream>

class CArchive {
public:
    enum Mode { store = 0, load = 1 };

    CArchive(std::iostream& stream, Mode mode);
    explicit CArchive(std::ostream& out); // storing
    explicit CArchive(std::istream& in);  // loading
    // Flushes a storing archive that was not closed; errors are swallowed here, call Close() to see them.
    ~CArchive();
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    bool IsStoring() const { return m_mode == store; }
    bool IsLoading() const { return m_mode == load; }

    CArchive& operator<<(int value);          // also int32_t
    CArchive& operator<<(unsigned int value); // also uint32_t
    CArchive& operator<<(float value);
    CArchive& operator<<(double value);

    CArchive& operator>>(int& value);
    CArchive& operator>>(unsigned int& value);
    CArchive& operator>>(float& value);
    CArchive& operator>>(double& value);

    // Writes the record of `object` (null allowed). The object's class must be creatable, or it could
    // not be read back: otherwise badClass is thrown before anything is written. Serialize is called
    // on the object although it is const here, as the archive protocol has a single Serialize for both
    // directions; storing must not change the object.
    void WriteObject(const CObject* object);

    // Reads a record written by WriteObject: finds the class by name, creates the object and lets it
    // load itself. Returns a new object that the caller owns, or null for a stored null object. Throws
    // badClass when the name is not registered, the class cannot be created, or it does not derive
    // from `expected_base` (null accepts any class); the partly read object is destroyed when its
    // Serialize throws.
    CObject* ReadObject(const CRuntimeClass* expected_base);

    // Pushes stored bytes to the stream's destination. Does nothing while loading.
    void Flush();
    // Flushes and detaches from the stream; every later transfer throws genericException.
    void Close();

private:
    void write_bytes(const std::byte* bytes, std::size_t count);
    void read_bytes(std::byte* bytes, std::size_t count);
    void write_u32(std::uint32_t value);
    std::uint32_t read_u32();
    void write_u64(std::uint64_t value);
    std::uint64_t read_u64();

    std::istream* m_in = nullptr;  // set while loading and open
    std::ostream* m_out = nullptr; // set while storing and open
    Mode m_mode;
};

// Stores an object record; see CArchive::WriteObject.
CArchive& operator<<(CArchive& ar, const CObject* object);

// Reads an object record that must hold a T (or a class derived from it) into `object`, which receives
// a new object owned by the caller (null for a stored null object); its previous value is overwritten,
// not freed. Throws badClass for any other class. A class that wants a named, non-template operator
// writes it in one line:
//     CArchive& operator>>(CArchive& ar, velFoo*& p) { return ReadObjectAs(ar, p); }
template <std::derived_from<CObject> T>
CArchive& ReadObjectAs(CArchive& ar, T*& object) {
    std::unique_ptr<CObject> read(ar.ReadObject(T::GetThisClass()));
    if (read == nullptr) {
        object = nullptr;
        return ar;
    }
    // GetThisClass of a class that declares no record of its own names its base's record, so the name
    // check alone does not prove that the object is a T.
    T* typed = dynamic_cast<T*>(read.get());
    if (typed == nullptr) AfxThrowArchiveException(CArchiveException::badClass);
    read.release();
    object = typed;
    return ar;
}

template <std::derived_from<CObject> T>
CArchive& operator>>(CArchive& ar, T*& object) {
    return ReadObjectAs(ar, object);
}
