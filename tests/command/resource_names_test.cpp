// Every resource name the code fetches has a line in the fallback table, and
// every format carries the conversions its caller passes. The sources are
// scanned, so names added by any area are checked without touching this file:
//   getResourceString("name", ...)          the name exists
//   getResourceFormat("name", "conv", ...)  it exists and takes conv ('s', 'd',
//                                           'f' per argument); a name ending
//                                           in "Format" carries exactly conv
//   stkSetError("id", ...)                  a command error: exists, takes "ss"
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/command_error.h"
#include "model/resource_text.h"
#include "resources/fallback.h"

namespace {

struct Use {
    std::string name, conversions, where;
    bool command;
};

// The string literal at s[p...] after blanks; empty when there is none.
std::string literalAt(const std::string &s, size_t &p)
{
    while (p < s.size() && (s[p] == ' ' || s[p] == '\t' || s[p] == '\n'))
        p++;
    if (p >= s.size() || s[p] != '"')
        return "";
    const size_t end = s.find('"', p + 1);
    if (end == std::string::npos)
        return "";
    std::string literal = s.substr(p + 1, end - p - 1);
    p = end + 1;
    return literal;
}

// Each call "function(\"name\"" (and for formats its ", \"conv\""), in order.
void scanCalls(const std::string &s, const std::string &where, std::vector<Use> &uses)
{
    static const struct {
        const char *call;
        bool format, command;
    } kCalls[] = {{"getResourceString(", false, false},
                  {"getResourceFormat(", true, false},
                  {"stkSetError(", false, true}};
    for (const auto &c : kCalls) {
        const std::string call = c.call;
        for (size_t at = s.find(call); at != std::string::npos; at = s.find(call, at + 1)) {
            size_t p = at + call.size();
            const std::string name = literalAt(s, p);
            if (name.empty())
                continue; // a name from a variable is checked where its literal is
            std::string conversions = c.command ? "ss" : "";
            if (c.format) {
                while (p < s.size() && (s[p] == ' ' || s[p] == ','))
                    p++;
                conversions = literalAt(s, p);
            }
            uses.push_back({name, conversions, where, c.command});
        }
    }
}

std::vector<Use> scanSources()
{
    std::vector<Use> uses;
    const std::filesystem::path root = TAVIK_SOURCE_DIR;
    for (const char *dir : {"model", "command", "render", "ui"}) {
        if (!std::filesystem::exists(root / dir))
            continue;
        for (const auto &entry : std::filesystem::recursive_directory_iterator(root / dir)) {
            const std::string ext = entry.path().extension().string();
            if (ext != ".cpp" && ext != ".h")
                continue;
            std::ifstream in(entry.path());
            std::stringstream text;
            text << in.rdbuf();
            scanCalls(text.str(), std::filesystem::relative(entry.path(), root).string(), uses);
        }
    }
    return uses;
}

bool inFallbackTable(const std::string &name)
{
    for (char **line = fallbackResources; *line; line++) {
        const std::string l = *line;
        for (const char *prefix : {"TAvik*", "TAvik."}) {
            const std::string head = prefix + name;
            if (l.compare(0, head.size(), head) == 0) {
                size_t p = head.size();
                while (p < l.size() && (l[p] == ' ' || l[p] == '\t'))
                    p++;
                if (p < l.size() && l[p] == ':')
                    return true;
            }
        }
    }
    return false;
}

TEST(ResourceNames, ScanFindsTheInterpretersOwnUses)
{
    // Guards the scan itself: a broken pattern would make the checks below vacuous.
    bool sawSyntax = false;
    for (const Use &u : scanSources())
        sawSyntax |= u.name == "stkErrorTextTooLong";
    EXPECT_TRUE(sawSyntax);
}

TEST(ResourceNames, EveryFetchedNameHasAFallbackLine)
{
    for (const Use &u : scanSources())
        EXPECT_TRUE(inFallbackTable(u.name)) << u.name << " fetched in " << u.where;
}

TEST(ResourceNames, FormatsCarryTheirCallersConversions)
{
    for (const Use &u : scanSources()) {
        if (u.conversions.empty() && !u.command)
            continue;
        char text[1024];
        fallbackResourceString(u.name.c_str(), text, sizeof text);
        EXPECT_TRUE(formatTakesConversions(text, u.conversions.c_str()))
            << u.name << " (" << u.where << ") = \"" << text << "\" given " << u.conversions;
        const std::string suffix = "Format";
        if (u.name.size() > suffix.size() &&
            u.name.compare(u.name.size() - suffix.size(), suffix.size(), suffix) == 0) {
            char found[64];
            ASSERT_TRUE(formatConversions(text, found, sizeof found)) << u.name;
            EXPECT_EQ(std::string(found), u.conversions) << u.name << " (" << u.where << ")";
        }
    }
}

TEST(ResourceNames, NoResourceLineIsGivenTwice)
{
    // Two areas defining one resource would make the result depend on order.
    std::map<std::string, int> seen;
    for (char **line = fallbackResources; *line; line++) {
        std::string l = *line;
        std::string path = l.substr(0, l.find(':'));
        while (!path.empty() && (path.back() == ' ' || path.back() == '\t'))
            path.pop_back();
        EXPECT_EQ(seen[path]++, 0) << path;
    }
}

} // namespace

namespace {

TEST(ResourceNames, TheTableOpensWithTheDateStyle)
{
    // The toolkit's fallback list starts with the date style, as the settings expect.
    ASSERT_NE(fallbackResources[0], nullptr);
    EXPECT_STREQ(fallbackResources[0], "TAvik*DateStyle: English");
}

} // namespace
