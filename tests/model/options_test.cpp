#include "model/options.h"

#include "tests/model/settings_fixtures.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The reading rule, line by line: what a getter gives for a file's text.
struct ReadCase {
    const char *name;
    std::string text;
    const char *key;
    int dflt;
    int expected;
};

TEST(OptionsRead, BoolAndIntGettersFollowTheLineRules)
{
    const std::string v31(31, '0'), v32(32, '0');
    const ReadCase cases[] = {
        {"lower-case key without blanks", "confirmquit=no\n", "ConfirmQuit", 1, 0},
        {"word outside the four keeps default", "ConfirmQuit = maybe\n", "ConfirmQuit", 1, 1},
        {"yes in any case", "ConfirmInit = yEs\n", "ConfirmInit", 0, 1},
        {"false", "TipHelp = FALSE\n", "TipHelp", 1, 0},
        {"CRLF ending dropped", "ConfirmQuit = No\r\n", "ConfirmQuit", 1, 0},
        {"trailing blanks dropped", "ConfirmQuit = no \t  \n", "ConfirmQuit", 1, 0},
        {"no newline at end of file", "ConfirmQuit = no", "ConfirmQuit", 1, 0},
        {"blanks before equals", "ConfirmQuit   \t= no\n", "ConfirmQuit", 1, 0},
        {"longer key is another key", "ConfirmQuitX = no\n", "ConfirmQuit", 1, 1},
        {"first matching line counts", "ConfirmQuit = no\nConfirmQuit = yes\n", "ConfirmQuit", 1, 0},
        {"integer", "SocketPort = 7000\n", "SocketPort", 0, 7000},
        {"negative integer", "SocketPort = -3\n", "SocketPort", 0, -3},
        {"integer with junk keeps default", "SocketPort = 70x\n", "SocketPort", 5, 5},
        {"empty integer keeps default", "SocketPort =\n", "SocketPort", 5, 5},
        {"31-character value is read", "SocketPort = " + v31.substr(0, 29) + "12\n", "SocketPort", 5, 12},
        {"32-character value is ignored", "SocketPort = " + v32.substr(0, 30) + "12\n", "SocketPort", 5, 5},
        {"32-character bool is ignored", "ConfirmQuit = no" + std::string(30, ' ') + "xx\n", "ConfirmQuit", 1, 1},
        {"key absent", "Toolbar = False\n", "SocketPort", 9, 9},
        {"empty file", "", "SocketPort", 9, 9},
    };
    for (const ReadCase &c : cases) {
        TempDir dir;
        std::string path = dir.write("options", c.text);
        int got = std::string(c.key) == "SocketPort" ? optionsFileGetInt(path.c_str(), c.key, c.dflt)
                                                     : optionsFileGetBool(path.c_str(), c.key, c.dflt);
        EXPECT_EQ(got, c.expected) << c.name;
    }
}

TEST(OptionsRead, MissingFileOrDirectoryGivesDefaults)
{
    TempDir dir;
    std::string missing = dir.file("options");
    EXPECT_EQ(optionsFileGetBool(missing.c_str(), "ConfirmQuit", 1), 1);
    EXPECT_EQ(optionsFileGetInt(missing.c_str(), "SocketPort", 0), 0);
    char value[64] = "stale";
    EXPECT_EQ(optionsFileGetString(missing.c_str(), "TZ", value, sizeof value), 0);
    EXPECT_STREQ(value, "");

    // No per-user directory: no options path at all.
    char path[256] = "stale";
    EXPECT_EQ(optionsFilePathIn(path, sizeof path, ""), 0);
    EXPECT_STREQ(path, "");
    EXPECT_EQ(optionsFileGetBool(path, "ConfirmQuit", 1), 1);
    EXPECT_EQ(optionsFilePathIn(path, sizeof path, "/home/me/.tavik"), 1);
    EXPECT_STREQ(path, "/home/me/.tavik/options");
    EXPECT_EQ(optionsFilePathIn(path, 16, "/home/me/.tavik"), 0) << "path that does not fit";
}

