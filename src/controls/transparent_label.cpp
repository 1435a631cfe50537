#include "controls/transparent_label.h"

namespace vendrel::controls {

TransparentLabel::~TransparentLabel() {
  // The label must not keep drawing with a font about to be deleted.
  if (own_font_ && label_ != nullptr && ::IsWindow(label_)) {
    ::SendMessageW(label_, WM_SETFONT, 0, FALSE);
  }
}

bool TransparentLabel::Attach(HWND dialog, int control_id, COLORREF colour) {
  label_ = ::GetDlgItem(dialog, control_id);
  colour_ = colour;
  if (label_ == nullptr) return false;
  return parent_hook_.Install(dialog, [this](UINT m, WPARAM w, LPARAM l) {
    return OnParentMessage(m, w, l);
  });
}

void TransparentLabel::SetColour(COLORREF colour) {
  colour_ = colour;
  if (label_) ::InvalidateRect(label_, nullptr, FALSE);
}

void TransparentLabel::SetFont(HFONT font) {
  if (label_ == nullptr) return;
  ::SendMessageW(label_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  own_font_.reset();  // after the label has let go of it
  RepaintBehind();
}

bool TransparentLabel::MakeFont(const std::wstring& face, int height, int weight) {
  LOGFONTW description{};
  description.lfHeight = -height;  // character height, not cell height
  description.lfWeight = weight;
  description.lfCharSet = DEFAULT_CHARSET;
  description.lfQuality = DEFAULT_QUALITY;
  face.copy(description.lfFaceName, LF_FACESIZE - 1);
  UniqueFont font(::CreateFontIndirectW(&description));
  if (!font) return false;
  SetFont(font.get());
  own_font_ = std::move(font);
  return true;
}

void TransparentLabel::SetText(const std::wstring& text) {
  if (label_ == nullptr) return;
  ::SetWindowTextW(label_, text.c_str());
  RepaintBehind();
}

void TransparentLabel::Show(bool shown) {
  if (label_) ::ShowWindow(label_, shown ? SW_SHOW : SW_HIDE);
}

void TransparentLabel::RepaintBehind() {
  if (label_ == nullptr || !::IsWindowVisible(label_)) return;
  HWND parent = ::GetParent(label_);
  RECT area{};
  ::GetWindowRect(label_, &area);
  ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&area), 2);
  // The skinned dialogs clip their children, so the label's area is only painted by the dialog
  // while the label is out of the way.
  ::ShowWindow(label_, SW_HIDE);
  ::RedrawWindow(parent, &area, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  ::ShowWindow(label_, SW_SHOW);
}

std::optional<LRESULT> TransparentLabel::OnParentMessage(UINT message, WPARAM wparam,
                                                         LPARAM lparam) {
  if (message == WM_NCDESTROY) label_ = nullptr;
  if (message != WM_CTLCOLORSTATIC || label_ == nullptr ||
      reinterpret_cast<HWND>(lparam) != label_) {
    return std::nullopt;
  }
  HDC dc = reinterpret_cast<HDC>(wparam);
  // The skinned dialogs clip their children, so nothing lies under the label's text unless the
  // dialog paints its background into the label first.
  HWND parent = ::GetParent(label_);
  POINT origin{0, 0};
  ::MapWindowPoints(label_, parent, &origin, 1);
  POINT previous{};
  ::SetViewportOrgEx(dc, -origin.x, -origin.y, &previous);
  ::SendMessageW(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  ::SetViewportOrgEx(dc, previous.x, previous.y, nullptr);
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, colour_);
  return reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH));
}

}  // namespace vendrel::controls
