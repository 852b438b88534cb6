// The command history between runs: the last SaveHistory commands in order,
// SaveHistory 0 removing the file, an over-long line cut without becoming a
// second command, and what OK does with a typed text.
#include <string>
#include <sys/stat.h>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/temp_dir.h"
#include "ui/widgets/command_history.h"

namespace {

std::vector<std::string> readBack(const std::string &path)
{
    std::vector<std::string> lines;
    historyReadFile(path.c_str(), [](void *ctx, const char *line) {
        static_cast<std::vector<std::string> *>(ctx)->emplace_back(line);
    }, &lines);
    return lines;
}

bool exists(const std::string &path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

TEST(CommandHistory, KeepsTheLastSaveHistoryCommandsOldestFirst)
{
    TempDir dir;
    const std::string path = dir.file("history");
    std::vector<std::string> commands;
    for (int i = 1; i <= 25; i++)
        commands.push_back("MAG STAR " + std::to_string(i));
    std::vector<const char *> items;
    for (const auto &c : commands)
        items.push_back(c.c_str());

    ASSERT_EQ(historyWriteFile(path.c_str(), items.data(), 25, 10), 1);
    EXPECT_EQ(readFile(path), "MAG STAR 16\nMAG STAR 17\nMAG STAR 18\nMAG STAR 19\nMAG STAR 20\n"
                              "MAG STAR 21\nMAG STAR 22\nMAG STAR 23\nMAG STAR 24\nMAG STAR 25\n");
    // Fewer than kept: all of them.
    ASSERT_EQ(historyWriteFile(path.c_str(), items.data(), 3, 10), 1);
    EXPECT_EQ(readFile(path), "MAG STAR 1\nMAG STAR 2\nMAG STAR 3\n");
    // Nothing kept: the file goes, and a missing file is no failure.
    ASSERT_EQ(historyWriteFile(path.c_str(), items.data(), 3, 0), 1);
    EXPECT_FALSE(exists(path));
    EXPECT_EQ(historyWriteFile(path.c_str(), items.data(), 3, -1), 1);
    EXPECT_FALSE(exists(path));
}

TEST(CommandHistory, ALineOver511CharactersIsCutAndItsRestSkipped)
{
    TempDir dir;
    const std::string longLine(600, 'A');
    const std::string path = dir.write("history", "DRIVE\n" + longLine + "\nLOOK HRZ\n" + std::string(511, 'B') + "\n");
    const std::vector<std::string> lines = readBack(path);
    ASSERT_EQ(lines.size(), 4u) << "the rest of the long line is no command of its own";
    EXPECT_EQ(lines[0], "DRIVE");
    EXPECT_EQ(lines[1], std::string(511, 'A'));
    EXPECT_EQ(lines[2], "LOOK HRZ");
    EXPECT_EQ(lines[3], std::string(511, 'B')) << "exactly 511 fits";
    EXPECT_TRUE(readBack(dir.file("missing")).empty());
}

TEST(CommandHistory, PathNeedsTheUserDirectoryAndRoom)
{
    char path[64];
    EXPECT_EQ(historyPathIn("/home/u/.tavik", path, sizeof path), 1);
    EXPECT_STREQ(path, "/home/u/.tavik/history");
    EXPECT_EQ(historyPathIn("", path, sizeof path), 0);
    EXPECT_EQ(historyPathIn("/home/u/.tavik", path, 22), 0) << "no room for the terminator";
    EXPECT_EQ(historyPathIn("/home/u/.tavik", path, 23), 1);
}

TEST(CommandHistory, OkRunsNewTextsOnceInTheHistoryAndRefusesLongOnes)
{
    struct Case {
        const char *name;
        std::string text;
        const char *last;
        CommandOkAction action;
    };
    const std::string recalled(300, 'X');
    const Case cases[] = {
        {"empty", "", "DRIVE", kCommandIgnore},
        {"blanks and a tab", "  \t ", nullptr, kCommandIgnore},
        {"new into an empty history", "DRIVE", nullptr, kCommandRunAppend},
        {"new", "LOOK HRZ", "DRIVE", kCommandRunAppend},
        {"same as the last", "DRIVE", "DRIVE", kCommandRunAgain},
        {"differs by a blank", "DRIVE ", "DRIVE", kCommandRunAppend},
        {"259 characters", "MAG STAR " + std::string(250, '1'), nullptr, kCommandRunAppend},
        {"260 characters", "MAG STAR " + std::string(251, '1'), nullptr, kCommandTooLong},
        {"300 characters recalled", recalled, recalled.c_str(), kCommandTooLong},
    };
    for (const Case &c : cases)
        EXPECT_EQ(commandOkAction(c.text.c_str(), c.last), c.action) << c.name;
}

} // namespace
