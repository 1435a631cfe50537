#pragma once
// CBaseDialog: the skinned dialog every window of the program derives from. A window procedure
// dispatches to virtual members; the window takes its size and background from the skin's
// `SCREEN`/`Main` picture and its shape from `SCREEN`/`Mask` (white cut away); a press on the
// window's own surface drags it.
#include <windows.h>

#include <string>

#include "controls/handles.h"
#include "skin/ini_file.h"

namespace vendrel::skin {

class CBaseDialog {
 public:
  CBaseDialog(int resource_id, HWND parent, platform::IniProfile& ini,
              const std::u16string& skin_file, const std::u16string& skin_folder);
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
  CIniFile& Ini() { return ini_; }
  const std::u16string& SkinFolder() const { return skin_folder_; }

 protected:
  // Loads background and mask, sizes the window to the background and applies the shape. False
  // when a picture cannot be loaded.
  bool InitialiseSkin();
  void ReleaseBitmaps();
  HBITMAP Background() const { return background_.get(); }  // owned by this object

  virtual BOOL OnInitDialog();
  virtual void OnOK();
  virtual void OnCancel();
  virtual bool PreTranslateMessage(MSG& msg);
  // Gets every message first; set handled to stop the default treatment.
  virtual INT_PTR HandleMessage(UINT message, WPARAM wparam, LPARAM lparam, bool& handled);

 private:
  static INT_PTR CALLBACK DialogProc(HWND, UINT, WPARAM, LPARAM);
  INT_PTR Dispatch(UINT message, WPARAM wparam, LPARAM lparam);

  int resource_id_;
  HWND parent_;
  CIniFile ini_;
  std::u16string skin_folder_;
  HWND hwnd_ = nullptr;
  controls::UniqueBitmap background_;
  controls::UniqueBitmap mask_;
  bool modal_running_ = false;
  INT_PTR modal_result_ = 0;
};

// The shape of a mask bitmap: its non-white pixels. Null when the mask is all white.
controls::UniqueRegion RegionFromMask(HBITMAP mask);

}  // namespace vendrel::skin
