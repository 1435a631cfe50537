#include "macros/macro_space_fit.h"

#include <new>


namespace vendrel::macros {

FittedMacroImage FitMacroImage(std::span<const MacroRecord> macros, std::uint32_t macro_space) {
  FittedMacroImage fit;
  if (const auto unsendable = FindUnsendableAction(macros)) {
    fit.result = FitResult::UnsendableKey;
    fit.unsendable = *unsendable;
    return fit;
  }
  const MacroImageSize sizes = MacroImageSizes(macros);
  if (sizes.without_names > macro_space || sizes.without_names > kMaxImageSize) {
    fit.result = FitResult::TooLarge;
    return fit;
  }
  fit.with_names = sizes.with_names <= macro_space && sizes.with_names <= kMaxImageSize;
  const std::size_t size = fit.with_names ? sizes.with_names : sizes.without_names;
  try {
    fit.bytes.assign(size, 0);
  } catch (const std::bad_alloc&) {
    fit.result = FitResult::NoMemory;
    return fit;
  }
  fit.result = EncodeMacros(macros, fit.bytes, fit.with_names) == MacroEncodeResult::Ok
                   ? FitResult::Ok
                   : FitResult::NoMemory;
  if (fit.result != FitResult::Ok) fit.bytes.clear();
  return fit;
}

}  // namespace vendrel::macros
