#pragma once
// CBaseDialog: the dialog every window of the program derives from. A window procedure
// dispatches to typed virtual handlers, so no window unpacks WPARAM/LPARAM itself. A skinned
// window takes its size and background from the skin's `SCREEN`/`Main` picture and its shape from
// `SCREEN`/`Mask` (white cut away), and a press on its own surface drags it; a plain window (the
// about box) keeps its template's frame and the system's painting.
#include <windows.h>

#include <optional>
#include <string>

#include "controls/handles.h"
#include "skin/ini_file.h"

namespace vendrel::skin {

class CBaseDialog {
 public:
  // A skinned window.
  CBaseDialog(int resource_id, HWND parent, platform::IniProfile& ini,
              const std::u16string& skin_file, const std::u16string& skin_folder);
  // A plain window.
  CBaseDialog(int resource_id, HWND parent);
  CBaseDialog(const CBaseDialog&) = delete;
  CBaseDialog& operator=(const CBaseDialog&) = delete;
  virtual ~CBaseDialog();

  // Creates the window from its template without showing it; the window is owned by this object.
  HWND Create();
  // Creates the window, shows it as a dialog manager does and runs a message loop that offers
  // every message to PreTranslateMessage first, until EndModal.
  INT_PTR DoModal();
  void EndModal(INT_PTR result);

  HWND Hwnd() const { return hwnd_; }
  CIniFile& Ini() { return *ini_; }  // skinned windows only
  const std::u16string& SkinFolder() const { return skin_folder_; }

 protected:
  // Loads background and mask, sizes the window to the background and applies the shape. False
  // when a picture cannot be loaded.
  bool InitialiseSkin();
  void ReleaseBitmaps();
  // The background is held only while the window is on the screen: a skinned window drops it when
  // it hides (after its own handler saw the hide) and decodes it again when it shows (before its
  // own handler sees the show), so a window waiting in the tray holds no picture. Null meanwhile.
  HBITMAP Background() const { return background_.get(); }  // owned by this object
  // The skin's `SCREEN`/`Main` file name, read by InitialiseSkin.
  const std::u16string& BackgroundFile() const { return background_file_; }

  // Skinned windows: loads the skin and ends the process when its pictures cannot be loaded.
  virtual BOOL OnInitDialog();
  virtual void OnOK();
  virtual void OnCancel();
  virtual bool PreTranslateMessage(MSG& msg);

  // Typed handlers; each returns true when it handled the message, which skips the default
  // treatment. By default OK (a click) and Cancel go to OnOK/OnCancel and closing to OnCancel.
  virtual bool OnCommand(int id, int code, HWND control);
  virtual bool OnTimer(UINT_PTR id);
  virtual bool OnNotify(int id, NMHDR& header, LRESULT& result);
  virtual bool OnSysCommand(UINT command);  // the command without its four low bits
  virtual bool OnClose();
  // Messages without a typed handler (private and registered ones, painting); set handled to stop
  // the default treatment.
  virtual INT_PTR HandleMessage(UINT message, WPARAM wparam, LPARAM lparam, bool& handled);

 private:
  static INT_PTR CALLBACK DialogProc(HWND, UINT, WPARAM, LPARAM);
  void PaintBackground(HDC dc);  // the skin's background at the client origin
  void ReloadBackground();
  INT_PTR Dispatch(UINT message, WPARAM wparam, LPARAM lparam);

  int resource_id_;
  HWND parent_;
  std::optional<CIniFile> ini_;  // set for skinned windows
  std::u16string skin_folder_;
  HWND hwnd_ = nullptr;
  controls::UniqueBitmap background_;
  std::u16string background_file_;
  bool modal_running_ = false;
  INT_PTR modal_result_ = 0;
};

// The shape of a mask bitmap: its non-white pixels. Null when the mask is all white.
controls::UniqueRegion RegionFromMask(HBITMAP mask);

}  // namespace vendrel::skin
