#include "macros/macro_space_fit.h"

#include <new>

#include "macros/macro_image.h"

namespace vendrel::macros {
namespace {

// The fit without any message.
FittedMacroImage BuildFit(std::span<const MacroRecord> macros, std::uint32_t macro_space) {
  FittedMacroImage fit;
  const MacroImageSize sizes = MacroImageSizes(macros);
  if (sizes.without_names > macro_space || sizes.without_names > kMaxImageSize) {
    fit.result = kFitTooLarge;
    return fit;
  }
  fit.with_names = sizes.with_names <= macro_space && sizes.with_names <= kMaxImageSize;
  const std::size_t size = fit.with_names ? sizes.with_names : sizes.without_names;
  try {
    fit.bytes.assign(size, 0);
  } catch (const std::bad_alloc&) {
    fit.result = kFitNoMemory;
    return fit;
  }
  fit.result = EncodeMacros(macros, fit.bytes, fit.with_names) == 1 ? kFitOk : kFitNoMemory;
  if (fit.result != kFitOk) fit.bytes.clear();
  return fit;
}

void ShowTooLarge(const FittedMacroImage& fit, platform::MessageBoxes& boxes,
                  const texts::TextTable& texts) {
  if (fit.result == kFitTooLarge) boxes.ShowOk(texts.Text(texts::TextKey::EXTRA_MACRO_TOO_LONG));
}

}  // namespace

FittedMacroImage FitMacroImage(std::span<const MacroRecord> macros, std::uint32_t macro_space,
                               platform::MessageBoxes& boxes, const texts::TextTable& texts) {
  FittedMacroImage fit = BuildFit(macros, macro_space);
  ShowTooLarge(fit, boxes, texts);
  return fit;
}

FittedMacroImage FitMacroImage(const keys::DeviceStore& store, std::uint32_t macro_space,
                               platform::MessageBoxes& boxes, const texts::TextTable& texts) {
  FittedMacroImage fit;
  {
    auto lock = store.Lock();
    fit = BuildFit(store.macros, macro_space);
  }
  ShowTooLarge(fit, boxes, texts);
  return fit;
}

void ShowNamesDroppedMessage(platform::MessageBoxes& boxes, const texts::TextTable& texts) {
  boxes.ShowOk(texts.Text(texts::TextKey::EXTRA_PROFILE_SPACE_TIGHT));
}

}  // namespace vendrel::macros
