#include <gtest/gtest.h>

#include <ostream>

#include "platform/Pattern.h"

namespace tarvik {
namespace {

struct PatternCase {
  const char* pattern;
  const char* name;
  bool matches;
};

void PrintTo(const PatternCase& c, std::ostream* out) {
  *out << c.pattern << (c.matches ? " matches " : " misses ") << c.name;
}

class PatternRuleTest : public ::testing::TestWithParam<PatternCase> {};

TEST_P(PatternRuleTest, MatchesAsWindowsDoes) {
  const PatternCase& c = GetParam();
  EXPECT_EQ(MatchesPattern(c.pattern, c.name), c.matches)
      << "pattern " << c.pattern << " name " << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    StarDotStar, PatternRuleTest,
    ::testing::Values(PatternCase{"*.*", "a.txt", true}, PatternCase{"*.*", "README", true},
                      PatternCase{"*.*", ".bashrc", true}, PatternCase{"*.*", ".", true},
                      PatternCase{"*.*", "..", true}, PatternCase{"*.*", "a.b.c", true},
                      PatternCase{"*", "README", true}, PatternCase{"*", "a.txt", true}));

INSTANTIATE_TEST_SUITE_P(IgnoringCase, PatternRuleTest,
                         ::testing::Values(PatternCase{"*.TXT", "a.txt", true},
                                           PatternCase{"*.txt", "A.TXT", true},
                                           PatternCase{"*.txt", "a.b.txt", true},
                                           PatternCase{"*.txt", "a.txt.bak", false},
                                           PatternCase{"*.txt", "atxt", false},
                                           PatternCase{"ОТЧЁТ.*", "отчёт.doc", true},
                                           PatternCase{"straße.*", "STRASSE.txt", false},
                                           PatternCase{"ÄRGER.TXT", "ärger.txt", true}));

INSTANTIATE_TEST_SUITE_P(
    QuestionMark, PatternRuleTest,
    ::testing::Values(PatternCase{"?", "a", true}, PatternCase{"?", "ab", false},
                      PatternCase{"a?c", "abc", true}, PatternCase{"a?c", "ac", false},
                      PatternCase{"a?c", "abbc", false},
                      // One character counts as one, whatever its UTF-8 length.
                      PatternCase{"a?c", "aжc", true},
                      // At a full stop or the end of the name it may match nothing.
                      PatternCase{"file?.txt", "file.txt", true},
                      PatternCase{"file?.txt", "file1.txt", true},
                      PatternCase{"file?.txt", "file12.txt", false}, PatternCase{"???", "ab", true},
                      PatternCase{"a?b", "a.b", false}));

INSTANTIATE_TEST_SUITE_P(
    NoExtension, PatternRuleTest,
    ::testing::Values(PatternCase{"*.", "README", true}, PatternCase{"*.", "a.txt", false},
                      PatternCase{"*.", ".profile", false}, PatternCase{"name.", "name", true},
                      PatternCase{"a.?", "a", true}, PatternCase{"a.?", "a.b", true},
                      PatternCase{"a.*", "a", true}));

INSTANTIATE_TEST_SUITE_P(Literal, PatternRuleTest,
                         ::testing::Values(PatternCase{"", "", false}, PatternCase{"", "a", false},
                                           PatternCase{"abc", "abc", true},
                                           PatternCase{"abc", "abcd", false},
                                           PatternCase{"a*z", "a.middle.z", true},
                                           PatternCase{"*\xE9*", "l\uF0E9t.txt", true},
                                           PatternCase{"*z", "abc", false}));

}  // namespace
}  // namespace tarvik
