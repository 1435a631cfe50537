#pragma once
// CAboutDlg: the about box, one modeless window for the whole process, owned by no other window.
// Each request shows it; OK and its close box only hide it.
#include <windows.h>

#include <functional>
#include <string>

namespace vendrel::app {

class CAboutDlg {
 public:
  // texts(key) reads a language text at the moment the box opens.
  using TextSource = std::function<std::wstring(const char* key)>;

  CAboutDlg(TextSource texts, std::wstring link) : texts_(std::move(texts)), link_(std::move(link)) {}
  CAboutDlg(const CAboutDlg&) = delete;
  CAboutDlg& operator=(const CAboutDlg&) = delete;
  ~CAboutDlg();

  void Show();
  // Asked before the program closes: the box hides itself and agrees.
  bool CanClose();
  void SetLink(std::wstring link) { link_ = std::move(link); }
  HWND Hwnd() const { return hwnd_; }

 private:
  static INT_PTR CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
  void Fill();

  TextSource texts_;
  std::wstring link_;
  HWND hwnd_ = nullptr;
};

}  // namespace vendrel::app
