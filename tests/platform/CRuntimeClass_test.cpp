#include "arcline/platform/CRuntimeClass.h"

#include "arcline/platform/CDumpContext.h"
#include "arcline/platform/CObject.h"

#include <gtest/gtest.h>
#include <memory>
#include <sstream>
#include <string>

namespace CRuntimeClass_test {

namespace {

// CRuntimeClass and CObject. The three declaration levels: an abstract DYNAMIC root, a DYNCREATE class below
// it, a SERIAL class below that, and an unrelated DYNCREATE class.
class tRtcShape : public CObject {
    DECLARE_DYNAMIC(tRtcShape)
    virtual int corners() const = 0;
};
IMPLEMENT_DYNAMIC(tRtcShape, CObject)

class tRtcSquare : public tRtcShape {
    DECLARE_DYNCREATE(tRtcSquare)
    int corners() const override { return 4; }
};
IMPLEMENT_DYNCREATE(tRtcSquare, tRtcShape)

class tRtcTile : public tRtcSquare {
    DECLARE_SERIAL(tRtcTile)
    void Dump(CDumpContext& dc) const override { dc << "tile of side " << m_side; }
    double m_side = 1.5;
};
IMPLEMENT_SERIAL(tRtcTile, tRtcSquare, 3)

class tRtcOther : public CObject {
    DECLARE_DYNCREATE(tRtcOther)
};
IMPLEMENT_DYNCREATE(tRtcOther, CObject)

// Written with the tolerated trailing semicolons: the build's -Wpedantic -Werror keeps that form clean.
class tRtcSemicolon : public CObject {
    DECLARE_SERIAL(tRtcSemicolon);
    int m_unused = 0;
};
IMPLEMENT_SERIAL(tRtcSemicolon, CObject, 1);

} // namespace

TEST(CRuntimeClass, MacrosFillAndRegisterTheRecord) {
    const CRuntimeClass* tile = RUNTIME_CLASS(tRtcTile);
    EXPECT_EQ(tile, tRtcTile::GetThisClass());
    EXPECT_STREQ(tile->m_lpszClassName, "tRtcTile");
    EXPECT_EQ(tile->m_nObjectSize, static_cast<int>(sizeof(tRtcTile)));
    EXPECT_EQ(tile->m_wSchema, 3u);
    EXPECT_EQ(tile->m_pBaseClass, RUNTIME_CLASS(tRtcSquare));
    EXPECT_EQ(RUNTIME_CLASS(tRtcSquare)->m_wSchema, CRuntimeClass::not_serial);
    EXPECT_EQ(RUNTIME_CLASS(CObject)->m_pBaseClass, nullptr);

    // Registered during static initialisation of this executable and of the library; names are exact.
    EXPECT_EQ(CRuntimeClass::FromName("CObject"), RUNTIME_CLASS(CObject));
    EXPECT_EQ(CRuntimeClass::FromName("tRtcShape"), RUNTIME_CLASS(tRtcShape));
    EXPECT_EQ(CRuntimeClass::FromName(std::string("tRtcTile")), tile);
    EXPECT_EQ(CRuntimeClass::FromName("tRtcSemicolon"), RUNTIME_CLASS(tRtcSemicolon));
    EXPECT_EQ(CRuntimeClass::FromName("trtctile"), nullptr);
    EXPECT_EQ(CRuntimeClass::FromName(""), nullptr);
    EXPECT_EQ(CRuntimeClass::FromName(static_cast<const char*>(nullptr)), nullptr);

    // CreateObject makes the class, or nothing for a class without DYNCREATE.
    const std::unique_ptr<CObject> made(CRuntimeClass::FromName("tRtcTile")->CreateObject());
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->GetRuntimeClass(), tile);
    EXPECT_EQ(static_cast<tRtcTile*>(made.get())->corners(), 4);
    EXPECT_EQ(RUNTIME_CLASS(tRtcShape)->CreateObject(), nullptr);
    EXPECT_EQ(RUNTIME_CLASS(CObject)->CreateObject(), nullptr);
}

TEST(CRuntimeClass, RegistryKeepsTheFirstRecordOfANameUntilItIsDestroyed) {
    {
        const CRuntimeClass local("tRtcLocal", 8, 1, nullptr, RUNTIME_CLASS(CObject));
        const CRuntimeClass duplicate("tRtcSquare", 8, 1, nullptr, RUNTIME_CLASS(CObject));
        EXPECT_EQ(CRuntimeClass::FromName("tRtcLocal"), &local);
        EXPECT_EQ(CRuntimeClass::FromName("tRtcSquare"), RUNTIME_CLASS(tRtcSquare));
    }
    EXPECT_EQ(CRuntimeClass::FromName("tRtcLocal"), nullptr);
    // The duplicate's destruction must not unregister the original.
    EXPECT_EQ(CRuntimeClass::FromName("tRtcSquare"), RUNTIME_CLASS(tRtcSquare));
}

TEST(CObject, RuntimeClassAndKindGoThroughTheBase) {
    const std::unique_ptr<CObject> tile = std::make_unique<tRtcTile>();
    EXPECT_EQ(tile->GetRuntimeClass(), RUNTIME_CLASS(tRtcTile));
    EXPECT_EQ(tRtcOther().GetRuntimeClass(), RUNTIME_CLASS(tRtcOther));
    EXPECT_EQ(CObject::GetThisClass(), &CObject::classCObject);
    EXPECT_STREQ(CObject::classCObject.m_lpszClassName, "CObject");
    EXPECT_TRUE(tile->IsKindOf(RUNTIME_CLASS(tRtcSquare)) && tile->IsKindOf(RUNTIME_CLASS(tRtcShape)));
    EXPECT_TRUE(tile->IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(tile->IsKindOf(RUNTIME_CLASS(tRtcOther)));
    EXPECT_FALSE(tRtcSquare().IsKindOf(RUNTIME_CLASS(tRtcTile)));
}

TEST(CObject, DumpNamesTheClassUnlessOverriddenAndWritesTextNumbersAndNullMarkers) {
    std::ostringstream out;
    CDumpContext dc(out);
    const tRtcSquare square;
    dc << &square;
    EXPECT_EQ(out.str().rfind("a tRtcSquare at ", 0), 0u) << out.str();
    out.str("");
    const tRtcTile tile;
    dc << &tile;
    EXPECT_EQ(out.str(), "tile of side 1.5");
    out.str("");
    dc << " n=" << 42 << std::string(" u=") << 7u << " x=" << 2.5 << " f=" << 0.25f << " l=" << -3L << " "
       << static_cast<const char*>(nullptr) << " " << static_cast<const CObject*>(nullptr);
    EXPECT_EQ(out.str(), " n=42 u=7 x=2.5 f=0.25 l=-3 (null) (null)");
}

} // namespace CRuntimeClass_test
