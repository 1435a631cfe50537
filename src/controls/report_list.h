#pragma once
// A report list (single selection, whole rows selected) with headed columns, columns drawn in the
// system's grey-text colour, and editors that open over one cell: a drop-down list or a digits-only
// field. A click on a cell of the selected row is reported; the owner decides which editor, if
// any, opens there. An editor ends on Enter, on losing the focus or on a choice, and reports what
// it holds; Escape ends it without a report. Wraps the dialog's list control (or one it creates)
// without owning it; the editors are the list's children and owned here.
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "controls/handles.h"
#include "controls/window_hook.h"

namespace vendrel::controls {

struct ReportColumn {
  std::wstring header;
  int width = 0;
  bool grey = false;  // texts drawn in the grey-text colour, except on the selected row
};

class ReportList {
 public:
  using CellClicked = std::function<void(int row, int column)>;
  using EntryChosen = std::function<void(int row, int column, int index)>;
  using NumberEntered = std::function<void(int row, int column, const std::wstring& digits)>;

  ReportList() = default;
  ReportList(const ReportList&) = delete;
  ReportList& operator=(const ReportList&) = delete;
  ~ReportList();

  // Takes the dialog's list control, or creates one; either gets the report style.
  bool Attach(HWND dialog, int control_id);
  bool Create(HWND parent, int control_id, const RECT& bounds);
  HWND Hwnd() const { return list_; }

  void SetColumns(std::span<const ReportColumn> columns);
  void SetColumnGrey(int column, bool grey);
  int ColumnCount() const;

  // Inserts a row before `at` (at the end when `at` is outside the rows); returns its index.
  int InsertRow(int at, std::span<const std::wstring> cells);
  void SetCell(int row, int column, const std::wstring& text);
  std::wstring Cell(int row, int column) const;
  // Removing rows first ends an open editor, keeping its value.
  void RemoveRow(int row);
  void RemoveAll();
  int RowCount() const;

  int Selected() const;  // -1 when no row is selected
  void Select(int row);  // -1 clears the selection
  void EnsureVisible(int row);

  void OnCellClicked(CellClicked callback) { cell_clicked_ = std::move(callback); }
  void OnEntryChosen(EntryChosen callback) { entry_chosen_ = std::move(callback); }
  void OnNumberEntered(NumberEntered callback) { number_entered_ = std::move(callback); }

  // A drop-down list over the cell, open, `visible_rows` high, with `selected` marked (none
  // when it names no entry). Reports the entry chosen, or the marked one when the editor ends
  // otherwise than by Escape; nothing when no entry is marked.
  void EditDropDown(int row, int column, std::span<const std::wstring> items, int selected,
                    int visible_rows);
  // A field accepting digits over the cell, holding `text` selected. Reports its digits.
  void EditNumber(int row, int column, const std::wstring& text);
  // Ends an open editor; with keep it reports as if the editor had lost the focus.
  void EndEdit(bool keep = true);
  bool Editing() const { return editor_ != nullptr; }
  // Whether the window is the open editor: the dialog lets Enter and Escape reach it.
  bool IsEditor(HWND hwnd) const;

 private:
  enum class EditorKind { DropDown, Number };
  struct Editor {
    int row = 0;
    int column = 0;
    EditorKind kind = EditorKind::Number;
    UniqueWindow window;
    WindowHook hook;  // comes off before the window goes
  };

  bool Hook();
  std::vector<int> ColumnWidths() const;
  // The cell's rectangle in list client coordinates, scrolled into view and limited to it.
  bool CellRect(int row, int column, RECT& cell);
  Editor& OpenEditor(int row, int column, EditorKind kind, HWND window);
  void Finish(bool keep);
  void RetireLater();
  void DestroyRetired();

  std::optional<LRESULT> OnListMessage(UINT message, WPARAM wparam, LPARAM lparam);
  std::optional<LRESULT> OnParentMessage(UINT message, WPARAM wparam, LPARAM lparam);
  std::optional<LRESULT> OnEditorMessage(Editor& editor, UINT message, WPARAM wparam,
                                         LPARAM lparam);
  LRESULT CustomDraw(NMLVCUSTOMDRAW& draw);
  void ReportClick(POINT at);

  HWND list_ = nullptr;
  int id_ = 0;
  std::vector<bool> grey_;
  COLORREF item_text_colour_ = 0;
  CellClicked cell_clicked_;
  EntryChosen entry_chosen_;
  NumberEntered number_entered_;
  std::unique_ptr<Editor> editor_;
  // Ended editors wait, hidden, until no handler of theirs runs: an editor may end from inside
  // its own message, and a report may open a message box whose loop runs before that returns.
  std::vector<std::unique_ptr<Editor>> retired_;
  int editor_depth_ = 0;
  WindowHook list_hook_;
  WindowHook parent_hook_;
};

}  // namespace vendrel::controls
