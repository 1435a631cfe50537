// The stores under concurrent use: edits of the WorkingStore on one thread while another commits
// it into the DeviceStore must never let the commit see a record without its text or a text
// without its record.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "store/assignment_model.h"
#include "store/key_map_write.h"

namespace vendrel::keys {
namespace {

using namespace vendrel::store;

constexpr int kRounds = 300;
constexpr std::size_t kEditedRecords = 8;

// Every record of a text-carrying type has a text, no other record has one, and the total is
// the sum of the sizes.
void ExpectConsistent(const KeyStore& store) {
  std::uint32_t sum = 0;
  for (std::size_t i = 0; i < kRecordCount; ++i) {
    const bool carries = CarriesText(store.Table().records[i].type);
    EXPECT_EQ(store.strings.Has(i), carries) << "record " << i;
    sum += store.strings.Size(i);
  }
  EXPECT_EQ(store.strings.Total(), sum);
}

TEST(KeyStoreThreadingTest, CommitSeesWholeEditsOnly) {
  WorkingStore working;
  DeviceStore device_store;
  std::atomic<bool> editing{true};

  std::thread editor([&] {
    for (int round = 0; round < kRounds; ++round) {
      for (std::size_t r = 0; r < kEditedRecords; ++r) {
        auto lock = working.Lock();  // one edit = record and text together
        if ((round + r) % 2 == 0) {
          WriteAssignment(working, r % 4, r, {AssignmentType::TextBlock, 0, 0}, u"typed text");
        } else {
          WriteAssignment(working, r % 4, r, {AssignmentType::Key, 0, 0x1E});
        }
        working.macros.resize(static_cast<std::size_t>(round % 3));
      }
    }
    editing = false;
  });

  int commits = 0;
  while (editing || commits == 0) {
    ASSERT_TRUE(CommitToDeviceStore(working, device_store));
    ++commits;
    auto lock = device_store.Lock();
    ExpectConsistent(device_store);
    EXPECT_EQ(device_store.settings_header[14], device_store.macros.size());
  }
  editor.join();

  ASSERT_TRUE(CommitToDeviceStore(working, device_store));
  auto working_lock = working.Lock();
  auto device_lock = device_store.Lock();
  ExpectConsistent(working);
  ExpectConsistent(device_store);
  EXPECT_EQ(device_store.macros, working.macros);
}

}  // namespace
}  // namespace vendrel::keys
