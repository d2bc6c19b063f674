#include "engine/ipt_encoder.h"

#include <gtest/gtest.h>

#include "text_helpers.h"

namespace navisaz {
namespace {

using testing::Bytes;
using testing::Cp1256;
using testing::HexOf;

TEST(WindowsToIpt, FormsThenReversal) {
    struct Case {
        const char* name;
        std::string input;
        std::string ipt;
    };
    const Case cases[] = {
        {"empty", "", ""},
        {"beh alone", Cp1256("ب"), Bytes({0x46})},
        {"two letters", Cp1256("بب"), Bytes({0x47, 0x49})},
        {"salaam", Cp1256("سلام"), Bytes({0xC9, 0x43, 0xC7, 0x73})},
        {"digits reversed with the rest", "12", "21"},
        {"space ends joining", Cp1256("بب بب"), Bytes({0x47, 0x49, 0x20, 0x47, 0x49})},
        {"zwnj ends joining and stays", Cp1256("ب\u200Cب"), Bytes({0x46, 0x9D, 0x46})},
        {"no lam alef ligature", Cp1256("لا"), Bytes({0x43, 0xC8})},
        {"non joiner before letter", Cp1256("دب"), Bytes({0x46, 0x66})},
        {"hamza has no code", Cp1256("ء"), Bytes({0xC1})},
        {"lines reversed too", "a\r\nb", "b\n\ra"},
        {"medial", Cp1256("ببب"), Bytes({0x47, 0x48, 0x49})},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HexOf(WindowsToIpt(c.input)), HexOf(c.ipt)) << c.name;
    }
}

TEST(IptForms, TablesAndNonJoiners) {
    EXPECT_EQ(IptIsolatedForm(0xDA), 0xAA);
    EXPECT_EQ(IptInitialForm(0xDA), 0xAE);
    EXPECT_EQ(IptMedialForm(0xDA), 0xAC);
    EXPECT_EQ(IptFinalForm(0xDA), 0xAB);
    EXPECT_EQ(IptInitialForm(0xDF), IptInitialForm(0x98));  // ك shares ک's codes
    for (const int nonJoiner : {0x8E, 0xC2, 0xC4, 0xC7, 0xCF, 0xD0, 0xD1, 0xD2, 0xE6}) {
        EXPECT_EQ(IptIsolatedForm(nonJoiner), IptInitialForm(nonJoiner));
        EXPECT_EQ(IptMedialForm(nonJoiner), IptFinalForm(nonJoiner));
    }
    EXPECT_EQ(IptFinalForm('7'), '7');
    EXPECT_EQ(ReverseAnsi("abc"), "cba");
}

}  // namespace
}  // namespace navisaz
