#include "app/win32/main_dialog.h"

#include <commctrl.h>
#include <shellapi.h>

#include <iterator>
#include <span>
#include <utility>
#include <vector>

#include "app/main_window_commands.h"
#include "app/key_button_states.h"
#include "app/lighting_panel_controls.h"
#include "app/main_window_controls.h"
#include "app/main_window_sheets.h"
#include "app/pre_translate.h"
#include "app/shell_menus.h"
#include "app/window_messages.h"
#include "controls/pointer_tracking.h"
#include "controls/popup_menu.h"
#include "controls/wide_text.h"
#include "keys/key_table.h"
#include "keys/profile_key_table.h"
#include "platform/ini_text.h"
#include "skin/placement.h"
#include "skin/ui/placement_ops.h"
#include "texts/language_file.h"

namespace vendrel::app {
namespace {

using controls::ImageButton;
using controls::WideFrom;
using skin::MainSheet;

constexpr wchar_t kAppTitle[] = L"Corvasse Vendrel Gaming Keyboard";
constexpr std::u16string_view kDefaultLink = u"https://corvasse.example/vendrel";
constexpr COLORREF kLabelGrey = RGB(0xE4, 0xE4, 0xE4);
constexpr UINT kTooltipShowMs = 2000;
constexpr int kProfileButtons[] = {kIdProfile1, kIdProfile2, kIdProfile3};
static_assert(std::size(kProfileButtons) == keys::kDeviceProfileCount, "one button per profile");

// File names of the skin folder compare as the file system does, without regard to letter case.
bool SameFileName(std::u16string_view a, std::u16string_view b) {
  return platform::IniNamesEqual(a, b);
}

// The menu items with their language texts read now.
std::vector<controls::PopupItem> PopupItems(std::span<const MenuItemSpec> specs,
                                            const texts::TextSource& texts) {
  std::vector<controls::PopupItem> items;
  for (const MenuItemSpec& spec : specs) {
    items.push_back({spec.position, WideFrom(texts.Text(spec.text)), spec.command});
  }
  return items;
}

}  // namespace

COrvaneDlg::COrvaneDlg(const AppPaths& paths, platform::IniProfile& ini, ShellServices& services,
                       ShellFlags& flags, Win32InstancePlatform& instance)
    : CBaseDialog(kMainDialogId, nullptr, ini, paths.main_skin_file, paths.skin_folder),
      paths_(paths),
      services_(services),
      ini_(ini),
      flags_(flags),
      instance_(instance),
      logic_(*this, services, flags),
      keyboard_(*this, services) {
  flags_.settings_changed = false;
}

COrvaneDlg::~COrvaneDlg() { services_.SetSceneSwitcher(nullptr); }

// ---- initialisation -------------------------------------------------------------------------

BOOL COrvaneDlg::OnInitDialog() {
  services_.SetHost(this, Hwnd());
  taskbar_created_ = ::RegisterWindowMessageW(L"TaskbarCreated");
  about_ = std::make_unique<CAboutDlg>(services_.Texts(), link_);
  file_dialogs_.SetOwner(Hwnd());
  transfer_ = std::make_unique<SettingsTransferLogic>(
      SettingsTransferParts{services_.Settings(), services_.Working(), services_.DeviceSettings(),
                            file_dialogs_, services_.Boxes(), services_.LoadedTexts()},
      *this);
  composite_ = std::make_unique<CCompositeDlg>(Hwnd(), ini_, paths_, services_.Working(),
                                               services_.Texts(), services_.LoadedTexts(),
                                               services_.RegistryProfile(), *this);
  profile_ = std::make_unique<CProfileDlg>(Hwnd(), ini_, paths_, *this, services_.RegistryProfile(),
                                           services_.Texts());
  update_ = std::make_unique<CUpdateDlg>(Hwnd(), ini_, paths_, services_);
  if (!logic_.OnInitDialog()) return FALSE;
  if (device::CommandSet* commands = services_.Commands()) {
    scenes_ = std::make_unique<SceneSwitcher>(*this, services_.Texts(), *commands,
                                              services_.Settings(), services_.Working(),
                                              [this] { return services_.FactoryKeyMap(); });
    services_.SetSceneSwitcher(scenes_.get());
  }
  return TRUE;
}

bool COrvaneDlg::InitialiseSkin() { return skin::CBaseDialog::InitialiseSkin(); }

void COrvaneDlg::AddAboutToSystemMenu() {
  HMENU system = ::GetSystemMenu(Hwnd(), FALSE);
  if (system == nullptr) return;
  ::AppendMenuW(system, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuW(system, MF_STRING, kSysCommandAbout, L"&About...");
}

void COrvaneDlg::SetWindowIcons(int icon_id) {
  HINSTANCE module = ::GetModuleHandleW(nullptr);
  big_icon_ = static_cast<HICON>(::LoadImageW(module, MAKEINTRESOURCEW(icon_id), IMAGE_ICON,
                                              ::GetSystemMetrics(SM_CXICON),
                                              ::GetSystemMetrics(SM_CYICON), LR_SHARED));
  small_icon_ = static_cast<HICON>(::LoadImageW(module, MAKEINTRESOURCEW(icon_id), IMAGE_ICON,
                                                ::GetSystemMetrics(SM_CXSMICON),
                                                ::GetSystemMetrics(SM_CYSMICON), LR_SHARED));
  ::SendMessageW(Hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big_icon_));
  ::SendMessageW(Hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small_icon_));
}

