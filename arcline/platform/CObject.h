#pragma once
// Root of the object model: run-time class identity, dynamic type checks, archiving and dumping. Classes
// that are created by name or stored in a CArchive derive from it and declare their run-time class with
// the macros of CRuntimeClass.h.

#include "arcline/platform/CRuntimeClass.h"

class CArchive;
class CDumpContext;

class CObject {
public:
    // The virtual slots stay in this order; derived classes rely on it.
    virtual CRuntimeClass* GetRuntimeClass() const;
    virtual ~CObject();
    // Stores into or loads from `ar` (ar.IsStoring() tells which). The base transfers nothing.
    virtual void Serialize(CArchive& ar);
    // Checks the object's invariants and reports a failure through the assertion reporter. The base
    // has none to check.
    virtual void AssertValid() const;
    // Writes a short description for debugging; the base writes the class name and the address.
    virtual void Dump(CDumpContext& dc) const;

    // True when the object's class is `cls` or derives from it.
    bool IsKindOf(const CRuntimeClass* cls) const;

    static CRuntimeClass classCObject; // registered as "CObject"; not creatable
    static CRuntimeClass* GetThisClass();

protected:
    // Only derived objects exist, and copying is left to them so that a CObject is never sliced.
    CObject() = default;
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
};
