#include "arcline/platform/CObject.h"

#include "arcline/platform/CDumpContext.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

namespace CObject_test {

namespace {

class tObjAnimal : public CObject {
    DECLARE_DYNCREATE(tObjAnimal)
};
IMPLEMENT_DYNCREATE(tObjAnimal, CObject)

class tObjDog : public tObjAnimal {
    DECLARE_SERIAL(tObjDog)

public:
    void Dump(CDumpContext& dc) const override { dc << "dog with " << m_legs << " legs"; }
    int m_legs = 4;
};
IMPLEMENT_SERIAL(tObjDog, tObjAnimal, 1)

class tObjStone : public CObject {
    DECLARE_DYNAMIC(tObjStone)
};
IMPLEMENT_DYNAMIC(tObjStone, CObject)

} // namespace

TEST(CObject, RuntimeClassAndKindGoThroughTheBase) {
    const std::unique_ptr<CObject> dog = std::make_unique<tObjDog>();
    EXPECT_EQ(dog->GetRuntimeClass(), RUNTIME_CLASS(tObjDog));
    EXPECT_EQ(tObjStone().GetRuntimeClass(), RUNTIME_CLASS(tObjStone));
    EXPECT_EQ(CObject::GetThisClass(), &CObject::classCObject);
    EXPECT_STREQ(CObject::classCObject.m_lpszClassName, "CObject");
    EXPECT_TRUE(dog->IsKindOf(RUNTIME_CLASS(tObjDog)) && dog->IsKindOf(RUNTIME_CLASS(tObjAnimal)));
    EXPECT_TRUE(dog->IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(dog->IsKindOf(RUNTIME_CLASS(tObjStone)));
    EXPECT_FALSE(tObjAnimal().IsKindOf(RUNTIME_CLASS(tObjDog)));
}

TEST(CObject, DumpNamesTheClassUnlessOverriddenAndWritesTextNumbersAndNullMarkers) {
    std::ostringstream out;
    CDumpContext dc(out);
    const tObjAnimal animal;
    dc << &animal;
    EXPECT_EQ(out.str().rfind("a tObjAnimal at ", 0), 0u) << out.str();
    out.str("");
    const tObjDog dog;
    dc << &dog;
    EXPECT_EQ(out.str(), "dog with 4 legs");
    out.str("");
    dc << " n=" << 42 << std::string(" u=") << 7u << " x=" << 2.5 << " f=" << 0.25f << " l=" << -3L << " "
       << static_cast<const char*>(nullptr) << " " << static_cast<const CObject*>(nullptr);
    EXPECT_EQ(out.str(), " n=42 u=7 x=2.5 f=0.25 l=-3 (null) (null)");
}

} // namespace CObject_test
