#include "app/startup.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vendrel::app {
namespace {

// Process list, windows and mutexes of a pretend machine. The starting process is always in the
// process list, as on the real system.
class FakeInstancePlatform : public InstancePlatform {
 public:
  struct Process {
    std::uint32_t id;
    std::u16string image;
  };
  std::vector<Process> processes;  // creation order
  bool mutex_exists = false;
  std::vector<std::string> calls;
  std::vector<std::pair<std::uint32_t, InstanceSignal>> signals;

  std::uint32_t FindProcessByExeName(std::u16string_view exe_name) override {
    calls.push_back("find");
    for (const Process& p : processes) {
      if (EqualsIgnoringCase(p.image, exe_name)) return p.id;
    }
    return 0;
  }
  void SignalInstance(std::uint32_t process_id, InstanceSignal signal) override {
    calls.push_back(signal == InstanceSignal::Kill ? "kill" : "open");
    signals.emplace_back(process_id, signal);
  }
  bool OpenExistingMutex(std::u16string_view name) override {
    calls.push_back("open-mutex");
    EXPECT_EQ(name, u"RX73P05D");
    return mutex_exists;
  }
  void CreateOwnedMutex(std::u16string_view name) override {
    calls.push_back("create-mutex");
    EXPECT_EQ(name, u"RX73P05D");
  }
  void StartHidden(std::u16string_view program) override {
    calls.push_back("companion");
    companion = program;
  }
  std::u16string companion;
};

constexpr std::uint32_t kRunningId = 100;
constexpr std::uint32_t kSelfId = 200;

struct StartupCase {
  const char* name;
  std::vector<std::u16string> args;
  bool other_instance_runs;   // an older Vendrel.exe holds the mutex
  bool stale_mutex;           // the mutex exists but no other Vendrel.exe runs
  StartupOutcome outcome;
  bool start_flag;
  std::vector<std::string> calls;
  std::uint32_t signalled;    // process that received a signal (0 = none)
};

class StartupDecision : public ::testing::TestWithParam<StartupCase> {};

TEST_P(StartupDecision, FollowsTheCommandLineAndTheSingleInstance) {
  const StartupCase& c = GetParam();
  FakeInstancePlatform platform;
  if (c.other_instance_runs) platform.processes.push_back({kRunningId, u"VENDREL.EXE"});
  platform.processes.push_back({kSelfId, u"Vendrel.exe"});
  platform.mutex_exists = c.other_instance_runs || c.stale_mutex;
  const AppPaths paths = ComputeAppPaths(u"C:\\Programs\\Vendrel\\Vendrel.exe");
  std::atomic<bool> start_flag{false};

  EXPECT_EQ(DecideStartup(c.args, paths, platform, start_flag), c.outcome);
  EXPECT_EQ(start_flag.load(), c.start_flag);
  EXPECT_EQ(platform.calls, c.calls);
  if (c.signalled == 0) {
    EXPECT_TRUE(platform.signals.empty());
  } else {
    ASSERT_EQ(platform.signals.size(), 1u);
    EXPECT_EQ(platform.signals[0].first, c.signalled);
  }
  if (c.outcome == StartupOutcome::Run) {
    EXPECT_EQ(platform.companion, u"C:\\Programs\\Vendrel\\Keywarden.exe");
  }
}

using V = std::vector<std::string>;
INSTANTIATE_TEST_SUITE_P(
    Cases, StartupDecision,
    ::testing::Values(
        StartupCase{"FirstStartRunsAndStartsCompanion", {}, false, false, StartupOutcome::Run,
                    false, V{"open-mutex", "create-mutex", "companion"}, 0},
        StartupCase{"StartSwitchInAnyCaseSetsStartFlag", {u"/sTaRt"}, false, false,
                    StartupOutcome::Run, true, V{"open-mutex", "create-mutex", "companion"}, 0},
        StartupCase{"UnknownArgumentsAreIgnored", {u"-start", u"/Startx", u"Start"}, false, false,
                    StartupOutcome::Run, false, V{"open-mutex", "create-mutex", "companion"}, 0},
        StartupCase{"SecondStartAsksRunningInstanceToOpenAndExits", {}, true, false,
                    StartupOutcome::Exit, false, V{"open-mutex", "find", "open"}, kRunningId},
        StartupCase{"KillInAnyCaseClosesRunningInstanceAndExits", {u"/KILL"}, true, false,
                    StartupOutcome::Exit, false, V{"find", "kill"}, kRunningId},
        StartupCase{"StartThenKillStillKillsAndExits", {u"/Start", u"/kill"}, true, false,
                    StartupOutcome::Exit, true, V{"find", "kill"}, kRunningId},
        StartupCase{"KillWithoutOtherInstanceFindsItselfAndExits", {u"/Kill"}, false, false,
                    StartupOutcome::Exit, false, V{"find", "kill"}, kSelfId},
        StartupCase{"StaleMutexFindsOnlyItselfAndExitsWithoutCompanion", {}, false, true,
                    StartupOutcome::Exit, false, V{"open-mutex", "find", "open"}, kSelfId}),
    [](const ::testing::TestParamInfo<StartupCase>& i) { return std::string(i.param.name); });

TEST(StartupDecision, KillWhenNoProcessOfThatNameGoesOnWithTheNextArgument) {
  // A renamed copy: the process list holds no process with the name searched for.
  FakeInstancePlatform platform;
  AppPaths paths = ComputeAppPaths(u"C:\\V\\Renamed.exe");
  std::atomic<bool> start_flag{false};
  const std::vector<std::u16string> args{u"/kill", u"/start"};
  EXPECT_EQ(DecideStartup(args, paths, platform, start_flag), StartupOutcome::Run);
  EXPECT_TRUE(start_flag.load());
  EXPECT_EQ(platform.calls, (V{"find", "open-mutex", "create-mutex", "companion"}));
}

TEST(StartupDecision, MutexPresentButNoProcessFoundKeepsRunning) {
  FakeInstancePlatform platform;
  platform.mutex_exists = true;
  AppPaths paths = ComputeAppPaths(u"C:\\V\\Other.exe");
  std::atomic<bool> start_flag{false};
  EXPECT_EQ(DecideStartup({}, paths, platform, start_flag), StartupOutcome::Run);
  EXPECT_EQ(platform.calls, (V{"open-mutex", "find", "companion"}));
}

struct CaseCompare {
  std::u16string_view a, b;
  bool equal;
};

TEST(EqualsIgnoringCase, ComparesLettersOnlyWithoutCase) {
  const CaseCompare cases[] = {
      {u"/Kill", u"/kILL", true},  {u"/Start", u"/START", true}, {u"/Kill", u"/Kil", false},
      {u"/Kill", u"/Kilm", false}, {u"", u"", true},             {u"[", u"{", false},
  };
  for (const CaseCompare& c : cases) {
    EXPECT_EQ(EqualsIgnoringCase(c.a, c.b), c.equal) << std::string(c.a.begin(), c.a.end());
  }
}

}  // namespace
}  // namespace vendrel::app