TEST(OptionsRead, StringValuesAndTheirLimits)
{
    TempDir dir;
    std::string longTail = std::string(255, 'x') + "TZ = Evil/Zone\n";
    std::string path = dir.write("options",
                                 "Geometry = 800x600+10+10 \r\n" + longTail +
                                 "Locale =   ja_JP.eucJP\n"
                                 "SiteName = " + std::string(64, 's') + "\n"
                                 "TZONE = wrong\n");
    char value[64];
    EXPECT_EQ(optionsFileGetString(path.c_str(), "Geometry", value, 40), 1);
    EXPECT_STREQ(value, "800x600+10+10");
    EXPECT_EQ(optionsFileGetString(path.c_str(), "Locale", value, sizeof value), 1);
    EXPECT_STREQ(value, "ja_JP.eucJP");
    EXPECT_EQ(optionsFileGetString(path.c_str(), "SiteName", value, sizeof value), 0)
        << "64 characters do not fit 64 bytes";
    EXPECT_STREQ(value, "");
    char wide[65];
    EXPECT_EQ(optionsFileGetString(path.c_str(), "SiteName", wide, sizeof wide), 1);
    // The tail of an over-long line is skipped, not read as a line "TZ = Evil/Zone".
    EXPECT_EQ(optionsFileGetString(path.c_str(), "TZ", value, sizeof value), 0)
        << "tail of a long line read as a line of its own";
}

TEST(OptionsRead, FindValueReadsFromTheStreamPosition)
{
    TempDir dir;
    std::string path = dir.write("options", "TZ = UTC\nLocale = C\n");
    FILE *f = std::fopen(path.c_str(), "r");
    ASSERT_NE(f, nullptr);
    char value[8];
    EXPECT_EQ(optionsFindValue(f, "Locale", value, sizeof value), 1);
    EXPECT_STREQ(value, "C");
    EXPECT_EQ(optionsFindValue(f, "TZ", value, sizeof value), 0) << "already past the TZ line";
    std::rewind(f);
    EXPECT_EQ(optionsFindValue(f, "TZ", value, 3), 0) << "value of len characters";
    std::rewind(f);
    EXPECT_EQ(optionsFindValue(f, "TZ", value, 4), 1);
    std::fclose(f);
}

const std::string kOldOptions =
    "# my notes, kept as they are\n"
    "Toolbar = True\n"
    "SiteName = Old Place\n"
    "Odd line with\ttabs   \r\n" +
    std::string(600, 'z') + "\n" // longer than any read buffer
    "SocketPort = 0\n"
    "last line without newline";

TEST(OptionSet, ReplacesTheKeyAndKeepsEveryOtherByte)
{
    TempDir dir;
    std::string path = dir.write("options", kOldOptions);
    EXPECT_EQ(optionsFileSet(path.c_str(), "SiteName", "Tokyo (Japan)"), 1);
    std::string expected = kOldOptions;
    expected.replace(expected.find("SiteName = Old Place\n"), 21, "SiteName = Tokyo (Japan)\n");
    EXPECT_EQ(readFile(path), expected);
    EXPECT_FALSE(pathExists(path + ".$NEW$")) << "temporary left behind";
}

TEST(OptionSet, AddsAMissingKeyInsteadOfDroppingIt)
{
    TempDir dir;
    std::string path = dir.write("options", "Toolbar = True\n");
    EXPECT_EQ(optionsFileSet(path.c_str(), "SiteName", "Greenwich (United Kingdom)"), 1);
    EXPECT_EQ(readFile(path), "Toolbar = True\nSiteName = Greenwich (United Kingdom)\n");
    EXPECT_EQ(optionsFileSet(path.c_str(), "SiteName", "Tokyo"), 1);
    EXPECT_EQ(readFile(path), "Toolbar = True\nSiteName = Tokyo\n") << "added twice";

    // No options file yet (a fresh install before the first quit).
    std::string fresh = dir.file("fresh");
    EXPECT_EQ(optionsFileSet(fresh.c_str(), "SiteName", "Tokyo"), 1);
    EXPECT_EQ(readFile(fresh), "SiteName = Tokyo\n");
    EXPECT_FALSE(pathExists(fresh + ".$NEW$"));
}

TEST(OptionSet, ReplacesTheLineTheReaderSees)
{
    // A hand-written lower-case line is what the getters read; a second
    // appended "SiteName" line would never be seen.
    TempDir dir;
    std::string path = dir.write("options", "sitename=Old\nTZ = UTC\n");
    EXPECT_EQ(optionsFileSet(path.c_str(), "SiteName", "New"), 1);
    EXPECT_EQ(readFile(path), "SiteName = New\nTZ = UTC\n");
    char value[64];
    EXPECT_EQ(optionsFileGetString(path.c_str(), "SiteName", value, sizeof value), 1);
    EXPECT_STREQ(value, "New");
}

