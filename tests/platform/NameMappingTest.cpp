#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <set>

#include "PlatformFixture.h"
#include "platform/WindowsName.h"
#include "util/Text.h"
#include "util/Utf8.h"

namespace tarvik {
namespace {

struct ForbiddenCase {
  char ch;
  const char* shown;  // U+F000 plus the character's code, in UTF-8
};

void PrintTo(const ForbiddenCase& c, std::ostream* out) { *out << c.ch; }

class ForbiddenCharacterTest : public PlatformTest,
                               public ::testing::WithParamInterface<ForbiddenCase> {};

// A file whose name holds the character is listed with the private-use character, opened
// and created under that name, and stored under its real name.
TEST_P(ForbiddenCharacterTest, RoundTrips) {
  const std::string posix_name = std::string("a") + GetParam().ch + "b.txt";
  const std::string shown = std::string("a") + GetParam().shown + "b.txt";
  tmp_.MakeFile("dir/" + posix_name, "content");
  EXPECT_THAT(Find("C:\\dir\\*.txt", 0), ::testing::ElementsAre(shown));

  FileHandle file = kNoFile;
  ASSERT_EQ(platform_->OpenForReading("C:\\dir\\" + shown, file), kNoError);
  std::int64_t size = 0;
  EXPECT_EQ(platform_->SizeOfOpenFile(file, size), kNoError);
  EXPECT_EQ(size, 7);
  platform_->Close(file);

  const std::string copy_shown = "copy" + std::string(GetParam().shown);
  ASSERT_EQ(platform_->CreateTextFile("C:\\dir\\" + copy_shown, file), kNoError);
  platform_->Close(file);
  EXPECT_TRUE(std::filesystem::exists(tmp_.Path("dir/copy" + std::string(1, GetParam().ch))));

  // The character itself is no part of a name the program can give.
  EXPECT_FALSE(platform_->FileExists("C:\\dir\\" + posix_name));
}

INSTANTIATE_TEST_SUITE_P(
    Characters, ForbiddenCharacterTest,
    ::testing::Values(ForbiddenCase{'\\', "\uF05C"}, ForbiddenCase{':', "\uF03A"},
                      ForbiddenCase{'*', "\uF02A"}, ForbiddenCase{'?', "\uF03F"},
                      ForbiddenCase{'"', "\uF022"}, ForbiddenCase{'<', "\uF03C"},
                      ForbiddenCase{'>', "\uF03E"}, ForbiddenCase{'|', "\uF07C"}),
    [](const auto& info) { return "Code" + std::to_string(info.param.ch); });

TEST(WindowsNameTest, OtherNamesPassUnchanged) {
  // Any bytes are a valid Linux name, also ones that are no UTF-8 at all.
  for (const std::string name :
       {"plain.txt", "Отчёт.doc", "in ner.dots.txt", ".hidden", ".", "..", "\uEFFF\uF100"}) {
    EXPECT_EQ(ToWindowsName(name), name);
    std::string back;
    ASSERT_TRUE(ToPosixName(name, back));
    EXPECT_EQ(back, name);
  }
}

struct EdgeCase {
  const char* posix_name;
  const char* shown;
};

// Names no Windows name can be: what the trimming of names or a one-line row would change
// is shown mapped, and the name so shown reaches the file or directory on disk.
TEST_F(PlatformTest, NamesWithSpacesAtTheEndsDotsAtTheEndAndControlCharacters) {
  const EdgeCase cases[] = {
      {" notes ", "\uF020notes\uF020"},    {"  lead", "\uF020\uF020lead"},
      {"trail ", "trail\uF020"},           {"dot.", "dot\uF02E"},
      {"end. .", "end\uF02E\uF020\uF02E"}, {"line\nfeed", "line\uF00Afeed"},
      {"\x01start", "\uF001start"},        {"in ner.dot", "in ner.dot"},
  };
  for (const EdgeCase& c : cases) {
    SCOPED_TRACE(c.posix_name);
    const std::string file = c.posix_name;
    tmp_.MakeFile("files/" + file, "content");
    tmp_.MakeFile("dirs/" + file + "/inside.txt", "x");
    EXPECT_EQ(ToWindowsName(file), c.shown);
    std::string back;
    ASSERT_TRUE(ToPosixName(c.shown, back));
    EXPECT_EQ(back, file);

    const std::vector<std::string> listed = Find("C:\\files\\*", 0);
    ASSERT_THAT(listed, ::testing::ElementsAre(c.shown));
    std::string trimmed = listed[0];
    TrimSpaces(trimmed);
    EXPECT_EQ(trimmed, listed[0]);
    const std::string path = "C:\\files\\" + listed[0];
    EXPECT_TRUE(platform_->FileExists(path));
    EXPECT_EQ(platform_->FileAttributes(path), 0u);
    FileHandle handle = kNoFile;
    ASSERT_EQ(platform_->OpenForReading(path, handle), kNoError);
    std::int64_t size = 0;
    EXPECT_EQ(platform_->SizeOfOpenFile(handle, size), kNoError);
    EXPECT_EQ(size, 7);
    platform_->Close(handle);

    EXPECT_EQ(ListedAttributes("C:\\dirs", c.shown), kAttrDirectory);
    ASSERT_EQ(platform_->SetCurrentDirectory("C:\\dirs\\" + std::string(c.shown)), kNoError);
    EXPECT_EQ(platform_->CurrentDirectory(), "C:\\dirs\\" + std::string(c.shown));
    EXPECT_TRUE(platform_->FileExists("inside.txt"));
    ASSERT_EQ(platform_->SetCurrentDirectory("C:\\"), kNoError);
    tmp_.Remove("files");
    tmp_.Remove("dirs");
  }
}

TEST_F(PlatformTest, NameThatIsNoUtf8IsListedAndOpened) {
  const std::string name = "latin1-\xe9t\xe9.txt";
  tmp_.MakeFile(name, "abc");
  EXPECT_THAT(Find("C:\\*.txt", 0), ::testing::ElementsAre("latin1-\uF0E9t\uF0E9.txt"));
  FileHandle file = kNoFile;
  ASSERT_EQ(platform_->OpenForReading("C:\\" + name, file), kNoError);
  platform_->Close(file);
}

// "a" with each of U+F000 to U+F0FF or a byte that is no UTF-8 gets a shown name of its own,
// well-formed, that comes back; a NUL, which only a text holds, shows as U+F000, reaching nothing.
TEST(WindowsNameTest, EveryNameHasItsOwnShownName) {
  std::set<std::string> shown_names;
  std::string back;
  for (char32_t ch = 0; ch < 384; ++ch) {
    std::string name = "a";
    AppendUtf8(name, ch < 256 ? kShownByteBase + ch : kRawByteBase + ch - 128);
    const std::string& shown = *shown_names.insert(ToWindowsName(name)).first;
    EXPECT_TRUE(ToPosixName(shown, back) && back == name && WellFormedUtf8(shown) == shown);
  }
  EXPECT_EQ(shown_names.size(), 384u);
  // Every character up to the C1 controls: none reaches the shown name as a control character.
  const auto has_control = [](const std::string& text) {
    for (std::size_t pos = 0; pos < text.size();) {
      const char32_t ch = DecodeUtf8(text, pos);
      if (ch < 0x20 || (ch >= 0x7F && ch <= 0x9F)) return true;
    }
    return false;
  };
  for (char32_t ch = 1; ch <= 0x9F; ++ch) {
    if (ch == U'/') continue;
    std::string name = "a";
    AppendUtf8(name, ch);
    const std::string shown = ToWindowsName(name);
    EXPECT_FALSE(has_control(shown)) << static_cast<unsigned>(ch);
    EXPECT_TRUE(ToPosixName(shown, back) && back == name) << static_cast<unsigned>(ch);
  }
  EXPECT_EQ(ToWindowsName(std::string("a\0", 2)), "a\uF000");
  EXPECT_FALSE(ToPosixName("a\uF000", back));
}

}  // namespace
}  // namespace tarvik
