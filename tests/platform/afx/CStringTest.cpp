#include "platform/afx/CString.h"

#include <gtest/gtest.h>

TEST(CString, SubstringsClampTheirArguments) {
    CString s("SpinEdit");
    EXPECT_EQ(s.Left(4), "Spin");
    EXPECT_EQ(s.Left(40), "SpinEdit");
    EXPECT_EQ(s.Left(-1), "");
    EXPECT_EQ(s.Right(4), "Edit");
    EXPECT_EQ(s.Right(99), "SpinEdit");
    EXPECT_EQ(s.Mid(4, 2), "Ed");
    EXPECT_EQ(s.Mid(20), "");
    EXPECT_EQ(s.GetAt(99), '\0');
    s.SetAt(-1, 'x'); // ignored
    EXPECT_EQ(s, "SpinEdit");
}

TEST(CString, EditingAndSearching) {
    CString s("  2,5 mm  ");
    EXPECT_EQ(s.Trim(), "2,5 mm");
    EXPECT_EQ(s.Replace(',', '.'), 1);
    EXPECT_EQ(s.Find(' '), 3);
    EXPECT_EQ(s.Find("mm"), 4);
    EXPECT_EQ(s.Find("mm", 5), -1);
    EXPECT_EQ(s.Replace("mm", "inch"), 1);
    EXPECT_EQ(s, "2.5 inch");
    EXPECT_EQ(s.Remove(' '), 1);
    s.Delete(0, 2);
    EXPECT_EQ(s, "5inch");
    s.Insert(100, "!");
    EXPECT_EQ(s, "5inch!");
    EXPECT_EQ(CString("Grad").CompareNoCase("gRAD"), 0);
    EXPECT_LT(CString("a").Compare("b"), 0);
}

TEST(CString, FormatAndBuffers) {
    CString s;
    s.Format("%d:%s", 42, "x");
    EXPECT_EQ(s, "42:x");
    s.AppendFormat("/%.2f", 1.5);
    EXPECT_EQ(s, "42:x/1.50");
    char* buffer = s.GetBuffer(16);
    std::snprintf(buffer, 16, "abc");
    s.ReleaseBuffer();
    EXPECT_EQ(s.GetLength(), 3);
}
