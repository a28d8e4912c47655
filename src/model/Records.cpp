#include "Records.h"
#include "Store.h"

#include <algorithm>
#include <cstring>

std::u16string TitleText(const char16_t (&title)[kTitleLen])
{
    const auto* end = std::find(title, title + kTitleLen, u'\0');
    return std::u16string(title, end);
}

void SetTitleText(char16_t (&title)[kTitleLen], std::u16string_view text)
{
    std::fill(title, title + kTitleLen, u'\0');
    std::copy_n(text.begin(), std::min<std::size_t>(text.size(), kTitleLen), title);
}

void SetBlankTitle(char16_t (&title)[kTitleLen])
{
    SetTitleText(title, u"            ");
}

void TStore::EmptyData_Init()
{
    MemChEmptyData = TMemChElement{};
    SetBlankTitle(MemChEmptyData.Title);
    MemBankEmptyData = TMemBankElement{};
    SetBlankTitle(MemBankEmptyData.Title);
    SearchBankEmptyData = TSearchBankElement{};
    SetBlankTitle(SearchBankEmptyData.Title);
}
