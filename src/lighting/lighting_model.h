#pragma once
// The lighting of the keyboard's profiles: reading the information block and the lighting area,
// the mode combo's entries, and the setters, each of which stores its value and writes only its
// field of the current profile's block inside its own transfer bracket. Write results are
// ignored: the keyboard keeps what it got and the program keeps its own state.
#include <functional>

#include "device/command_set.h"
#include "lighting/colour.h"
#include "lighting/light_switch_setting.h"
#include "lighting/lighting_state.h"
#include "lighting/mode_list.h"

namespace vendrel::lighting {

class LightingModel {
 public:
  // Every reference must outlive this object.
  LightingModel(device::CommandSet& commands, LightSwitchSetting& light_switch,
                ModeNameLookup names);

  const LightingState& State() const { return state_; }
  void SetCurrentProfile(int profile);  // 0..2; other values are ignored

  // Reads the information block (supported modes) and the three blocks, decodes the current
  // profile's and reads the light switch. after_begin, when given, runs right after the reads'
  // BeginTransfer (the connection-time refresh sends the per-key colours there). Empties the
  // mode entries first. 0 on success, -1 when the information block cannot be read (then nothing
  // else changes).
  int Load(const std::function<void()>& after_begin = {});

  // Rebuilds the mode entries from the supported modes and the names.
  void BuildModeList();
  int ComboIndexOfMode(int mode) const;        // -1 when no entry holds it
  int ModeOfComboIndex(int combo_index) const; // 0 when there is no such entry
  bool IsModeSupported(int mode) const;
  bool PerKeySupported() const;  // mode 20 is supported

  // Writes field 0 (and field 4 for the modes that take it) for a mode of the table and makes it
  // the current mode. False, with nothing written, for any other combo entry.
  bool SelectMode(int combo_index);
  // Slider positions 0..5 (clamped). Brightness is the position, speed 5 - position. False, with
  // nothing written, when the value is the stored one.
  bool SetBrightness(int position);
  bool SetSpeed(int position);
  static int SpeedPosition(int speed) { return 5 - speed; }
  void SetDirection(bool first);
  // Multicolour off, then the colour: field 4 = 0, then fields 5..7.
  void SetColour(Colour colour);
  void ToggleMulticolour();
  void SetColourChoice(int choice);  // 0..3, clamped
  void SetReportRate(int rate);      // 0..3, clamped

  // The light switch: state and DengCheck.
  void SetLightSwitch(bool on);
  // The state from DengCheck alone, for the panel at start before any keyboard was read.
  void ReadLightSwitch();

  // The values of the default block, as "restore defaults" leaves the state (mode untouched).
  void TakeDefaultValues();
  // The 35-byte default block at the current profile's address.
  void WriteDefaultBlock();

 private:
  void WriteField(std::size_t offset, std::uint8_t value);
  void TakeValuesButMode(const LightingValues& values);

  device::CommandSet& commands_;
  LightSwitchSetting& light_switch_;
  ModeNameLookup names_;
  LightingState state_;
};

}  // namespace vendrel::lighting
