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

using namespace vendrel::store;

TEST(MacroListThreading, CommitsRaceWithReadersWithoutTornLists) {
  store::WorkingStore store;
  std::atomic<bool> stop{false};
  std::atomic<int> torn{0};
  std::thread reader([&] {
    while (!stop.load()) {
      auto lock = store.Lock();
      // Every committed list holds ids 1..n in order.
      for (std::size_t i = 0; i < store.macros.size(); ++i) {
        if (store.macros[i].id != i + 1) ++torn;
      }
      const MacroImageSize s = MacroImageSizes(store.macros);
      if (s.without_names < kImageHeaderSize) ++torn;
      if (MacroIdAt(store, static_cast<int>(store.macros.size())) != 0) ++torn;
    }
  });
  for (int round = 0; round < 200; ++round) {
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
  EXPECT_EQ(torn.load(), 0);
  auto lock = store.Lock();
  EXPECT_EQ(store.macros.size(), 199u % 7u);
}

}  // namespace
}  // namespace vendrel::macros