TEST(OptionSet, RefusesValuesThatWouldAddLines)
{
    TempDir dir;
    std::string path = dir.write("options", kOldOptions);
    EXPECT_EQ(optionsFileSet(path.c_str(), "SiteName", "X\nSocketPort = 23"), 0);
    EXPECT_EQ(optionsFileSet(path.c_str(), "SiteName", "X\rY"), 0);
    EXPECT_EQ(optionsFileSet(path.c_str(), "Bad=Key", "X"), 0);
    EXPECT_EQ(readFile(path), kOldOptions);
}

// Every way the new file can fail to be written leaves the old one whole.
TEST(OptionSet, FailuresKeepTheOldFile)
{
    {
        TempDir dir;
        std::string path = dir.write("options", kOldOptions);
        int result = runWithReadOnlyDir(dir.path(), [&] {
            return optionsFileSet(path.c_str(), "SiteName", "Tokyo");
        });
        EXPECT_EQ(result, 0) << "unwritable directory reported as success";
        EXPECT_EQ(readFile(path), kOldOptions);
        EXPECT_FALSE(pathExists(path + ".$NEW$"));
    }
    {
        TempDir dir;
        std::string path = dir.write("options", kOldOptions);
        int result = runWithFileSizeLimit(64, [&] {
            return optionsFileSet(path.c_str(), "SiteName", "Tokyo");
        });
        EXPECT_EQ(result, 0) << "full disk reported as success";
        EXPECT_EQ(readFile(path), kOldOptions) << "old file lost on a full disk";
        EXPECT_FALSE(pathExists(path + ".$NEW$")) << "partial temporary left behind";
    }
    {
        TempDir dir;
        std::string path = dir.write("options", kOldOptions);
        ASSERT_EQ(mkdir(dir.file("options.$NEW$").c_str(), 0755), 0);
        EXPECT_EQ(optionsFileSet(path.c_str(), "SiteName", "Tokyo"), 0)
            << "temporary that cannot be created";
        EXPECT_EQ(readFile(path), kOldOptions);
    }
}

// A NUL byte in a line once hid the line after it: the cut was looked for
// with a string search that stops at the NUL.
TEST(OptionsRead, NulByteInALineDoesNotHideTheNextLine)
{
    const std::string nul(1, '\0');
    struct Case {
        const char *name;
        std::string text;
    } cases[] = {
        {"NUL in the middle of a line", "Locale = C" + nul + "x\nTZ = UTC\n"},
        {"NUL at the start of a line", nul + "junk\nTZ = UTC\n"},
        {"line that is one NUL", nul + "\nTZ = UTC\n"},
        {"NUL in a long line's kept part", nul + std::string(300, 'q') + "\nTZ = UTC\n"},
    };
    for (const Case &c : cases) {
        TempDir dir;
        std::string path = dir.write("options", c.text);
        char value[64];
        EXPECT_EQ(optionsFileGetString(path.c_str(), "TZ", value, sizeof value), 1) << c.name;
        EXPECT_STREQ(value, "UTC") << c.name;
    }
}

const OptionValues kAllValues = {
    1, 0, 0, 1,
    "/home/me/scenes", "/home/me/pictures", "/usr/local/share/tavik/adf", "/cdrom",
    "Tokyo (Japan)", "800x600+0+0", "ja_JP.eucJP", "Asia/Tokyo",
    7000, "127.0.0.1",
};