void COrvaneDlg::PublishMainWindow() { services_.SetHost(this, Hwnd()); }

bool COrvaneDlg::LoadLayeredWindowFunction() {
  // The module stays loaded for the life of the process, like every system library.
  HMODULE user = ::LoadLibraryW(L"user32.dll");
  if (user == nullptr) return false;
  return ::GetProcAddress(user, "SetLayeredWindowAttributes") != nullptr;
}

void COrvaneDlg::LoadStateSheets() {
  RECT client{};
  ::GetClientRect(Hwnd(), &client);
  const skin::SurfaceSize size = skin::SheetSurfaceSize(client.right, client.bottom);
  const MainSheetCuts cuts = CutsOfMainSheets(Ini());
  for (std::size_t i = 0; i < sheets_.size(); ++i) {
    const std::u16string_view name = skin::kMainSheetFiles[i];
    // The background is this very picture, already decoded: draw from it rather than decode
    // the file again.
    if (Background() != nullptr && SameFileName(name, BackgroundFile())) {
      sheets_[i].Borrow(Background(), size);
      continue;
    }
    const std::u16string file = paths_.skin_folder + std::u16string(name);
    sheets_[i].LoadCutsWhenDrawn(WideFrom(file), size, cuts[i]);
  }
}

void COrvaneDlg::ReadLink() {
  link_ = WideFrom(Ini().GetString(u"SCREEN", u"Link", kDefaultLink).value_or(u""));
  if (about_) about_->SetLink(link_);
}

ImageButton& COrvaneDlg::AddButton(int id) {
  auto& slot = buttons_[id];
  if (!slot) {
    slot = std::make_unique<ImageButton>();
    slot->Attach(Hwnd(), id);
  }
  return *slot;
}

ImageButton* COrvaneDlg::Button(int id) {
  const auto it = buttons_.find(id);
  return it == buttons_.end() ? nullptr : it->second.get();
}

HFONT COrvaneDlg::Font(const wchar_t* face, int points) {
  controls::UniqueFont& font = fonts_[{face, points}];
  if (!font) {
    HDC dc = ::GetDC(Hwnd());
    const int height = -::MulDiv(points, ::GetDeviceCaps(dc, LOGPIXELSY), 72);
    ::ReleaseDC(Hwnd(), dc);
    font.reset(::CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                             DEFAULT_PITCH | FF_DONTCARE, face));
  }
  return font.get();
}

