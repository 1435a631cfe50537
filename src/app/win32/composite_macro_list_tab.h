#pragma once
// A stand-in for the macro tab until the macro editor joins: it lists the store's macros in the
// macro box so that one can be chosen for a key, with the cycles field and the record-delay box,
// and edits nothing. It lives alone here so that the editor can take its place.
#include <windows.h>

#include <string>
#include <vector>

#include "app/composite_macro_tab.h"
#include "macros/macro_record.h"
#include "platform/ini_profile.h"
#include "store/key_store.h"
#include "texts/text_source.h"

namespace vendrel::app {

class CompositeMacroListTab final : public CompositeMacroTab {
 public:
  CompositeMacroListTab(const store::WorkingStore& store, platform::IniProfile& registry,
                        const texts::TextSource& texts)
      : store_(store), registry_(registry), texts_(texts) {}

  void SetDialog(HWND dialog) { dialog_ = dialog; }

  void Fill() override;
  void SelectForOpening(std::uint32_t initial_value) override;
  void SelectFirstSavingCurrent() override;
  bool Recording() const override { return false; }
  void StopRecording() override {}
  void EndCellEdit() override {}
  bool Empty() const override { return ids_.empty(); }
  std::uint16_t CurrentMacroId() const override;
  std::uint16_t Cycles() const override;
  void SaveAndCommit() override {}  // nothing edited: the store's macros stay as they are
  void Discard() override;

 private:
  void Select(int position);

  const store::WorkingStore& store_;
  platform::IniProfile& registry_;
  const texts::TextSource& texts_;
  HWND dialog_ = nullptr;
  std::vector<macros::MacroId> ids_;  // in box order
};

}  // namespace vendrel::app