TEST(OptionsWriteAll, WritesEveryKeyInOrderByteForByte)
{
    TempDir dir;
    std::string path = dir.file("options");
    ASSERT_EQ(optionsWriteFile(path.c_str(), &kAllValues), 1);
    EXPECT_EQ(readFile(path),
              "Toolbar = True\n"
              "TipHelp = False\n"
              "ConfirmQuit = False\n"
              "ConfirmInit = True\n"
              "StlFileIoPath = /home/me/scenes\n"
              "SaveImagePath = /home/me/pictures\n"
              "UserObjectFilePath = /usr/local/share/tavik/adf\n"
              "GscDataPath = /cdrom\n"
              "SiteName = Tokyo (Japan)\n"
              "Geometry = 800x600+0+0\n"
              "Locale = ja_JP.eucJP\n"
              "TZ = Asia/Tokyo\n"
              "SocketPort = 7000\n"
              "SocketAddress = 127.0.0.1\n");
    EXPECT_FALSE(pathExists(path + ".$NEW$"));

    // Empty optional texts are left out; empty paths are still written.
    OptionValues sparse = kAllValues;
    sparse.stlFileIoPath = "";
    sparse.siteName = sparse.geometry = sparse.locale = sparse.tz = sparse.socketAddress = "";
    sparse.socketPort = 0;
    ASSERT_EQ(optionsWriteFile(path.c_str(), &sparse), 1);
    EXPECT_EQ(readFile(path),
              "Toolbar = True\n"
              "TipHelp = False\n"
              "ConfirmQuit = False\n"
              "ConfirmInit = True\n"
              "StlFileIoPath = \n"
              "SaveImagePath = /home/me/pictures\n"
              "UserObjectFilePath = /usr/local/share/tavik/adf\n"
              "GscDataPath = /cdrom\n"
              "SocketPort = 0\n");
}

TEST(OptionsWriteAll, WrittenFileReadsBack)
{
    TempDir dir;
    std::string path = dir.file("options");
    ASSERT_EQ(optionsWriteFile(path.c_str(), &kAllValues), 1);
    char value[64];
    EXPECT_EQ(optionsFileGetBool(path.c_str(), "Toolbar", 0), 1);
    EXPECT_EQ(optionsFileGetBool(path.c_str(), "ConfirmQuit", 1), 0);
    EXPECT_EQ(optionsFileGetInt(path.c_str(), "SocketPort", 0), 7000);
    EXPECT_EQ(optionsFileGetString(path.c_str(), "TZ", value, 65), 1);
    EXPECT_STREQ(value, "Asia/Tokyo");
}

TEST(OptionsWriteAll, ALineBreakInAFieldCannotAddLines)
{
    TempDir dir;
    std::string path = dir.file("options");
    OptionValues v = kAllValues;
    v.saveImagePath = "/tmp/x\nSocketPort = 23";
    ASSERT_EQ(optionsWriteFile(path.c_str(), &v), 1);
    EXPECT_EQ(optionsFileGetInt(path.c_str(), "SocketPort", 0), 7000);
    char value[64];
    EXPECT_EQ(optionsFileGetString(path.c_str(), "SaveImagePath", value, sizeof value), 1);
    EXPECT_STREQ(value, "/tmp/x");
}

TEST(OptionsWriteAll, FailuresKeepTheOldFile)
{
    {
        TempDir dir;
        std::string path = dir.write("options", kOldOptions);
        int result = runWithFileSizeLimit(100, [&] { return optionsWriteFile(path.c_str(), &kAllValues); });
        EXPECT_EQ(result, 0) << "full disk reported as success";
        EXPECT_EQ(readFile(path), kOldOptions) << "old options lost on a full disk";
        EXPECT_FALSE(pathExists(path + ".$NEW$"));
    }
    {
        TempDir dir;
        std::string path = dir.write("options", kOldOptions);
        int result = runWithReadOnlyDir(dir.path(), [&] { return optionsWriteFile(path.c_str(), &kAllValues); });
        EXPECT_EQ(result, 0) << "unwritable directory reported as success";
        EXPECT_EQ(readFile(path), kOldOptions);
    }
    EXPECT_EQ(optionsWriteFile("", &kAllValues), 0) << "no per-user directory";
}

} // namespace

namespace {

const char kKeptOptions[] = "TZ = Asia/Tokyo\nSiteName = Kept Place\n";

struct ReplaceCase {
    const char *name;
    mode_t mode;        // the old file's
    int replaced;       // 1: the new text is in place
    bool readOnlyDir;   // the directory itself may not be written
};

// One case on a real file system: the options file with `mode`, replaced
// through both writers; the old text stays unless replaced. 0 when all held.
int replaceCase(const std::string &dir, const ReplaceCase &c)
{
    const std::string path = dir + "/options";
    int failures = 0;
    if (optionsWriteFile(path.c_str(), &kAllValues) != c.replaced)
        failures |= 1;
    if (optionsFileSet(path.c_str(), "SiteName", "New") != c.replaced)
        failures |= 2;
    if (pathExists(path + ".$NEW$"))
        failures |= 4;
    return failures;
}

} // namespace

