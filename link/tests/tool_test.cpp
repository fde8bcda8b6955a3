// SPDX-License-Identifier: GPL-3.0-or-later
// zephyra-link from the outside: a scripted radio on a pseudo-terminal, the
// program's printed notifications checked line by line.
#include "format.h"
#include "link_support.h"
#include "pty_radio.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>
#include <string>
#include <vector>

namespace {

std::vector<std::string> RunTool(const std::string& arguments, const std::string& environment = "")
{
    const std::string command = environment + std::string(ZEPHYRA_LINK_TOOL) + " " + arguments + " 2>/dev/null";
    std::vector<std::string> lines;
    FILE* out = ::popen(command.c_str(), "r");
    if (out == nullptr)
        return lines;
    char line[4096];
    while (std::fgets(line, sizeof line, out) != nullptr) {
        std::string s = line;
        if (!s.empty() && s.back() == '\n')
            s.pop_back();
        lines.push_back(s);
    }
    lines.push_back("exit " + std::to_string(WEXITSTATUS(::pclose(out))));
    return lines;
}

TEST(Tool, PrintsEachNotificationAsJson)
{
    PtyRadio radio;
    radio.answer("FA;", "FA00014200000;");
    radio.answer("MR0001;", "MR0" "001" "00145000000" "310" "05" "12" "103" "10" "000600000" "07" "2" "MY\"CA\\L ;");
    radio.answer("SM1;", "SM10012;");
    const auto lines = RunTool("--json --wait 300 " + radio.path() + " 'FA;' 'MR0001;' 'SM1;' 'BD;'");
    const std::vector<std::string> expected = {
        R"({"msg":4116,"code":"FA","ok":1,"values":["00014200000"]})",
        R"({"msg":4138,"code":"MR","ok":1,"values":[0,1,"00145000000",3,1,0,5,12,103,1,0,600000,7,2,"MY\"CA\\L "]})",
        R"({"msg":4170,"code":"SM","ok":1,"values":[12]})",
        "exit 0",
    };
    EXPECT_EQ(lines, expected);
    EXPECT_NE(radio.take().find("FA;MR0001;SM1;BD;"), std::string::npos);
}

TEST(Tool, PlainLinesAndModelFromTheName)
{
    PtyRadio radio;
    radio.setIdentity(-1);
    radio.answer("BY;", "BY1;");
    const auto lines = RunTool("--model QX-410 --wait 300 " + radio.path() + " 'BY;' 'MD1;'");
    const std::vector<std::string> expected = {"BY 4105 (1,-48) ok=1: 1 0", "exit 0"};
    EXPECT_EQ(lines, expected);
}

TEST(Tool, TraceFromTheEnvironment)
{
    const TempFile file("/tmp/zephyra-link-trace-XXXXXX");
    ASSERT_TRUE(file.made());
    PtyRadio radio;
    radio.answer("MD;", "MD3;");
    const auto lines = RunTool("--wait 200 " + radio.path() + " 'MD;'", std::string("ZEPHYRA_TRACE=") + file.path() + " ");
    EXPECT_EQ(lines, (std::vector<std::string>{"MD 4134 ok=1: 3", "exit 0"}));
    const std::string text = file.text();
    EXPECT_NE(text.find(" > MD;\n"), std::string::npos) << text;
    EXPECT_NE(text.find(" < MD3;\n"), std::string::npos) << text;
}

TEST(Tool, MissingDeviceAndWrongUsage)
{
    EXPECT_EQ(RunTool("/dev/no-such-radio 'FA;'"), (std::vector<std::string>{"exit 1"}));
    EXPECT_EQ(RunTool("--baud fast /dev/null"), (std::vector<std::string>{"exit 2"}));
    EXPECT_EQ(RunTool(""), (std::vector<std::string>{"exit 2"}));
    const auto help = RunTool("--help");
    ASSERT_GT(help.size(), 10u);
    EXPECT_EQ(help.front(), "Usage: zephyra-link [options] DEVICE [COMMAND...]");
}

TEST(ToolFormat, TextsAreQuotedAndEscaped)
{
    zlink::Reading r;
    r.ok = 0;
    r.values = {std::uint32_t{4294967295u}, std::string("a\\b\xA0")};
    EXPECT_EQ(zlink::FormatJson(4240, "direct", r), R"({"msg":4240,"code":"direct","ok":0,"values":[4294967295,"a\\b\u00a0"]})");
    EXPECT_EQ(zlink::FormatText(4097, "AG", 1, 0, r), R"(AG 4097 (1,0) ok=0: 4294967295 "a\\b\u00a0")");
}

} // namespace
