#include "platform/files.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <atomic>
#include <fstream>
#include <sstream>
#include <thread>

namespace {

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream all;
  all << in.rdbuf();
  return all.str();
}

std::vector<std::string> entries(const std::string& folder) {
  std::vector<std::string> names;
  DIR* dir = ::opendir(folder.c_str());
  while (dir) {
    const dirent* entry = ::readdir(dir);
    if (!entry) break;
    if (entry->d_name[0] != '.') names.emplace_back(entry->d_name);
  }
  if (dir) ::closedir(dir);
  return names;
}

TEST(ReplaceFile, ReadersSeeTheOldOrTheNewContentNeverAMix) {
  const std::string folder = ::testing::TempDir() + "replace_file";
  ::mkdir(folder.c_str(), 0755);
  const std::string path = folder + "/out.csv";
  const std::string contents[] = {std::string(300'000, 'a'), std::string(200'000, 'b')};
  ASSERT_EQ(platform::replaceFile(path, contents[0]), "");
  ::chmod(path.c_str(), 0640);
  std::atomic<bool> writing{true};
  std::atomic<int> mixed{0}, reads{0};
  std::thread reader([&] {
    while (writing) {
      const std::string seen = readFile(path);
      if (seen != contents[0] && seen != contents[1]) ++mixed;
      ++reads;
    }
  });
  for (int i = 1; i <= 40; ++i) ASSERT_EQ(platform::replaceFile(path, contents[i % 2]), "");
  writing = false;
  reader.join();
  EXPECT_EQ(mixed, 0) << "of " << reads << " reads";
  EXPECT_EQ(readFile(path), contents[0]);
  struct stat info {};
  ASSERT_EQ(::stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640U) << "a replaced file keeps its permissions";
  EXPECT_EQ(entries(folder), std::vector<std::string>{"out.csv"}) << "no temporary file is left";
}

TEST(ReplaceFile, FailureGivesTheReasonAndLeavesNothing) {
  EXPECT_NE(platform::replaceFile("/proc/no-such-file.csv", "x"), "");
  EXPECT_NE(platform::replaceFile(::testing::TempDir() + "no-such-folder/x.csv", "x"), "");
}

}  // namespace
