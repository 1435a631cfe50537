// The macro list is committed on the user-interface thread while a keyboard write may read it
// through the stores: every access goes through the store locks.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "store/key_store.h"
#include "macros/macro_image.h"
#include "macros/macro_list.h"
#include "store/macro_commit.h"

namespace vendrel::macros {
namespace {

using store::CommitMacroList;
using store::MacroIdAt;
using store::WorkingStore;

TEST(MacroListThreading, CommitsRaceWithReadersWithoutTornLists) {
  WorkingStore store;
  std::atomic<bool> stop{false};
  std::atomic<int> torn{0};
  std::atomic<int> reads{0};
  std::thread reader([&] {
    while (!stop.load()) {
      auto lock = store.Lock();
      const std::size_t n = store.macros.size();
      // Every committed list holds ids 1..n in order, macro i with i * 3 actions, none marked new.
      std::size_t expected_plain = kImageHeaderSize + kImageOffsetSize * n;
      for (std::size_t i = 0; i < n; ++i) {
        if (store.macros[i].id != i + 1 || store.macros[i].new_flag != 0) ++torn;
        expected_plain += kBlockHeaderSize + kEncodedActionSize * i * 3;
      }
      if (MacroImageSizes(store.macros).without_names != expected_plain) ++torn;
      if (n > 0 && MacroIdAt(store, static_cast<int>(n - 1)) != n) ++torn;
      // The repair and the list arrive together: a macro key names a macro of this list.
      for (std::size_t b = 0; b < keys::kProfileBlockCount; ++b) {
        const keys::KeyAssignment& r = store.Table().At(b, 0x1E);
        const MacroId id = keys::MacroIdOf(r);
        if (r.type == keys::AssignmentType::Macro && id != 0 && id > n) ++torn;
      }
      ++reads;
    }
  });
  while (reads.load() == 0) std::this_thread::yield();  // the reader runs before the first commit
  for (int round = 0; round < 1000; ++round) {
    std::vector<MacroRecord> edited(static_cast<std::size_t>(round % 7));
    for (std::size_t i = 0; i < edited.size(); ++i) {
      edited[i].id = static_cast<MacroId>(i + 1);
      edited[i].new_flag = 1;
      edited[i].actions.resize(i * 3);
    }
    {
      auto lock = store.Lock();
      store.Table().At(static_cast<std::size_t>(round % 4), 0x1E).type = keys::AssignmentType::Macro;
      store.Table().At(static_cast<std::size_t>(round % 4), 0x1E).parameter = 0;
    }
    EXPECT_TRUE(CommitMacroList(store, edited).committed);
  }
  stop.store(true);
  reader.join();
  EXPECT_GT(reads.load(), 0);
  EXPECT_EQ(torn.load(), 0);
  auto lock = store.Lock();
  EXPECT_EQ(store.macros.size(), 999u % 7u);
}

}  // namespace
}  // namespace vendrel::macros
