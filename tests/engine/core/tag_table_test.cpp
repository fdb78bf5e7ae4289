// SPDX-License-Identifier: MIT
#include "engine/core/tag_table.h"

#include "frame/text/error.h"

#include <gtest/gtest.h>

namespace stepwell {
namespace {

// The (tag, delta text) pairs a tag file's text loads as.
std::vector<std::pair<std::string, std::string>> load(const std::string& text) {
    std::vector<std::pair<std::string, std::string>> pairs;
    const TagTable table = parseTagTable(text, "StepwellTag.txt");
    for (const auto& entry : table.entries())
        pairs.emplace_back(entry.tag, entry.deltaText);
    return pairs;
}

using Pairs = std::vector<std::pair<std::string, std::string>>;

TEST(TagFile, LoadsItsFieldsInPairs) {
    const std::pair<std::string, Pairs> rows[] = {
        // Fields across commas and line ends.
        {"<td,1\r\n</td,-1\r\n", {{"<TD", "1"}, {"</TD", "-1"}}},
        {"<td\n1\n</td,-1", {{"<TD", "1"}, {"</TD", "-1"}}},
        {"<a,1,<b,+1\r", {{"<A", "1"}, {"<B", "+1"}}},
        // Blank lines and the blanks around a field go; quoted fields stay as written.
        {"\n  \t\n <td \t, 1 \n\n\"<p a=\"\"x\"\", \",\" 0.5\"\n",
         {{"<TD", "1"}, {"<P A=\"X\", ", " 0.5"}}},
        {"\"<DIV\" \t,1\n\"<P\",\" 2\"  \n", {{"<DIV", "1"}, {"<P", " 2"}}},
        // Empty fields and a trailing comma.
        {"<a,\n", {{"<A", ""}}},
        {",\n<b,1\n", {{"", ""}, {"<B", "1"}}},
        // Only ASCII letters are upper-cased.
        {"<ü-x,1\n", {{"<ü-X", "1"}}},
    };
    for (const auto& [text, pairs] : rows)
        EXPECT_EQ(load(text), pairs) << text;
}

TEST(TagFile, HundredEntriesLoadAHundredAndFirstFails) {
    std::string hundred;
    for (int i = 0; i < 100; ++i)
        hundred += "<t" + std::to_string(i) + ",1\n";
    EXPECT_EQ(load(hundred).size(), 100u);
    EXPECT_THROW(load(hundred + "<x,1\n"), Error);
    EXPECT_THROW(load(hundred + ",\n"), Error); // even an empty 101st entry
}

TEST(TagFile, ErrorsNameTheFileAndTheLine) {
    std::string hundred;
    for (int i = 0; i < 100; ++i)
        hundred += "<t" + std::to_string(i) + ",1\n";
    const std::pair<std::string, std::string> files[] = {
        {"<a,1\n\"<DIV,1\n", "line 2: the quoted field \"<DIV,1 has no closing quote"},
        {"\"<DIV\" x,1\n", "line 1: text after the quoted field \"<DIV\": x"},
        {"<a,\"1\"2\n", "line 1: text after the quoted field \"1\": 2"},
        {"<a,1\n\n<b\n", "line 3: the last tag \"<b\" has no delta"},
        {"<a\n\n\n1,<b\n", "line 4: the last tag \"<b\" has no delta"},
        {hundred + "\n<x,1\n", "line 102: more than 100 entries"},
        // Bounded so that a table cannot cost much to read or match; a long or odd field is
        // shown escaped and shortened, a NUL byte included.
        {"<a,1\n<" + std::string(1000, 'b') + ",1\n",
         "line 2: \"<" + std::string(39, 'b') +
             "…\" is 1001 bytes long; a tag or a delta "
             "holds at most 1000"},
        {"<a," + std::string(1001, '1') + "\n",
         "line 1: \"" + std::string(40, '1') +
             "…\" is 1001 bytes long; a tag or a delta holds "
             "at most 1000"},
        {[] {
             std::string tags;
             for (int i = 0; i < 5; ++i)
                 tags += "<" + std::string(999, 'a' + i) + ",1\n";
             return tags;
         }(),
         "line 5: the tags hold more than 4000 bytes together"},
        {std::string("<a\0b\x1b\n", 6), "line 1: the last tag \"<a\\x00b\\x1b\" has no delta"},
    };
    for (const auto& [text, error] : files) {
        try {
            load(text);
            ADD_FAILURE() << "no error for " << text;
        } catch (const Error& thrown) {
            EXPECT_EQ(thrown.what(), "StepwellTag.txt, " + error);
        }
    }
}

} // namespace
} // namespace stepwell
