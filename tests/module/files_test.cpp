// Path text helpers and the listing of a directory's regular files.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include "common/files/file_listing.h"
#include "common/files/path_text.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

namespace fs = std::filesystem;
using ::testing::IsEmpty;
using ::testing::UnorderedElementsAreArray;

#ifdef _WIN32
constexpr char kSeparator = '\\';
#else
constexpr char kSeparator = '/';
#endif

TEST(FilesPathText, TrailingSeparatorsAreStripped) {
  EXPECT_EQ(lwp::stripTrailingSeparators(""), "");
  EXPECT_EQ(lwp::stripTrailingSeparators("dir"), "dir");
  EXPECT_EQ(lwp::stripTrailingSeparators("C:\\clips\\"), "C:\\clips");
  EXPECT_EQ(lwp::stripTrailingSeparators("a\\b/c/\\/\\"), "a\\b/c");
  EXPECT_EQ(lwp::stripTrailingSeparators("\xE8\xA1\xA8/\\"), "\xE8\xA1\xA8");  // 表
  // Separators alone come back unchanged.
  EXPECT_EQ(lwp::stripTrailingSeparators("/"), "/");
  EXPECT_EQ(lwp::stripTrailingSeparators("\\\\/"), "\\\\/");
}

TEST(FilesPathText, ReplaceAllScansOnAfterEachReplacement) {
  EXPECT_EQ(lwp::replaceAll("abc", "", "x"), "abc");
  EXPECT_EQ(lwp::replaceAll("", "a", "b"), "");
  EXPECT_EQ(lwp::replaceAll("aaa", "a", "aa"), "aaaaaa");
  EXPECT_EQ(lwp::replaceAll("abab", "ab", ""), "");
  EXPECT_EQ(lwp::replaceAll("aaaa", "aa", "b"), "bb");
  EXPECT_EQ(lwp::replaceAll("Item item ITEM", "item", "x"), "Item x ITEM");
  EXPECT_EQ(lwp::replaceAll("a.b.c", ".", "::"), "a::b::c");
}

// A fresh directory per test, removed afterwards.
class FilesListing : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto *info = ::testing::UnitTest::GetInstance()->current_test_info();
    dir_ = fs::temp_directory_path() /
           (std::string("lwp_files_") + info->name() + "_" + std::to_string(reinterpret_cast<std::uintptr_t>(this)));
    fs::remove_all(dir_);
    ASSERT_TRUE(fs::create_directories(dir_));
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }

  void writeFile(const fs::path &path) { std::ofstream(path) << "clip\n"; }
  std::string dir() const { return dir_.string(); }
  std::string inDir(const std::string &name) const { return dir() + kSeparator + name; }

  fs::path dir_;
};

TEST_F(FilesListing, RegularFilesDirectlyInTheDirectoryHiddenOnesIncluded) {
  writeFile(dir_ / "walk.xml");
  writeFile(dir_ / ".hidden");
  writeFile(dir_ / "no extension");
  fs::create_directory(dir_ / "sub");
  writeFile(dir_ / "sub" / "inner.xml");
  fs::create_directory(dir_ / ".hidden dir");
  const std::vector<std::string> expected{inDir("walk.xml"), inDir(".hidden"), inDir("no extension")};

  EXPECT_THAT(lwp::listFiles(dir()), UnorderedElementsAreArray(expected));
  // Trailing separators of the directory do not change the paths.
  EXPECT_THAT(lwp::listFiles(dir() + kSeparator), UnorderedElementsAreArray(expected));
  EXPECT_THAT(lwp::listFiles(dir() + kSeparator + kSeparator), UnorderedElementsAreArray(expected));
}

TEST_F(FilesListing, EmptyOrMissingDirectoryGivesNoFiles) {
  EXPECT_THAT(lwp::listFiles(dir()), IsEmpty());
  fs::create_directory(dir_ / "only a directory");
  EXPECT_THAT(lwp::listFiles(dir()), IsEmpty());
  EXPECT_THAT(lwp::listFiles(inDir("missing")), IsEmpty());
  EXPECT_THAT(lwp::listFiles(""), IsEmpty());
}

#ifdef _WIN32
TEST_F(FilesListing, FilesMarkedHiddenOrSystemAreListed) {
  writeFile(dir_ / "hidden.xml");
  writeFile(dir_ / "system.xml");
  ASSERT_TRUE(SetFileAttributesW((dir_ / "hidden.xml").c_str(), FILE_ATTRIBUTE_HIDDEN));
  ASSERT_TRUE(SetFileAttributesW((dir_ / "system.xml").c_str(), FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_HIDDEN));
  EXPECT_THAT(lwp::listFiles(dir()), UnorderedElementsAreArray({inDir("hidden.xml"), inDir("system.xml")}));
}
#else
TEST_F(FilesListing, LinksCountByWhatTheyLeadTo) {
  writeFile(dir_ / "target.xml");
  fs::create_directory(dir_ / "folder");
  fs::create_symlink(dir_ / "target.xml", dir_ / "link to file");
  fs::create_directory_symlink(dir_ / "folder", dir_ / "link to folder");
  fs::create_symlink(dir_ / "gone.xml", dir_ / "dangling");
  EXPECT_THAT(lwp::listFiles(dir()), UnorderedElementsAreArray({inDir("target.xml"), inDir("link to file")}));
}
#endif

}  // namespace
