#include "app/g_bank_look.h"

namespace vendrel::app {
namespace {

// Only the first five G keys carry a bank label.
constexpr std::size_t kLabelledGKeys = 5;

}  // namespace

std::u16string GKeyBankLabel(int g_bank, std::size_t g) {
  if (g >= kLabelledGKeys) return {};
  return {g_bank == 1 ? u'B' : u'A', static_cast<char16_t>(u'1' + g)};
}

skin::SlotSheets BankIndicatorSheets(int g_bank) {
  using skin::MainSheet;
  const MainSheet lit = g_bank == 1 ? MainSheet::Over : MainSheet::Normal;
  const MainSheet other = g_bank == 1 ? MainSheet::Normal : MainSheet::Over;
  return {lit, lit, lit, lit, other};
}

}  // namespace vendrel::app
