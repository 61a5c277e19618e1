#include "arcline/platform/CDumpContext.h"

#include "arcline/platform/CObject.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace CDumpContext_test {

TEST(CDumpContext, WritesTextNumbersAndNullMarkers) {
    std::ostringstream out;
    CDumpContext dc(out);
    dc << "n=" << 42 << std::string(" u=") << 7u << " x=" << 2.5 << " f=" << 0.25f << " l=" << -3L << " "
       << static_cast<const char*>(nullptr) << " " << static_cast<const CObject*>(nullptr);
    EXPECT_EQ(out.str(), "n=42 u=7 x=2.5 f=0.25 l=-3 (null) (null)");
}

} // namespace CDumpContext_test
