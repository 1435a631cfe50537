#include "lighting/colour_file.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstddef>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace vendrel::lighting {
namespace {

constexpr char16_t kPresentSection[] = u"PRESENTMODE";
constexpr char16_t kModeKey[] = u"mode";
constexpr char16_t kNameSection[] = u"MODENAME";
constexpr char16_t kToolKey[] = u"tool";
constexpr char16_t kBaseKey[] = u"jcolor";
constexpr char16_t kPaintKey[] = u"color";
constexpr char16_t kZero[] = u"0";
constexpr char16_t kBlackText[] = u"0,0,0";
constexpr char16_t kKeyDefault[] = u"255,0,0,1";
constexpr char16_t kExtension[] = u".userd";

std::u16string Decimal(long long value) {
  const std::string digits = std::to_string(value);
  return {digits.begin(), digits.end()};
}

std::u16string SlotSection(int slot) { return u"Mode" + Decimal(slot); }

bool IsSpace(char16_t c) { return c == u' ' || c == u'\t'; }

// Up to N integers separated by commas, read from the start of text. Numbers too large for an
// int are held at its limits. Returns how many were read; the rest of out is left as it was.
template <std::size_t N>
std::size_t ReadNumbers(const std::u16string& text, std::array<long long, N>& out) {
  std::size_t at = 0;
  std::size_t count = 0;
  while (count < N) {
    if (count > 0) {
      while (at < text.size() && IsSpace(text[at])) ++at;
      if (at >= text.size() || text[at] != u',') break;
      ++at;
    }
    while (at < text.size() && IsSpace(text[at])) ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == u'-' || text[at] == u'+')) {
      negative = text[at] == u'-';
      ++at;
    }
    if (at >= text.size() || text[at] < u'0' || text[at] > u'9') break;
    long long value = 0;
    for (; at < text.size() && text[at] >= u'0' && text[at] <= u'9'; ++at) {
      value = std::min<long long>(value * 10 + (text[at] - u'0'), INT_MAX + 1LL);
    }
    value = negative ? -value : value;
    out[count++] = std::clamp<long long>(value, INT_MIN, INT_MAX);
  }
  return count;
}

std::uint8_t Component(long long value) {
  return static_cast<std::uint8_t>(std::clamp<long long>(value, 0, 255));
}

Colour ColourOf(const std::array<long long, 4>& n) {
  return MakeColour(Component(n[0]), Component(n[1]), Component(n[2]));
}

// A single number as text holds it, or fallback when it starts with none.
long long ReadNumber(const std::u16string& text, long long fallback) {
  std::array<long long, 1> n{fallback};
  ReadNumbers(text, n);
  return n[0];
}

}  // namespace

std::u16string FormatRgb(Colour colour) {
  return Decimal(RedOf(colour)) + u"," + Decimal(GreenOf(colour)) + u"," + Decimal(BlueOf(colour));
}

Colour ParseRgb(const std::u16string& text) {
  std::array<long long, 4> n{};
  ReadNumbers(text, n);
  return ColourOf(n);
}

std::u16string FormatKeyColour(const KeyColour& key) {
  return FormatRgb(key.colour) + (key.follows_base ? u",1" : u",0");
}

KeyColour ParseKeyColour(const std::u16string& text) {
  std::array<long long, 4> n{};
  if (ReadNumbers(text, n) == 0) return KeyColour{};
  return KeyColour{ColourOf(n), n[3] != 0};
}

ColourFile::ColourFile(platform::IniProfile& ini, platform::FileSystem& files, std::u16string prefix)
    : ini_(ini), files_(files), prefix_(std::move(prefix)) {}

std::u16string ColourFile::Path(int profile) const { return prefix_ + Decimal(profile) + kExtension; }

int ColourFile::ReadActiveSlot(int profile) const {
  const std::u16string text = platform::ReadProfileString(ini_, kPresentSection, kModeKey, kZero,
                                                          kMaxValueChars + 1, Path(profile));
  return static_cast<int>(std::max<long long>(ReadNumber(text, 0), 0));
}

void ColourFile::WriteActiveSlot(int profile, int slot) {
  ini_.WriteString(kPresentSection, kModeKey, Decimal(slot).c_str(), Path(profile).c_str());
}

std::u16string ColourFile::ReadSlotName(int profile, int slot) const {
  return platform::ReadProfileString(ini_, kNameSection, Decimal(slot), kZero, kMaxValueChars + 1,
                                     Path(profile));
}

void ColourFile::WriteSlotName(int profile, int slot, const std::u16string& name) {
  std::u16string value = name.substr(0, name.find_first_of(u"\r\n"));
  if (value.size() > kMaxValueChars) value.resize(kMaxValueChars);
  ini_.WriteString(kNameSection, Decimal(slot).c_str(), value.c_str(), Path(profile).c_str());
}

SlotSettings ColourFile::ReadSlotSettings(int profile, int slot) const {
  const std::u16string file = Path(profile);
  const std::u16string section = SlotSection(slot);
  const auto read = [&](const char16_t* key, const char16_t* fallback) {
    return platform::ReadProfileString(ini_, section, key, fallback, kMaxValueChars + 1, file);
  };
  SlotSettings settings;
  settings.tool = ReadNumber(read(kToolKey, kZero), 0) == 1 ? 1 : 0;
  settings.base = ParseRgb(read(kBaseKey, kBlackText));
  settings.paint = ParseRgb(read(kPaintKey, kBlackText));
  return settings;
}

void ColourFile::WriteSlotSettings(int profile, int slot, const SlotSettings& settings) {
  const std::u16string file = Path(profile);
  const std::u16string section = SlotSection(slot);
  ini_.WriteString(section.c_str(), kToolKey, Decimal(settings.tool).c_str(), file.c_str());
  ini_.WriteString(section.c_str(), kBaseKey, FormatRgb(settings.base).c_str(), file.c_str());
  ini_.WriteString(section.c_str(), kPaintKey, FormatRgb(settings.paint).c_str(), file.c_str());
}

KeyColour ColourFile::ReadKeyColour(int profile, int slot, int led) const {
  return ParseKeyColour(platform::ReadProfileString(ini_, SlotSection(slot), Decimal(led),
                                                    kKeyDefault, kMaxValueChars + 1, Path(profile)));
}

void ColourFile::WriteKeyColour(int profile, int slot, int led, const KeyColour& key) {
  ini_.WriteString(SlotSection(slot).c_str(), Decimal(led).c_str(), FormatKeyColour(key).c_str(),
                   Path(profile).c_str());
}

void ColourFile::ResetFromTemplate(int profile) {
  if (profile == kTemplateProfile) return;  // the template itself is only ever read
  std::vector<std::uint8_t> bytes;
  if (files_.ReadWholeFile(Path(kTemplateProfile), kMaxTemplateSize, bytes) != platform::kReadOk) {
    bytes.clear();
  }
  files_.WriteFileReplacing(Path(profile), bytes);
}

}  // namespace vendrel::lighting