// The options file is replaced only when the user could read and write it,
// keeping its mode; otherwise its lines stay as they were.
TEST(OptionsReplacement, ModesAndDirectoriesDecideWhetherTheFileIsReplaced)
{
    const ReplaceCase cases[] = {
        {"0600 replaced, still 0600", 0600, 1, false},
        {"0640 replaced, still 0640", 0640, 1, false},
        {"0444 read-only: kept", 0444, 0, false},
        {"000 unreadable: its settings were never in force, kept", 0000, 0, false},
        {"0200 write-only: unreadable, kept", 0200, 0, false},
        {"0644 in a read-only directory: no temporary, kept", 0644, 0, true},
    };
    for (const ReplaceCase &c : cases) {
        // Once as the test's user (root in CI: the modes must bind for root
        // too), once as an ordinary user in a child.
        for (bool ordinary : {false, true}) {
            if (c.readOnlyDir && !ordinary && geteuid() == 0)
                continue; // root writes into any directory
            TempDir dir;
            const std::string path = dir.write("options", kKeptOptions);
            ASSERT_EQ(chmod(path.c_str(), c.mode), 0);
            if (c.readOnlyDir) {
                ASSERT_EQ(chmod(dir.path().c_str(), 0555), 0);
            }
            const std::string name = std::string(c.name) + (ordinary ? " (ordinary user)" : "");
            const int failures = ordinary ? runAsOrdinaryUser(dir.path(), [&] { return replaceCase(dir.path(), c); })
                                          : replaceCase(dir.path(), c);
            chmod(dir.path().c_str(), 0700);
            EXPECT_EQ(failures, 0) << name;
            struct stat st;
            ASSERT_EQ(stat(path.c_str(), &st), 0) << name;
            EXPECT_EQ(st.st_mode & 07777, c.mode) << name << ": mode not kept";
            chmod(path.c_str(), 0600); // so that root and the test can read it back
            const std::string text = readFile(path);
            if (c.replaced) {
                EXPECT_NE(text.find("SiteName = New\n"), std::string::npos) << name;
            } else {
                EXPECT_EQ(text, kKeptOptions) << name << ": old lines lost";
            }
        }
    }
}

TEST(OptionsReplacement, SymlinkStaysALinkAndItsTargetGetsTheText)
{
    TempDir dir;
    ASSERT_EQ(mkdir(dir.file("dotfiles").c_str(), 0700), 0);
    const std::string target = dir.write("dotfiles/tavik-options", kKeptOptions);
    ASSERT_EQ(chmod(target.c_str(), 0600), 0);
    struct Case {
        const char *name;
        std::string linkText; // what the link in dir/user holds
    } cases[] = {
        {"relative link", "../dotfiles/tavik-options"},
        {"absolute link", target},
        {"link to a link", "../chain"},
    };
    ASSERT_EQ(mkdir(dir.file("user").c_str(), 0700), 0);
    ASSERT_EQ(symlink("dotfiles/tavik-options", dir.file("chain").c_str()), 0);
    for (const Case &c : cases) {
        const std::string link = dir.file("user/options");
        std::remove(link.c_str());
        ASSERT_EQ(symlink(c.linkText.c_str(), link.c_str()), 0) << c.name;
        ASSERT_EQ(optionsWriteFile(link.c_str(), &kAllValues), 1) << c.name;
        ASSERT_EQ(optionsFileSet(link.c_str(), "SiteName", c.name), 1) << c.name;
        struct stat st;
        ASSERT_EQ(lstat(link.c_str(), &st), 0);
        EXPECT_TRUE(S_ISLNK(st.st_mode)) << c.name << ": the link became a regular file";
        char value[64];
        EXPECT_EQ(optionsFileGetString(target.c_str(), "SiteName", value, sizeof value), 1) << c.name;
        EXPECT_STREQ(value, c.name) << c.name << ": the target was not updated";
        ASSERT_EQ(stat(target.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0600u) << c.name;
        EXPECT_FALSE(pathExists(link + ".$NEW$")) << c.name;
        EXPECT_FALSE(pathExists(target + ".$NEW$")) << c.name;
    }
}
