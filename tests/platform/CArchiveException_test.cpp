#include "arcline/platform/CArchiveException.h"

#include <gtest/gtest.h>

#include <string>

namespace CArchiveException_test {

// The cause numbers are part of the interface (callers compare and log them), and what() names each.
TEST(CArchiveException, CausesHaveFixedNumbersAndNames) {
    const std::pair<int, const char*> causes[] = {{CArchiveException::none, "none"},
                                                  {CArchiveException::genericException, "genericException"},
                                                  {CArchiveException::readOnly, "readOnly"},
                                                  {CArchiveException::endOfFile, "endOfFile"},
                                                  {CArchiveException::writeOnly, "writeOnly"},
                                                  {CArchiveException::badIndex, "badIndex"},
                                                  {CArchiveException::badClass, "badClass"},
                                                  {CArchiveException::badSchema, "badSchema"}};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(causes[i].first, i);
        EXPECT_NE(std::string(CArchiveException(i).what()).find(causes[i].second), std::string::npos) << i;
    }
    for (const int outside : {8, 99, -1})
        EXPECT_NE(std::string(CArchiveException(outside).what()).find("unknown"), std::string::npos);
}

TEST(CArchiveException, ThrownThroughTheBaseClasses) {
    try {
        AfxThrowArchiveException(CArchiveException::badSchema);
    } catch (const CException& e) {
        const auto* archive = dynamic_cast<const CArchiveException*>(&e);
        ASSERT_NE(archive, nullptr);
        EXPECT_EQ(archive->m_cause, CArchiveException::badSchema);
    }
    EXPECT_THROW(AfxThrowArchiveException(CArchiveException::endOfFile), std::exception);
}

} // namespace CArchiveException_test
