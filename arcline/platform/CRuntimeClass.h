#pragma once
// Run-time class record of the object model: one static record per class that takes part in dynamic
// type checks (IsKindOf), dynamic creation (CreateObject) or archiving (CArchive::ReadObject), found by
// its class name through a process-wide registry. Records register themselves when they are constructed
// during static initialisation and leave the registry when they are destroyed (library unload).
//
// A class author writes, in the class body (conventionally first, before any access specifier; the macro
// leaves the access at public), one of
//     DECLARE_DYNAMIC(cls)     type checks only
//     DECLARE_DYNCREATE(cls)   ... and creation by name
//     DECLARE_SERIAL(cls)      ... and reading back from an archive
// and the matching line in the class's .cpp file, at namespace scope:
//     IMPLEMENT_DYNAMIC(cls, base)
//     IMPLEMENT_DYNCREATE(cls, base)
//     IMPLEMENT_SERIAL(cls, base, schema)
// Write the macros without a trailing semicolon. A trailing semicolon also compiles cleanly under -Wall
// -Wextra -Wpedantic, but -Wextra-semi would report it.
// DYNCREATE and SERIAL classes need a default constructor (it may be protected or private).

#include <string_view>

class CObject;

class CRuntimeClass {
public:
    using CreateFunction = CObject* (*)();

    // Schema of a record made by IMPLEMENT_DYNAMIC or IMPLEMENT_DYNCREATE: not meant for archives.
    static constexpr unsigned int not_serial = 0xFFFF;

    // Registers this record under `class_name`, which must outlive it (the macros pass a string
    // literal). When a record of that name is already registered, the first one stays the one found.
    CRuntimeClass(const char* class_name, int object_size, unsigned int schema, CreateFunction create,
                  CRuntimeClass* base_class);
    ~CRuntimeClass();
    // The registry holds the record's address.
    CRuntimeClass(const CRuntimeClass&) = delete;
    CRuntimeClass& operator=(const CRuntimeClass&) = delete;

    // A new default-constructed object of this class, owned by the caller; null when the class cannot
    // be created (declared DYNAMIC only, or abstract).
    CObject* CreateObject() const;

    // True when this class is `base` or derives from it; false for a null `base`.
    bool IsDerivedFrom(const CRuntimeClass* base) const;

    // The registered record named `class_name` (exact, case-sensitive); null when there is none or the
    // name is null.
    static CRuntimeClass* FromName(const char* class_name);
    static CRuntimeClass* FromName(std::string_view class_name);

    const char* m_lpszClassName;
    int m_nObjectSize;
    unsigned int m_wSchema;
    CreateFunction m_pfnCreateObject; // null for classes that cannot be created
    CRuntimeClass* m_pBaseClass;      // null for the root, CObject
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

// Each DECLARE_* expansion ends with an inline function definition, after which an optional semicolon is
// allowed without a -Wpedantic warning; keep it that way when editing these macros.
#define DECLARE_DYNAMIC(class_name)                                                                          \
public:                                                                                                      \
    static CRuntimeClass class##class_name;                                                                  \
    CRuntimeClass* GetRuntimeClass() const override;                                                         \
    static CRuntimeClass* GetThisClass() {                                                                   \
        return &class##class_name;                                                                           \
    }

#define DECLARE_DYNCREATE(class_name)                                                                        \
public:                                                                                                      \
    static CObject* CreateObject();                                                                          \
    DECLARE_DYNAMIC(class_name)

#define DECLARE_SERIAL(class_name) DECLARE_DYNCREATE(class_name)

// Common part of the IMPLEMENT_* macros; not for direct use.
#define ARCLINE_IMPLEMENT_RUNTIMECLASS(class_name, base_name, schema, create)                                \
    CRuntimeClass class_name::class##class_name(#class_name, static_cast<int>(sizeof(class_name)), (schema), \
                                                (create), RUNTIME_CLASS(base_name));                         \
    CRuntimeClass* class_name::GetRuntimeClass() const {                                                     \
        return RUNTIME_CLASS(class_name);                                                                    \
    }

#define IMPLEMENT_DYNAMIC(class_name, base_name)                                                             \
    ARCLINE_IMPLEMENT_RUNTIMECLASS(class_name, base_name, CRuntimeClass::not_serial, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_name)                                                           \
    CObject* class_name::CreateObject() {                                                                    \
        return new class_name;                                                                               \
    }                                                                                                        \
    ARCLINE_IMPLEMENT_RUNTIMECLASS(class_name, base_name, CRuntimeClass::not_serial,                         \
                                   &class_name::CreateObject)

#define IMPLEMENT_SERIAL(class_name, base_name, schema)                                                      \
    CObject* class_name::CreateObject() {                                                                    \
        return new class_name;                                                                               \
    }                                                                                                        \
    ARCLINE_IMPLEMENT_RUNTIMECLASS(class_name, base_name, (schema), &class_name::CreateObject)
