#include "arcline/platform/CArchiveException.h"

#include <gtest/gtest.h>

#include <string>

TEST(CArchiveException, CauseValuesAreFixed) {
    EXPECT_EQ(CArchiveException::none, 0);
    EXPECT_EQ(CArchiveException::genericException, 1);
    EXPECT_EQ(CArchiveException::readOnly, 2);
    EXPECT_EQ(CArchiveException::endOfFile, 3);
    EXPECT_EQ(CArchiveException::writeOnly, 4);
    EXPECT_EQ(CArchiveException::badIndex, 5);
    EXPECT_EQ(CArchiveException::badClass, 6);
    EXPECT_EQ(CArchiveException::badSchema, 7);
}

TEST(CArchiveException, WhatNamesTheCause) {
    const char* names[] = {"none",      "genericException", "readOnly", "endOfFile",
                           "writeOnly", "badIndex",         "badClass", "badSchema"};
    for (int cause = 0; cause < 8; ++cause)
        EXPECT_NE(std::string(CArchiveException(cause).what()).find(names[cause]), std::string::npos)
            << cause;
    EXPECT_NE(std::string(CArchiveException(99).what()).find("unknown"), std::string::npos);
    EXPECT_NE(std::string(CArchiveException(-1).what()).find("unknown"), std::string::npos);
}

TEST(CArchiveException, ThrownThroughTheBaseClasses) {
    try {
        AfxThrowArchiveException(CArchiveException::badSchema);
        FAIL() << "no exception";
    } catch (const CException& e) {
        const auto* archive = dynamic_cast<const CArchiveException*>(&e);
        ASSERT_NE(archive, nullptr);
        EXPECT_EQ(archive->m_cause, CArchiveException::badSchema);
    }
    EXPECT_THROW(AfxThrowArchiveException(CArchiveException::endOfFile), std::exception);
}
