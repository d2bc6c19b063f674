#include "tools/text_tool.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "text_helpers.h"

namespace navisaz {
namespace {

struct ToolRun {
    int status;
    std::string out;
    std::string err;
};

ToolRun RunTool(std::vector<const char*> args, const std::string& input = "") {
    args.insert(args.begin(), "navisaz-text");
    std::istringstream in(input);
    std::ostringstream out, err;
    const int status = RunTextTool(static_cast<int>(args.size()), args.data(), in, out, err);
    return {status, out.str(), err.str()};
}

TEST(TextTool, EncodesDecodesAndSpells) {
    struct Case {
        std::vector<const char*> args;
        std::string input;
        std::string output;
    };
    const Case cases[] = {
        {{"encode", "--font", "naskh", "--out", "hex"}, "سلام\nلا\n", "73 EC A5\nED\n"},
        {{"encode", "--font", "naskh", "--in", "cp1256", "--out", "hex"},
         testing::Cp1256("کتاب") + "\n",
         "3A 9D 97 93\n"},
        {{"encode", "--font", "naskh", "--out", "cp1256"}, "صبح", "\x77\x91%%176\n"},
        {{"encode", "--font", "naskh"}, "سلام\n", "s\xD9\x89\xC2\xA5\n"},  // 73 EC A5 widened
        {{"--codepage", "1252", "encode", "--font", "naskh"}, "سلام\n", "s\xC3\xAC\xC2\xA5\n"},
        {{"encode", "--font", "naskh", "--codepage", "1252"}, "سلام\n", "s\xC3\xAC\xC2\xA5\n"},
        {{"encode", "--font", "ipt", "--out", "hex"}, "سلام\n", "C9 43 C7 73\n"},
        {{"encode", "--font", "naskh", "--out", "hex"}, "ب\r\n", "93 0D\n"},  // CR kept
        {{"decode", "--font", "naskh"}, "s\xD9\x89\xC2\xA5\n", "سلام\n"},
        {{"decode", "--font", "naskh", "--out", "hex"}, "w\xE2\x80\x98%%177\n", "D5 C8 CD\n"},
        {{"decode", "--font", "shiraz2", "--out", "hex"}, "al\nQR\n", "C8 C7\n31 32\n"},
        {{"words", "21", "-5", "0"}, "", "بيست و يک\nمنفي پنج\nصفر\n"},
        {{"words"}, "1000\r\n$10\n", "يک هزار\r\nشانزده\n"},
    };
    for (const Case& c : cases) {
        const ToolRun run = RunTool(c.args, c.input);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, c.output) << c.args[0];
    }
}

TEST(TextTool, UnmappableCharactersAreWrittenAsQuestionMarksWithAWarning) {
    const ToolRun run =
        RunTool({"encode", "--font", "naskh", "--out", "hex"}, "ok\na\xE4\xB8\x80\n");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "6F 6B\n61 3F\n");
    EXPECT_NE(run.err.find("line 2: 1 character"), std::string::npos) << run.err;
}

TEST(TextTool, BadInputStopsWithStatusTwoAfterTheGoodLines) {
    struct Case {
        std::vector<const char*> args;
        std::string input;
        std::string output;
        std::string message;
    };
    const Case cases[] = {
        {{"encode", "--font", "naskh", "--out", "hex"},
         "ب\nx\xFFy\nب\n",
         "93\n",
         "line 2: invalid UTF-8 at byte 2"},
        {{"decode", "--font", "naskh"}, "\xC3\n", "", "line 1: invalid UTF-8"},
        {{"words"}, "12\nabc\n5\n", "دوازده\n", "line 2: \"abc\" is not a whole number"},
        {{"words", "7", "1.5"}, "", "هفت\n", "argument 2: \"1.5\" is not a whole number"},
        {{"words"}, "99999999999999999999\n", "", "is not a whole number"},
        {{"encode", "--font", "arial"}, "", "", "font"},
        {{"encode"}, "", "", "--font"},
        {{"--frobnicate", "words"}, "", "", "frobnicate"},
        {{"--codepage", "850", "words", "1"}, "", "", "codepage"},
        {{}, "", "", "subcommand"},
    };
    for (const Case& c : cases) {
        const ToolRun run = RunTool(c.args, c.input);
        EXPECT_EQ(run.status, 2) << c.message;
        EXPECT_EQ(run.out, c.output) << c.message;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    }
}

TEST(TextTool, HelpIsNotAnError) {
    const ToolRun run = RunTool({"--help"});
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("encode"), std::string::npos);
}

}  // namespace
}  // namespace navisaz
