// kbsim's command line and its state file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "sim/kbsim/options.h"
#include "sim/kbsim/state_file.h"

namespace vendrel::sim {
namespace {

TEST(KbsimOptions, AllOptionsAsDocumented) {
  std::string error;
  const auto o = ParseOptions({"--hid-port", "47301", "--control-port", "47302", "--state", "s.bin", "--log",
                               "p.log", "--latency-us", "250", "--attached"},
                              error);
  ASSERT_TRUE(o.has_value()) << error;
  EXPECT_EQ(o->hid_port, 47301);
  EXPECT_EQ(o->control_port, 47302);
  EXPECT_EQ(o->state_file, "s.bin");
  EXPECT_EQ(o->log_file, "p.log");
  EXPECT_EQ(o->latency_us, 250u);
  EXPECT_TRUE(o->attached);
}

TEST(KbsimOptions, DefaultsAreDetachedWithOneMillisecondLatency) {
  std::string error;
  const auto o = ParseOptions({"--control-port", "2", "--hid-port", "1"}, error);
  ASSERT_TRUE(o.has_value()) << error;
  EXPECT_FALSE(o->attached);
  EXPECT_EQ(o->latency_us, 1000u);
  EXPECT_TRUE(o->state_file.empty());
  EXPECT_TRUE(o->log_file.empty());
}

TEST(KbsimOptions, BadCommandLinesAreRefusedWithAReason) {
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"--hid-port", "1"},
      {"--control-port", "1"},
      {"--hid-port", "0", "--control-port", "2"},
      {"--hid-port", "65536", "--control-port", "2"},
      {"--hid-port", "-1", "--control-port", "2"},
      {"--hid-port", "1x", "--control-port", "2"},
      {"--hid-port", "5", "--control-port", "5"},
      {"--hid-port", "1", "--control-port", "2", "--latency-us"},
      {"--hid-port", "1", "--control-port", "2", "--latency-us", "-5"},
      {"--hid-port", "1", "--control-port", "2", "--state", ""},
      {"--hid-port", "1", "--control-port", "2", "--verbose"},
  };
  for (const auto& args : cases) {
    std::string joined;
    for (const auto& a : args) joined += a + ' ';
    SCOPED_TRACE(joined);
    std::string error;
    EXPECT_FALSE(ParseOptions(args, error).has_value());
    EXPECT_FALSE(error.empty());
  }
}

class KbsimStateFile : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = std::filesystem::temp_directory_path() /
          ("kbsim_state_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    path = (dir / "state.bin").string();
  }
  void TearDown() override { std::filesystem::remove_all(dir); }
  std::filesystem::path dir;
  std::string path;
};

TEST_F(KbsimStateFile, WrittenBytesReadBackAndNoTemporaryIsLeft) {
  std::vector<std::uint8_t> read;
  EXPECT_EQ(ReadStateFile(path, read), StateFileRead::Missing);
  const std::vector<std::uint8_t> first{1, 2, 3, 0, 255};
  ASSERT_TRUE(WriteStateFile(path, first));
  const std::vector<std::uint8_t> second{9, 8};
  ASSERT_TRUE(WriteStateFile(path, second));  // replaces, never appends
  ASSERT_EQ(ReadStateFile(path, read), StateFileRead::Loaded);
  EXPECT_EQ(read, second);
  EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
}

TEST_F(KbsimStateFile, AFailedWriteKeepsTheOldState) {
  const std::vector<std::uint8_t> old{7, 7, 7};
  ASSERT_TRUE(WriteStateFile(path, old));
  // The temporary cannot be created where a folder of that name stands.
  std::filesystem::create_directory(path + ".tmp");
  EXPECT_FALSE(WriteStateFile(path, {1}));
  std::vector<std::uint8_t> read;
  ASSERT_EQ(ReadStateFile(path, read), StateFileRead::Loaded);
  EXPECT_EQ(read, old);
}

TEST_F(KbsimStateFile, AFolderInsteadOfAFileIsUnreadable) {
  std::filesystem::create_directory(path);
  std::vector<std::uint8_t> read;
  EXPECT_EQ(ReadStateFile(path, read), StateFileRead::Unreadable);
}

}  // namespace
}  // namespace vendrel::sim