void COrvaneDlg::AddTooltip(HWND control, const std::wstring& text) {
  if (tooltip_ == nullptr) {
    tooltip_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                 Hwnd(), nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ::SendMessageW(tooltip_, TTM_SETDELAYTIME, TTDT_AUTOPOP, kTooltipShowMs);
  }
  TTTOOLINFOW info{};
  info.cbSize = sizeof(info);
  info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  info.hwnd = Hwnd();
  info.uId = reinterpret_cast<UINT_PTR>(control);
  info.lpszText = const_cast<wchar_t*>(text.c_str());
  ::SendMessageW(tooltip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
  ::SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

void COrvaneDlg::PlaceControls() {
  const auto sheet = [this](MainSheet s) { return &sheets_[static_cast<std::size_t>(s)]; };
  // Key, G and Fn buttons: normal, hover, pressed, normal again while disabled, and the "set" look.
  const skin::SlotSurfaces key_slots{sheet(MainSheet::Normal), sheet(MainSheet::Over),
                                     sheet(MainSheet::Down), sheet(MainSheet::Normal),
                                     sheet(MainSheet::Disable)};
  for (const KeyButtonPlacement& p : KeyButtonPlacements()) {
    const skin::Placement placed =
        skin::PlaceWithImages(AddButton(p.id), Ini(), skin::kSectionButtonInfo, p.skin_key, key_slots);
    key_origins_[p.id] = POINT{placed.x, placed.y};
    // D1..D6 have no place of their own in the skin; Flip alone decides whether they are usable.
    if (placed.Absent() && p.skin_key != kAbsentKeySkinKey) absent_keys_.insert(p.id);
  }
  for (const ShellControl& c : kShellControls) {
    const skin::SlotSheets letters = skin::SlotSheetsFromLetters(c.slots);
    skin::SlotSurfaces surfaces{};
    for (std::size_t i = 0; i < surfaces.size(); ++i) surfaces[i] = sheet(letters[i]);
    skin::PlaceWithImages(AddButton(c.id), Ini(), skin::kSectionButtonInfo, c.skin_key, surfaces);
  }
  // Arrows beside the flip buttons: placed with the Flip setting below.

  if (ImageButton* link = Button(kIdLink)) {
    link->SetLabel(link_, Font(L"Tahoma", 8), kLabelGrey);
    AddTooltip(link->Hwnd(), link_);
  }
  if (ImageButton* version = Button(kIdVersion)) {
    version->SetLabel(TextW(texts::TextKey::MAIN_BUTTON_KORVEL_VER), Font(L"Verdana", 8), kLabelGrey);
    ::EnableWindow(version->Hwnd(), FALSE);
  }
  if (ImageButton* profiles = Button(kIdProfiles)) {
    profiles->SetLabel(L"", Font(L"Arial", 10), kLabelGrey);
  }
  for (const int flip : {kIdFlip1, kIdFlip2}) {
    if (ImageButton* b = Button(flip)) {
      b->SetHoverHandler([this, flip](bool over) { keyboard_.OnFlipButtonHover(flip, over); });
    }
  }
  keyboard_.LoadFlip();
  // The bank labels of the G buttons and the bank indicator, for the bank the keyboard starts in.
  keyboard_.OnBankChanged();
  // Lock indicators and the bank indicator only show state: they stay enabled, because a disabled
  // button shows its disabled image before its selected one, and their clicks do nothing.
  // Buttons disabled because the skin has no place for them must keep showing their normal look.
  for (const auto& [id, button] : buttons_) button->Redraw();
}

void COrvaneDlg::LayOutLightingPanel() {
  LightingParts* parts = services_.Lighting();
  if (parts == nullptr || lighting_) return;
  const int language = texts::LanguageValue(ini_, paths_.language_file);
  lighting_ = std::make_unique<CLightingPanel>(Hwnd(), Ini(), paths_.skin_folder, language, *this,
                                               services_, *parts);
}

void COrvaneDlg::RestoreDefaultLighting() {
  if (lighting_) lighting_->Logic().RestoreDefaults();
}

void COrvaneDlg::LoadLightingOnConnect(int active_profile) {
  if (lighting_) lighting_->Logic().LoadOnConnect(active_profile);
}

void COrvaneDlg::TintKey(int control_id, std::optional<COLORREF> colour) {
  if (ImageButton* b = Button(control_id)) b->SetTint(colour);
}

void COrvaneDlg::UntintKeysAndRedraw() {
  for (const KeyButtonPlacement& p : KeyButtonPlacements()) {
    if (ImageButton* b = Button(p.id)) b->SetTint(std::nullopt);
  }
  if (ImageButton* fn = Button(keys::kFnControlId)) fn->SetTint(std::nullopt);
  keyboard_.RefreshCaptions();
}

void COrvaneDlg::PressReportButton(int rate) {
  for (std::size_t i = 0; i < kReportRateButtons.size(); ++i) {
    if (ImageButton* b = Button(kReportRateButtons[i])) b->SetSelected(static_cast<int>(i) == rate);
  }
}

void COrvaneDlg::BecomeToolWindow() {
  LONG_PTR ex = ::GetWindowLongPtrW(Hwnd(), GWL_EXSTYLE);
  ex = (ex & ~static_cast<LONG_PTR>(WS_EX_APPWINDOW)) | WS_EX_TOOLWINDOW;
  ::SetWindowLongPtrW(Hwnd(), GWL_EXSTYLE, ex);
}

void COrvaneDlg::SetMainTag() {
  ::SetWindowLongPtrW(Hwnd(), GWLP_USERDATA, static_cast<LONG_PTR>(kTagMain));
}

void COrvaneDlg::AddFrameStyles() {
  const LONG_PTR style = ::GetWindowLongPtrW(Hwnd(), GWL_STYLE);
  ::SetWindowLongPtrW(Hwnd(), GWL_STYLE, style | WS_MINIMIZEBOX | WS_SYSMENU);
}

void COrvaneDlg::SetCaption(std::u16string_view caption) {
  ::SetWindowTextW(Hwnd(), WideFrom(caption).c_str());
}

void COrvaneDlg::CreateNamedEvents() { events_.CreateAll(); }

void COrvaneDlg::SetColourKeysSwitchText(std::u16string_view text) {
  if (ImageButton* sw = Button(kIdColourSwitch)) {
    sw->SetLabel(WideFrom(text), Font(L"Arial", 10), kLabelGrey);
  }
}

void COrvaneDlg::PostInitMessage() { ::PostMessageW(Hwnd(), kMsgInit, kTagInit, 0); }

void COrvaneDlg::ApplyLabels() {
  HFONT label_font = Font(L"Tahoma", 9);
  for (const LabelledControl& c : kLabelledControls) {
    if (ImageButton* b = Button(c.id)) b->SetLabel(TextW(c.text), label_font, RGB(255, 255, 255));
  }
  for (const TooltipControl& c : kTooltipControls) {
    if (ImageButton* b = Button(c.id)) AddTooltip(b->Hwnd(), TextW(c.text));
  }
}

std::wstring COrvaneDlg::TextW(texts::TextKey key) { return WideFrom(services_.Texts().Text(key)); }

std::wstring COrvaneDlg::TextW(texts::LiveTextKey key) {
  return WideFrom(services_.Texts().Text(key));
}

// ---- tray, visibility, messages ---------------------------------------------------------------

void COrvaneDlg::AddTrayIcon(int icon_id, std::u16string_view tooltip) {
  tray_.Add(Hwnd(), kTrayIconId, kMsgTrayCallback, icon_id, WideFrom(tooltip));
}

void COrvaneDlg::ChangeTrayIcon(int icon_id) { tray_.SetIcon(icon_id); }

void COrvaneDlg::RemoveTrayIcon() { tray_.Remove(); }

void COrvaneDlg::Hide() { ::ShowWindow(Hwnd(), SW_HIDE); }

void COrvaneDlg::ShowAsApplicationWindow() {
  LONG_PTR ex = ::GetWindowLongPtrW(Hwnd(), GWL_EXSTYLE);
  ex = (ex & ~static_cast<LONG_PTR>(WS_EX_TOOLWINDOW)) | WS_EX_APPWINDOW;
  ::SetWindowLongPtrW(Hwnd(), GWL_EXSTYLE, ex);
  ::ShowWindow(Hwnd(), ::IsIconic(Hwnd()) ? SW_RESTORE : SW_SHOW);
  ::SetForegroundWindow(Hwnd());
}

HWND COrvaneDlg::MessageOwner() const {
  return composite_ && composite_->IsOpen() && composite_->Hwnd() ? composite_->Hwnd() : Hwnd();
}

void COrvaneDlg::ShowMessage(std::u16string_view text) {
  ::MessageBoxW(MessageOwner(), WideFrom(text).c_str(), L"", MB_OK);
}

bool COrvaneDlg::AskYesNo(std::u16string_view text) {
  return ::MessageBoxW(MessageOwner(), WideFrom(text).c_str(), kAppTitle,
                       MB_YESNO | MB_DEFBUTTON2 | MB_ICONQUESTION) == IDYES;
}

void COrvaneDlg::EnableApply(bool enabled) {
  if (ImageButton* apply = Button(kIdApply)) {
    ::EnableWindow(apply->Hwnd(), enabled ? TRUE : FALSE);
    apply->Redraw();
  } else if (HWND h = ::GetDlgItem(Hwnd(), kIdApply)) {
    ::EnableWindow(h, enabled ? TRUE : FALSE);
  }
}

BusyWorker& COrvaneDlg::Busy() {
  if (!busy_) busy_ = std::make_unique<BusyWorker>(Hwnd());
  return *busy_;
}

void COrvaneDlg::StartBusy() { Busy().Show(); }

void COrvaneDlg::StopBusy() { Busy().Hide(); }

void COrvaneDlg::RunTransfer(std::function<void()> work) {
  transfer_pump_.Run(Hwnd(), Busy(), std::move(work));
}

void COrvaneDlg::RefreshKeyButtons() { keyboard_.RefreshCaptions(); }

// ---- keyboard view ------------------------------------------------------------------------------

controls::SlotImage COrvaneDlg::ColourLook(int control_id, bool flag) {
  const MainSheet sheet = flag ? MainSheet::Colour1 : MainSheet::Colour0;
  return {&sheets_[static_cast<std::size_t>(sheet)], key_origins_[control_id]};
}

void COrvaneDlg::KeepKeyLit(int control_id, bool lit) {
  if (ImageButton* b = Button(control_id)) b->KeepLit(lit);
}

void COrvaneDlg::OpenKeyDialog(const KeyDialogRequest& request) {
  if (!composite_) return;
  ImageButton* b = Button(request.control_id);
  composite_->Open(request, b ? b->Hwnd() : nullptr);
}

void COrvaneDlg::ShowColourFlag(int control_id, bool flag) {
  if (ImageButton* b = Button(control_id)) b->SetFixedLook(ColourLook(control_id, flag));
}

void COrvaneDlg::ShowColourKeys(bool on) {
  const std::vector<KeyButtonState> states = KeyButtonStates(
      services_.Working(), services_.ActiveProfile(), services_.GBank(), services_.LoadedTexts());
  for (const KeyButtonState& state : states) {
    ImageButton* b = Button(state.control_id);
    if (b == nullptr) continue;
    b->SetFixedLook(on ? std::optional(ColourLook(state.control_id, state.colour_flag))
                       : std::nullopt);
  }
}

void COrvaneDlg::EnableMainApply() { logic_.SetSettingsChanged(true); }

void COrvaneDlg::EnableKey(int control_id, bool enabled) {
  ImageButton* b = Button(control_id);
  if (b == nullptr || (enabled && absent_keys_.count(control_id) != 0)) return;
  ::EnableWindow(b->Hwnd(), enabled ? TRUE : FALSE);
}

void COrvaneDlg::ShowArrow(FlipArrow arrow, std::u16string_view variant_key) {
  const bool left = arrow == FlipArrow::Left;
  ImageButton& b = AddButton(left ? kIdLeftArrow : kIdRightArrow);
  skin::PlaceWithVariant(b, Ini(), skin::kSectionButtonInfo, left ? u"LEFT_ARROW" : u"RIGHT_ARROW",
                         skin::kSectionButtonInfo2, variant_key,
                         &sheets_[static_cast<std::size_t>(MainSheet::Arrow)]);
  b.Redraw();
}

void COrvaneDlg::ShowKeyMark(int control_id, bool set) {
  if (ImageButton* b = Button(control_id)) b->SetSelected(set);
}

void COrvaneDlg::SetKeyTooltip(int control_id, std::u16string_view text) {
  if (ImageButton* b = Button(control_id)) AddTooltip(b->Hwnd(), WideFrom(text));
}

void COrvaneDlg::SetGKeyLabel(int control_id, std::u16string_view label) {
  if (ImageButton* b = Button(control_id)) b->SetLabel(WideFrom(label), Font(L"Tahoma", 9), kLabelGrey);
}

void COrvaneDlg::ShowBankIndicator(const skin::SlotSheets& sheets) {
  ImageButton* b = Button(kIdBankIndicator);
  if (b == nullptr) return;
  controls::SlotSheetSurfaces surfaces{};
  for (std::size_t i = 0; i < surfaces.size(); ++i) {
    surfaces[i] = &sheets_[static_cast<std::size_t>(sheets[i])];
  }
  b->SetSlotsAtOwnPosition(surfaces);
}

// The dialog's own idea of the mark is not used: the bank may have changed while it was open.
void COrvaneDlg::ShowAssignment(int control_id, bool) { keyboard_.OnAssignmentApplied(control_id); }

bool COrvaneDlg::OnKeyboardCommand(int id) {
  // While the light switch is on, the panel paints the key buttons and the Fn key.
  if (lighting_ && lighting_->Logic().OnKeyClick(id)) return true;
  const bool key_button = id >= kFirstKeyButtonId && id <= kLastKeyButtonId;
  if (key_button || keys::GKeyIndexOf(id)) {
    keyboard_.KeyClick(id);
    return true;
  }
  switch (id) {
    case kIdMacroEdit: keyboard_.OnMacroEditButton(); return true;
    case kIdColourSwitch: keyboard_.ToggleColourKeysMode(); return true;
    case kIdFlip1:
    case kIdFlip2: keyboard_.ToggleFlip(); return true;
    default: return false;
  }
}

// ---- scene switching ----------------------------------------------------------------------------

bool COrvaneDlg::EditorOpen() { return composite_ && composite_->IsOpen(); }

bool COrvaneDlg::MainSettingsChanged() { return flags_.settings_changed.load(); }

void COrvaneDlg::ApplyMainSettings() { logic_.Apply(); }

void COrvaneDlg::SetMainApply(bool enabled) { logic_.SetSettingsChanged(enabled); }

void COrvaneDlg::RedrawKeyButtons() { keyboard_.RefreshCaptions(); }

void COrvaneDlg::ShowProfileMenu(const ProfileMenu& menu) {
  scene_menu_.Rebuild(menu);
  if (ImageButton* profiles = Button(kIdProfiles)) {
    profiles->SetLabel(WideFrom(menu.caption), Font(L"Arial", 10), kLabelGrey);
    AddTooltip(profiles->Hwnd(), WideFrom(menu.tooltip));
  }
}

void COrvaneDlg::ColourKeysModeOff() {
  if (keyboard_.ColourKeysMode()) {
    keyboard_.ToggleColourKeysMode();
  } else {
    SetColourKeysSwitchText(services_.Texts().Text(texts::TextKey::MAIN_SWITCH_FUNCTION_TEXT));
  }
}

void COrvaneDlg::ShowLightingOf(int profile) {
  if (lighting_) lighting_->Logic().ShowProfile(profile);
}

bool COrvaneDlg::ProfileDialogChanged() {
  return profile_ && profile_->Logic().HasUnappliedChanges();
}

void COrvaneDlg::MarkProfileDialogRow(int profile) {
  if (profile_) profile_->Logic().OnSceneSwitched(profile);
}

bool COrvaneDlg::OnSceneCommand(int id) {
  if (!scenes_) return false;
  for (std::size_t i = 0; i < std::size(kProfileButtons); ++i) {
    if (id == kProfileButtons[i]) {
      scenes_->OnProfileButton(static_cast<int>(i));
      return true;
    }
  }
  if (id == kIdSceneMenu) {
    scene_menu_.Show(Hwnd());
    return true;
  }
  return scenes_->OnSceneCommand(id);
}

void COrvaneDlg::MarkActiveProfile(int profile) {
  for (std::size_t i = 0; i < std::size(kProfileButtons); ++i) {
    if (ImageButton* b = Button(kProfileButtons[i])) b->SetSelected(static_cast<int>(i) == profile);
  }
}

void COrvaneDlg::CloseChildDialogs() {
  if (about_) about_->CanClose();
  if (composite_) composite_->CloseIfOpen();
  if (profile_) profile_->CloseIfOpen();
}

bool COrvaneDlg::ChildAgreesToClose(ChildDialog child) {
  if (child == ChildDialog::About) return about_ ? about_->CanClose() : true;
  if (child == ChildDialog::Composite && composite_) composite_->CloseIfOpen();
  if (child == ChildDialog::Profile && profile_) profile_->CloseIfOpen();
  // The update dialog is modal too: its loop must end before the main window's can.
  if (child == ChildDialog::Composite && update_) update_->CloseIfOpen();
  return true;
}

// ---- profile dialog ---------------------------------------------------------------------------

std::u16string COrvaneDlg::UserFolder() {
  store::SettingsFiles& settings = services_.Settings();
  return settings.EnsureUserFolder() ? settings.UserFolder() : std::u16string();
}

bool COrvaneDlg::CreateDefaultSettingsFile(const std::u16string& path) {
  return services_.Settings().CreateDefaultSettings(path, false);
}

void COrvaneDlg::RefreshCache() {
  const KeyboardRead read = services_.ConnectRefresh();
  keyboard_.RefreshCaptions();
  MarkActiveProfile(services_.ActiveProfile());
  write_pending_ = read == KeyboardRead::PendingKept;
  if (read == KeyboardRead::Unreadable) {
    ShowMessage(services_.Texts().Text(texts::TextKey::KEYBOARD_READ_FAILED));
  }
}

// The profile menu belongs to scene switching; its builder is reached through the services.
void COrvaneDlg::RebuildProfileMenu() { services_.BuildSceneMenu(); }

// An unfinished write that the refresh kept is still to be sent: Apply stays for it.
void COrvaneDlg::DisableMainApply() { logic_.SetSettingsChanged(write_pending_); }

void COrvaneDlg::CloseInstanceMutex() { instance_.CloseMutex(); }

void COrvaneDlg::CloseNamedEvents() { events_.CloseAll(); }

void COrvaneDlg::ReleaseSkinBitmaps() {
  ReleaseBitmaps();
  for (auto& s : sheets_) s.Reset();
}

void COrvaneDlg::EndModalLoop() { EndModal(IDOK); }

void COrvaneDlg::ExitProcess() { ::ExitProcess(0); }

// ---- HostWindow -------------------------------------------------------------------------------

void COrvaneDlg::SendToWindow(std::uint32_t message, std::uint32_t first, std::uint32_t second) {
  ::SendMessageW(Hwnd(), message, first, second);
}

void COrvaneDlg::PostToWindow(std::uint32_t message, std::uint32_t first, std::uint32_t second) {
  ::PostMessageW(Hwnd(), message, first, second);
}

void COrvaneDlg::HideWindow() { ::ShowWindow(Hwnd(), SW_HIDE); }

void COrvaneDlg::SetTrayIcon(int icon_id) { logic_.SetTrayIcon(icon_id); }

bool COrvaneDlg::IsReady() const { return flags_.ready.load(); }

bool COrvaneDlg::StartFlag() const { return flags_.start.load(); }

void COrvaneDlg::SetStartFlag() { flags_.start = true; }

// ---- commands and messages ---------------------------------------------------------------------

void COrvaneDlg::OnOK() { logic_.OnOk(); }

void COrvaneDlg::OnCancel() { logic_.Hide(); }

void COrvaneDlg::OpenHelp() {
  ::ShellExecuteW(Hwnd(), L"open", L"index.html", L"NULL", WideFrom(paths_.help_folder).c_str(),
                  SW_SHOWNORMAL);
}

void COrvaneDlg::OpenLink() {
  ::ShellExecuteW(Hwnd(), L"open", link_.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void COrvaneDlg::ShowMainMenu() {
  controls::ShowPopupMenu(Hwnd(), kMainMenuId, PopupItems(kMainMenuItems, services_.Texts()),
                          controls::PopupStyle::Window);
}

void COrvaneDlg::ShowTrayMenu() {
  controls::ShowPopupMenu(Hwnd(), kTrayMenuId, PopupItems(kTrayMenuItems, services_.Texts()),
                          controls::PopupStyle::Tray);
}

bool COrvaneDlg::OnCommand(int id, int code, HWND) {
  if (lighting_ && lighting_->OnCommand(id, code)) return true;
  // Clicks and menu or accelerator commands; other notifications keep their default treatment.
  if (code != BN_CLICKED && code != 0) return false;
  switch (ClassifyCommand(id)) {
    case ShellCommand::Apply: logic_.Apply(); break;
    case ShellCommand::Ok: OnOK(); break;
    case ShellCommand::Cancel: OnCancel(); break;
    case ShellCommand::RestoreDefaults: logic_.RestoreDefaults(); break;
    case ShellCommand::MainMenu: ShowMainMenu(); break;
    case ShellCommand::OpenLink: OpenLink(); break;
    case ShellCommand::Help: OpenHelp(); break;
    case ShellCommand::Minimise: ::PostMessageW(Hwnd(), WM_SYSCOMMAND, SC_MINIMIZE, 0); break;
    case ShellCommand::CloseProgram: logic_.CloseProgram(); break;
    case ShellCommand::Show: logic_.Show(); break;
    case ShellCommand::About: if (about_) about_->Show(); break;
    case ShellCommand::Profiles: if (profile_) profile_->Open(); break;
    case ShellCommand::Update: if (update_) update_->Open(); break;
    case ShellCommand::Import: if (transfer_) transfer_->Import(); break;
    case ShellCommand::Export: if (transfer_) transfer_->Export(); break;
    default:
      if (!OnSceneCommand(id)) OnKeyboardCommand(id);
      break;
  }
  return true;
}

bool COrvaneDlg::OnTimer(UINT_PTR id) {
  if (id == kTimerBusy) {
    const int frame = logic_.NextBusyFrame();
    if (lighting_) lighting_->Logic().ShowProgressFrame(frame);
    return true;
  }
  if (id == kTimerLighting) {
    ::KillTimer(Hwnd(), kTimerLighting);  // one shot
    if (lighting_) lighting_->Logic().Reload();
    return true;
  }
  return false;
}

bool COrvaneDlg::OnSysCommand(UINT command) {
  if (command != kSysCommandAbout) return false;
  if (about_) about_->Show();
  return true;
}

bool COrvaneDlg::PreTranslateMessage(MSG& msg) {
  if (msg.hwnd != Hwnd() && !::IsChild(Hwnd(), msg.hwnd)) return false;
  const bool mode_list_focus =
      lighting_ && lighting_->ModeList() != nullptr && ::GetFocus() == lighting_->ModeList();
  switch (ClassifyPreTranslate(msg.message, msg.wParam, mode_list_focus)) {
    case PreTranslate::Swallow: return true;
    case PreTranslate::RunApply: logic_.Apply(); return true;
    case PreTranslate::Normal: return false;
  }
  return false;
}

INT_PTR COrvaneDlg::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam, bool& handled) {
  handled = true;
  const PrivateMessage private_message =
      ClassifyPrivateMessage(message, static_cast<std::uintptr_t>(wparam));
  // Sent from another thread while Apply's transfer runs (a keyboard that came or went, a close
  // request): handled once the transfer is over, not in the middle of it.
  if (transfer_pump_.Running() && private_message != PrivateMessage::None) {
    transfer_pump_.Defer(message, wparam, lparam);
    return 0;
  }
  switch (private_message) {
    case PrivateMessage::Init: logic_.OnDeferredInit(); return 0;
    case PrivateMessage::Open: logic_.Show(); return 0;
    case PrivateMessage::Kill: logic_.CloseProgram(); return 0;
    case PrivateMessage::Profile: logic_.OnConnected(); return 0;
    case PrivateMessage::Detach: logic_.OnDisconnected(); return 0;
    case PrivateMessage::Led: keyboard_.OnBankChanged(); return 0;
    case PrivateMessage::Lighting: ::SetTimer(Hwnd(), kTimerLighting, 0, nullptr); return 0;
    case PrivateMessage::Quiet: logic_.OnConnectionQuiet(); return 0;
    case PrivateMessage::Apply:  // reaches the window only when sent; posted ones run in the loop
    case PrivateMessage::None: break;
  }
  if (message == taskbar_created_ && taskbar_created_ != 0) {
    logic_.OnTaskbarCreated();
    return 0;
  }
  switch (message) {
    case kMsgTrayCallback:
      switch (ClassifyTrayNotification(static_cast<std::uintptr_t>(lparam))) {
        case TrayAction::ShowMenu: ShowTrayMenu(); break;
        case TrayAction::Open: ::SendMessageW(Hwnd(), WM_COMMAND, kCmdOpen, 0); break;
        case TrayAction::None: break;
      }
      return 0;
    case kMsgBusyStarted:
      if (lighting_) lighting_->Logic().ShowProgress(true);
      ::SetTimer(Hwnd(), kTimerBusy, kBusyFramePeriodMs, nullptr);
      return 0;
    case kMsgBusyStopped:
      ::KillTimer(Hwnd(), kTimerBusy);
      if (lighting_) lighting_->Logic().ShowProgress(false);
      return 0;
    case controls::kMsgSliderMoved:
      if (lighting_) lighting_->OnSliderMoved(static_cast<int>(wparam), static_cast<int>(lparam));
      return 0;
    case WM_NCPAINT:
      logic_.OnFramePaint();
      return 0;
    case WM_PAINT:
      if (!::IsIconic(Hwnd())) break;
      {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(Hwnd(), &ps);
        RECT r{};
        ::GetClientRect(Hwnd(), &r);
        const int cx = ::GetSystemMetrics(SM_CXICON), cy = ::GetSystemMetrics(SM_CYICON);
        ::DrawIcon(dc, (r.right - cx + 1) / 2, (r.bottom - cy + 1) / 2, big_icon_);
        ::EndPaint(Hwnd(), &ps);
      }
      return 0;
    case WM_SHOWWINDOW:
      if (wparam == FALSE) {
        // Going to the tray: nothing may go on following a pointer that rested on the window or
        // on a dialog closed meanwhile, and no look is held for a window nobody sees (the base
        // drops the background itself right after).
        for (auto& [id, button] : buttons_) button->EndHover();
        controls::StopPointerTracking();
        for (auto& sheet : sheets_) sheet.Reset();
      } else {
        LoadStateSheets();  // the background is back already; the other looks at their first draw
      }
      break;
    case WM_QUERYDRAGICON:
      return reinterpret_cast<INT_PTR>(big_icon_);
    case WM_HELP:
      OpenHelp();
      return TRUE;
    default:
      break;
  }
  handled = false;
  return 0;
}

}  // namespace vendrel::app
