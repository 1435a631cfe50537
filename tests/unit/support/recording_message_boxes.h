#pragma once
// Message boxes that record what would have been shown and answer Yes/No as told.
#include <string>
#include <vector>

#include "platform/message_box.h"

namespace vendrel::testing {

class RecordingMessageBoxes final : public platform::MessageBoxes {
 public:
  void ShowOk(std::u16string_view text) override { shown.emplace_back(text); }
  bool AskYesNo(std::u16string_view text) override {
    asked.emplace_back(text);
    return answer_yes;
  }

  std::vector<std::u16string> shown;
  std::vector<std::u16string> asked;
  bool answer_yes = false;
};

}  // namespace vendrel::testing
