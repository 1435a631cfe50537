#pragma once
// CAboutDlg: the about box, one modeless window for the whole process, owned by no other window.
// Each request shows it; OK and its close box only hide it.
#include <windows.h>

#include <string>

#include "skin/ui/base_dialog.h"
#include "texts/text_source.h"

namespace vendrel::app {

class CAboutDlg final : public skin::CBaseDialog {
 public:
  // texts outlives the box; its texts are read each time the box opens.
  CAboutDlg(const texts::TextSource& texts, std::wstring link);

  void Show();
  // Asked before the program closes: the box hides itself and agrees.
  bool CanClose();
  void SetLink(std::wstring link) { link_ = std::move(link); }

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnCancel() override;
  bool OnCommand(int id, int code, HWND control) override;

 private:
  void Fill();

  const texts::TextSource& texts_;
  std::wstring link_;
};

}  // namespace vendrel::app
