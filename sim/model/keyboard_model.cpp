#include "sim/model/keyboard_model.h"

#include <algorithm>

#include "sim/model/factory_key_map.h"
#include "sim/model/info_block.h"
#include "sim/model/wire_constants.h"
#include "sim/model/wire_frame.h"

namespace vendrel::sim {
namespace {

// The model's packets are frames of its own layout, its maps of its own factory map's size, and
// the mode list ends the information block.
static_assert(std::tuple_size_v<Packet> == wire::kPacketSize);
static_assert(kFactoryKeyMapSize == kKeyMapSize);
static_assert(kInfoOffModeList + kModeListSize == kInfoSize);

constexpr std::uint8_t kWrongCodeFlip = 0x80;

constexpr std::uint8_t kFactoryModes[] = {1,  2,  3,  4,  5,  6,  7,  8,  9, 10,
                                          11, 12, 13, 14, 15, 16, 17, 18, 20};

// Lighting block fields and the factory block.
constexpr std::size_t kLightOffMode = 0;
constexpr std::uint8_t kFactoryLighting[] = {
    18,    // mode
    5,     // brightness
    3,     // speed
    0x00,  // direction
    0xFF,  // multicolour
    0xFF, 0x00, 0x00,  // colour
    8,     // colour choice
};

// A request's area and direction.
struct CommandShape {
  std::uint8_t code;
  Area area;
  bool write;
};
constexpr CommandShape kShapes[] = {
    {wire::kCmdReadInformation, Area::Info, false},
    {wire::kCmdWriteInformation, Area::Info, true},
    {wire::kCmdReadLighting, Area::Lighting, false},
    {wire::kCmdWriteLighting, Area::Lighting, true},
    {wire::kCmdReadKeyMap, Area::KeyMap, false},
    {wire::kCmdWriteKeyMap, Area::KeyMap, true},
    {wire::kCmdReadMacro, Area::Macro, false},
    {wire::kCmdWriteMacro, Area::Macro, true},
    {wire::kCmdReadDefaultKeyMap, Area::DefaultMap, false},
    {wire::kCmdWriteColours, Area::Colours, true},
};

const CommandShape* FindShape(std::uint8_t code) {
  for (const CommandShape& s : kShapes) {
    if (s.code == code) return &s;
  }
  return nullptr;
}

bool InRange(std::size_t size, std::size_t offset, std::size_t length) {
  return offset <= size && length <= size - offset;
}

// The reply frame of a request: report number, echoed command, length and address.
Packet ReplyFrame(const Packet& request, std::uint8_t code) {
  Packet reply{};
  reply[wire::kOffReport] = wire::kReportNumber;
  reply[wire::kOffCommand] = code;
  reply[wire::kOffLength] = request[wire::kOffLength];
  reply[wire::kOffAddress] = request[wire::kOffAddress];
  reply[wire::kOffAddress + 1] = request[wire::kOffAddress + 1];
  return reply;
}

// State file: magic, version, flags, bank report, then every area as a 32-bit size and its bytes.
constexpr std::uint8_t kStateMagic[] = {'V', 'K', 'B', 'S'};
constexpr std::uint16_t kStateVersion = 1;
constexpr std::uint8_t kStateFlagBoot = 0x01;
constexpr std::size_t kBankReportSize = 2;

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

class Reader {
 public:
  explicit Reader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  bool Take(std::span<std::uint8_t> out) {
    if (bytes_.size() - pos_ < out.size()) return false;
    std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(pos_), out.size(), out.begin());
    pos_ += out.size();
    return true;
  }
  bool U8(std::uint8_t& v) { return Take(std::span<std::uint8_t>(&v, 1)); }
  bool U16(std::uint16_t& v) {
    std::uint8_t b[2];
    if (!Take(b)) return false;
    v = static_cast<std::uint16_t>(b[0] | (b[1] << 8));
    return true;
  }
  bool U32(std::uint32_t& v) {
    std::uint8_t b[4];
    if (!Take(b)) return false;
    v = static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
        (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
    return true;
  }
  bool Done() const { return pos_ == bytes_.size(); }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t pos_ = 0;
};

}  // namespace

std::optional<Area> AreaFromName(std::string_view name) {
  if (name == "info") return Area::Info;
  if (name == "defaultmap") return Area::DefaultMap;
  if (name == "keymap") return Area::KeyMap;
  if (name == "macro") return Area::Macro;
  if (name == "lighting") return Area::Lighting;
  if (name == "colours") return Area::Colours;
  return std::nullopt;
}

std::vector<std::uint8_t> ConsumerEventReport(std::uint16_t code) {
  return {static_cast<std::uint8_t>(code & 0xFF), static_cast<std::uint8_t>(code >> 8)};
}

KeyboardModel::KeyboardModel() { Reset(); }

void KeyboardModel::Reset() {
  info_.fill(0);
  info_[kInfoOffActiveProfile] = 0;
  info_[kInfoOffMacroUnits] = kFactoryMacroUnits;
  std::copy(std::begin(kFactoryModes), std::end(kFactoryModes),
            info_.begin() + kInfoOffModeList);
  static_assert(std::size(kFactoryModes) <= kModeListSize);

  std::copy(kFactoryKeyMap.begin(), kFactoryKeyMap.end(), default_map_.begin());
  for (int p = 0; p < kProfiles; ++p) {
    std::copy(kFactoryKeyMap.begin(), kFactoryKeyMap.end(),
              key_maps_.begin() + static_cast<std::ptrdiff_t>(p * kKeyMapSize));
  }
  macro_.fill(kErasedByte);
  lighting_.fill(0);
  for (int p = 0; p < kProfiles; ++p) {
    std::copy(std::begin(kFactoryLighting), std::end(kFactoryLighting),
              lighting_.begin() + static_cast<std::ptrdiff_t>(p * kLightingBlockSize));
  }
  colours_.fill(0);
  bank_report_.clear();
  boot_mode_ = false;
  in_transfer_ = false;
  macro_playing_ = false;
  ClearFaults();
  Touch();
}

std::span<const std::uint8_t> KeyboardModel::AreaBytes(Area area) const {
  switch (area) {
    case Area::Info: return info_;
    case Area::DefaultMap: return default_map_;
    case Area::KeyMap: return key_maps_;
    case Area::Macro:
      return std::span<const std::uint8_t>(macro_).first(info_[kInfoOffMacroUnits] * kMacroUnit);
    case Area::Lighting: return lighting_;
    case Area::Colours: return colours_;
  }
  return {};
}

std::span<std::uint8_t> KeyboardModel::Mutable(Area area) {
  const std::span<const std::uint8_t> view = AreaBytes(area);
  return {const_cast<std::uint8_t*>(view.data()), view.size()};
}

bool KeyboardModel::HoldsValidInfo(std::span<const std::uint8_t, kInfoSize> info) {
  return info[kInfoOffActiveProfile] < kProfiles;
}

bool KeyboardModel::WriteArea(Area area, std::size_t offset, std::span<const std::uint8_t> bytes) {
  const std::span<std::uint8_t> target = Mutable(area);
  if (!InRange(target.size(), offset, bytes.size())) return false;
  if (area == Area::Info) {
    // Refused here rather than saved and then refused by the next start.
    auto next = info_;
    std::copy(bytes.begin(), bytes.end(), next.begin() + static_cast<std::ptrdiff_t>(offset));
    if (!HoldsValidInfo(next)) return false;
  }
  std::copy(bytes.begin(), bytes.end(), target.begin() + static_cast<std::ptrdiff_t>(offset));
  Touch();
  return true;
}

std::optional<Packet> KeyboardModel::HandleControlPacket(std::span<const std::uint8_t> packet) {
  if (boot_mode_) return std::nullopt;
  Packet request{};
  std::copy_n(packet.begin(), std::min(packet.size(), request.size()), request.begin());
  if (request[wire::kOffReport] != wire::kReportNumber) return std::nullopt;
  if (request[wire::kOffCommand] == wire::kCmdUpdateMode &&
      request[wire::kOffLength] == wire::kCmdUpdateMode) {
    boot_mode_ = true;
    in_transfer_ = false;
    Touch();
    return std::nullopt;
  }

  Fault fault = Fault::None;
  if (fault_count_ > 0) {
    fault = fault_;
    if (--fault_count_ == 0) fault_ = Fault::None;
  }
  // A faulted request never takes effect.
  const std::uint8_t code = request[wire::kOffCommand];
  Packet reply = ReplyFrame(request, code);
  switch (fault) {
    case Fault::Drop: return std::nullopt;
    case Fault::WrongCode:
      reply[wire::kOffCommand] = static_cast<std::uint8_t>(code ^ kWrongCodeFlip);
      wire::SealFrame(reply);
      return reply;
    case Fault::StatusFF:
    case Fault::StatusFE:
      reply[wire::kOffStatus] =
          fault == Fault::StatusFF ? wire::kStatusRefused : wire::kStatusBadFrame;
      wire::SealFrame(reply);
      return reply;
    case Fault::None: break;
  }
  return Answer(request);
}

std::optional<Packet> KeyboardModel::Answer(const Packet& request) {
  const std::uint8_t code = request[wire::kOffCommand];
  const std::size_t length = request[wire::kOffLength];
  const std::size_t address = wire::FrameAddress(request);
  Packet reply = ReplyFrame(request, code);
  auto finish = [&](std::uint8_t status) {
    reply[wire::kOffStatus] = status;
    wire::SealFrame(reply);
    return std::optional<Packet>(reply);
  };

  if (!wire::ChecksumHolds(request)) return finish(wire::kStatusBadFrame);
  if (code == wire::kCmdBeginTransfer) {
    in_transfer_ = true;
    return finish(wire::kStatusOk);
  }
  if (code == wire::kCmdEndTransfer) {
    in_transfer_ = false;
    return finish(wire::kStatusOk);
  }
  const CommandShape* shape = FindShape(code);
  if (shape == nullptr || length > wire::kPayloadSize) return finish(wire::kStatusRefused);

  const std::span<std::uint8_t> area = Mutable(shape->area);
  if (!InRange(area.size(), address, length)) return finish(wire::kStatusRefused);

  if (!shape->write) {
    // A lighting read answers a full payload from the address, whatever the length asked.
    const std::size_t n = code == wire::kCmdReadLighting
                              ? std::min(wire::kPayloadSize, area.size() - address)
                              : length;
    std::copy_n(area.begin() + static_cast<std::ptrdiff_t>(address), n,
                reply.begin() + wire::kOffPayload);
    return finish(wire::kStatusOk);
  }

  const auto payload = std::span<const std::uint8_t>(request).subspan(wire::kOffPayload, length);
  if (shape->area == Area::Info) {
    // Only the active profile is the host's to change; the rest of the block is the firmware's.
    if (address <= kInfoOffActiveProfile && kInfoOffActiveProfile < address + length) {
      auto next = info_;
      next[kInfoOffActiveProfile] = payload[kInfoOffActiveProfile - address];
      if (!HoldsValidInfo(next)) return finish(wire::kStatusRefused);
      info_ = next;
    }
  } else {
    std::copy(payload.begin(), payload.end(), area.begin() + static_cast<std::ptrdiff_t>(address));
  }
  Touch();
  return finish(wire::kStatusOk);
}

void KeyboardModel::HandleBankReport(std::span<const std::uint8_t> report) {
  bank_report_.assign(report.begin(), report.end());
}

std::vector<std::uint8_t> KeyboardModel::LastBankReport() const { return bank_report_; }

bool KeyboardModel::InBootMode() const { return boot_mode_; }
bool KeyboardModel::InTransfer() const { return in_transfer_; }

void KeyboardModel::LeaveBootMode() {
  if (!boot_mode_) return;
  boot_mode_ = false;
  Touch();
}

void KeyboardModel::InjectFault(Fault fault, int count) {
  if (fault == Fault::None || count <= 0) {
    ClearFaults();
    return;
  }
  fault_ = fault;
  fault_count_ = count;
}

void KeyboardModel::ClearFaults() {
  fault_ = Fault::None;
  fault_count_ = 0;
}

std::uint64_t KeyboardModel::Generation() const { return generation_; }

ConsumerEvent KeyboardModel::PressBankKey() { return {kEventBankKey}; }

ConsumerEvent KeyboardModel::ChangeLightingOnKeyboard() {
  const std::size_t block = info_[kInfoOffActiveProfile] % kProfiles * kLightingBlockSize;
  const std::uint8_t current = lighting_[block + kLightOffMode];
  const auto modes = std::span<const std::uint8_t>(info_).subspan(kInfoOffModeList, kModeListSize);
  // The next listed mode after the current one, wrapping round; the first when it is not listed.
  std::uint8_t next = 0;
  std::uint8_t first = 0;
  bool seen = false;
  for (std::uint8_t m : modes) {
    if (m == 0) continue;
    if (first == 0) first = m;
    if (seen && next == 0) next = m;
    if (m == current) seen = true;
  }
  if (next == 0) next = first;
  if (next != 0) {
    lighting_[block + kLightOffMode] = next;
    Touch();
  }
  return {kEventLightingChanged};
}

ConsumerEvent KeyboardModel::StartMacro() {
  macro_playing_ = true;
  return {kEventMacroStarted};
}

ConsumerEvent KeyboardModel::EndMacro() {
  macro_playing_ = false;
  return {kEventMacroEnded};
}

bool KeyboardModel::MacroPlaying() const { return macro_playing_; }

std::chrono::milliseconds KeyboardModel::ReplyLatency() const { return latency_; }
void KeyboardModel::SetReplyLatency(std::chrono::milliseconds latency) {
  latency_ = std::max(latency, std::chrono::milliseconds{0});
}

std::vector<std::uint8_t> KeyboardModel::SaveState() const {
  std::vector<std::uint8_t> out(std::begin(kStateMagic), std::end(kStateMagic));
  out.push_back(static_cast<std::uint8_t>(kStateVersion & 0xFF));
  out.push_back(static_cast<std::uint8_t>(kStateVersion >> 8));
  out.push_back(boot_mode_ ? kStateFlagBoot : 0);
  const bool has_bank = bank_report_.size() == kBankReportSize;
  out.push_back(has_bank ? 1 : 0);
  for (std::size_t i = 0; i < kBankReportSize; ++i) out.push_back(has_bank ? bank_report_[i] : 0);
  const std::span<const std::uint8_t> areas[] = {info_, default_map_, key_maps_,
                                                 macro_, lighting_,   colours_};
  for (std::span<const std::uint8_t> a : areas) {
    PutU32(out, static_cast<std::uint32_t>(a.size()));
    out.insert(out.end(), a.begin(), a.end());
  }
  return out;
}

bool KeyboardModel::LoadState(std::span<const std::uint8_t> bytes) {
  Reader in(bytes);
  std::uint8_t magic[std::size(kStateMagic)];
  std::uint16_t version = 0;
  std::uint8_t flags = 0;
  std::uint8_t has_bank = 0;
  std::uint8_t bank[kBankReportSize];
  if (!in.Take(magic) || !std::equal(std::begin(magic), std::end(magic), std::begin(kStateMagic)))
    return false;
  if (!in.U16(version) || version != kStateVersion) return false;
  if (!in.U8(flags) || (flags & ~kStateFlagBoot) != 0) return false;
  if (!in.U8(has_bank) || has_bank > 1 || !in.Take(bank)) return false;

  // Parse into a copy first, so a state that fails halfway changes nothing.
  KeyboardModel next(*this);
  const std::span<std::uint8_t> areas[] = {next.info_, next.default_map_, next.key_maps_,
                                           next.macro_, next.lighting_,   next.colours_};
  for (std::span<std::uint8_t> a : areas) {
    std::uint32_t size = 0;
    if (!in.U32(size) || size != a.size() || !in.Take(a)) return false;
  }
  if (!in.Done()) return false;
  if (!HoldsValidInfo(next.info_)) return false;

  info_ = next.info_;
  default_map_ = next.default_map_;
  key_maps_ = next.key_maps_;
  macro_ = next.macro_;
  lighting_ = next.lighting_;
  colours_ = next.colours_;
  boot_mode_ = (flags & kStateFlagBoot) != 0;
  in_transfer_ = false;
  if (has_bank != 0) {
    bank_report_.assign(std::begin(bank), std::end(bank));
  } else {
    bank_report_.clear();
  }
  Touch();
  return true;
}

}  // namespace vendrel::sim
