// kbsim's control port: each input line is one command carried out on a keyboard model. Whatever
// the commands accepted, the state the model then saves must load again (the next start of kbsim
// refuses a state file it cannot load).
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "sim/kbsim/control_command.h"
#include "sim/kbsim/control_session.h"
#include "sim/model/keyboard_model.h"

namespace {

class SilentLink final : public vendrel::sim::KeyboardLink {
 public:
  void AttachChanged(bool) override {}
  void SendConsumerEvent(std::uint16_t) override {}
  std::uint64_t LogMicros() const override { return 0; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vendrel::sim;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  KeyboardModel model;
  SilentLink link;
  ControlSession session(model, link, false);
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t end = std::min(text.find('\n', start), text.size());
    const std::string_view line = text.substr(start, end - start);
    control::ParseCommand(line);
    const auto result = session.Execute(line);
    if (result.reply.rfind("ok", 0) != 0 && result.reply.rfind("err ", 0) != 0) std::abort();
    if (result.quit) break;
    start = end + 1;
  }
  KeyboardModel reloaded;
  if (!reloaded.LoadState(model.SaveState())) std::abort();
  if (reloaded.SaveState() != model.SaveState()) std::abort();
  return 0;
}
