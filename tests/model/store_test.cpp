#include "Store.h"

#include <gtest/gtest.h>

#include <memory>

TEST(Store, StartsEmptyAndTemplatesHoldBlankTitles)
{
    auto s = std::make_unique<TStore>();
    EXPECT_EQ(TitleText(s->MemChData[39][49].Title), u"");
    EXPECT_EQ(s->MemChData[0][0].MemFlag_RegistedFlag, 0);
    EXPECT_EQ(s->Region, 0);

    s->EmptyData_Init();
    EXPECT_EQ(TitleText(s->MemChEmptyData.Title), u"            ");
    EXPECT_EQ(s->MemChEmptyData.Title[12], u'\0');
    EXPECT_EQ(s->MemChEmptyData.Title[13], u'\0');
    EXPECT_EQ(TitleText(s->MemBankEmptyData.Title), u"            ");
    EXPECT_EQ(TitleText(s->SearchBankEmptyData.Title), u"            ");
    EXPECT_EQ(s->SearchBankEmptyData.LowFreq, 0);
}

TEST(Store, TitleTextStopsAtFirstNulOrTakesAllFourteen)
{
    TMemChElement ch{};
    SetTitleText(ch.Title, u"ABC");
    EXPECT_EQ(TitleText(ch.Title), u"ABC");
    SetTitleText(ch.Title, u"0123456789ABCDEF");  // cut at 14
    EXPECT_EQ(TitleText(ch.Title), u"0123456789ABCD");
}
