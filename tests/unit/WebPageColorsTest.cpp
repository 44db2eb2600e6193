#include "FormWebPageConfig.h"

#include <gtest/gtest.h>

using namespace kaldor;

namespace {

// A stored background may hold a colour's English name instead of its code (the scenarios read
// and write the codes); the name must match exactly, letter case included.
TEST(WebPageColors, StoredEnglishNamesGiveTheirIndex)
{
    const char* const names[] = {"Black",     "White",     "Red",       "Green",     "Blue",
                                 "Yellow",    "Aqua",      "Fuchsia",   "Gray",      "Lime",
                                 "Maroon",    "Purple",    "Navy",      "Olive",     "Silver",
                                 "Teal",      "Beige",     "AliceBlue", "Cornsilk",  "AntiqueWhite",
                                 "Gainsboro", "LightGrey", "LightCyan", "WhiteSmoke"};
    for (int i = 0; i < 24; ++i)
        EXPECT_EQ(FormWebPageConfig::ColorNumber(QString::fromLatin1(names[i])), i) << names[i];
    for (const char* other : {"black", "LightGray", "None", "#e0ffff", " Red"})
        EXPECT_EQ(FormWebPageConfig::ColorNumber(QString::fromLatin1(other)), 24) << other;
}

} // namespace
