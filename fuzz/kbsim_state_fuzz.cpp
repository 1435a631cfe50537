// kbsim's state file: a model loads any bytes or refuses them unchanged; a state it loaded saves
// to bytes that load again to the same state.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "sim/model/keyboard_model.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using vendrel::sim::KeyboardModel;
  KeyboardModel model;
  const auto factory = model.SaveState();
  if (!model.LoadState(std::span<const std::uint8_t>(data, size))) {
    if (model.SaveState() != factory) std::abort();  // a refused state changed the model
    return 0;
  }
  const auto saved = model.SaveState();
  KeyboardModel again;
  if (!again.LoadState(saved) || again.SaveState() != saved) std::abort();
  return 0;
}
