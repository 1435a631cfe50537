#pragma once
// The profile dialog, apart from Win32: its list of settings files with one checked row, Add,
// Load, Delete, Apply with the list kept in the registry profile, OK and Cancel, and what a scene
// switch made elsewhere shows in it.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_dialog.h"
#include "platform/ini_profile.h"
#include "texts/text_source.h"

namespace vendrel::app {

// One row: the file's name without folder and extension, and its folder with the trailing
// separator (empty when the path has none).
struct ProfileRow {
  std::u16string name;
  std::u16string folder;
  friend bool operator==(const ProfileRow&, const ProfileRow&) = default;
};

ProfileRow ProfileRowOfPath(std::u16string_view path);
// What the registry profile keeps for a row: folder + name + ".fwc".
std::u16string StoredPathOfRow(const ProfileRow& row);

// Where the list is kept: section PROFILES, PROFILE00 the row count, PROFILE01.. the rows.
inline constexpr char16_t kProfileListSection[] = u"PROFILES";
std::u16string ProfileListKey(int index);  // "PROFILE" and index as two digits at least

// The keyboard holds three profiles: rows past these name no profile it could switch to.
inline constexpr int kKeyboardProfileRows = 3;

class ProfileDialogView {
 public:
  virtual ~ProfileDialogView() = default;
  virtual void ClearRows() = 0;
  // Appends a row, unchecked; offer_check false shows it without a check box.
  virtual void AppendRow(const ProfileRow& row, bool offer_check) = 0;
  virtual void RemoveRow(int row) = 0;
  // Sets the mark without reporting it back as the user's change.
  virtual void SetChecked(int row, bool checked) = 0;
  virtual int SelectedRow() const = 0;  // the first selected row; -1 when none
  virtual void SelectRow(int row) = 0;  // -1 clears the selection
  virtual void EnableApply(bool enabled) = 0;
  virtual void ShowMessage(std::u16string_view text) = 0;
  virtual void EndDialog() = 0;
};

// What the dialog asks of the main window and the keyboard.
class ProfileDialogHost {
 public:
  virtual ~ProfileDialogHost() = default;
  virtual int ActiveProfile() = 0;  // 0..2, or -1 when it has not been read
  virtual std::u16string CacheFilePath() = 0;
  // The per-user folder (created when missing), without a trailing separator; empty when there
  // is none.
  virtual std::u16string UserFolder() = 0;
  virtual bool CreateDefaultSettingsFile(const std::u16string& path) = 0;
  virtual void SetActiveProfile(int profile) = 0;  // 0..2 only
  // Keyboard -> cache file -> store, the keys redrawn and the profile buttons marked.
  virtual void RefreshCache() = 0;
  virtual void RebuildProfileMenu() = 0;
  virtual void DisableMainApply() = 0;
};

class ProfileDialogLogic {
 public:
  ProfileDialogLogic(ProfileDialogView& view, ProfileDialogHost& host,
                     platform::FileDialogs& dialogs, platform::IniProfile& registry,
                     const texts::TextSource& texts);

  void Open();
  void OnAdd();
  void OnLoad();
  void OnDelete();
  // The user changed a row's check box.
  void OnRowCheck(int row, bool checked);
  void Apply();
  void Ok();
  void Cancel();  // also the close box and a keyboard that went away
  // A scene switch made elsewhere: the open dialog checks that row, with nothing left to apply.
  void OnSceneSwitched(int profile);

  bool IsOpen() const { return open_; }
  bool HasUnappliedChanges() const { return open_ && dirty_; }
  const std::vector<ProfileRow>& Rows() const { return rows_; }
  int CheckedRow() const { return checked_; }

 private:
  void AppendRow(const ProfileRow& row);
  void Check(int row);
  void SetDirty(bool dirty);
  void WriteList();
  std::u16string ProposedInUserFolder(std::u16string_view name);

  ProfileDialogView& view_;
  ProfileDialogHost& host_;
  platform::FileDialogs& dialogs_;
  platform::IniProfile& registry_;
  const texts::TextSource& texts_;

  std::vector<ProfileRow> rows_;
  int checked_ = -1;
  bool open_ = false;
  bool dirty_ = false;
};

}  // namespace vendrel::app
