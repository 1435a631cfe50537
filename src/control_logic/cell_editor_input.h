#pragma once
// What a report list's cell editors accept: the number editor keeps digits only (the edit
// control refuses other typed characters, but a paste may still bring them), and a drop-down's
// selection and height stay within its entries.
#include <string>
#include <string_view>

namespace vendrel::control_logic {

// The ASCII digits of the text, in order; everything else is dropped.
std::u16string KeepDigits(std::u16string_view text);

// The selection to show: the index when it names an entry, otherwise none (-1).
int ValidSelection(int selected, int count);

// The rows a dropped list shows: the rows asked for, but at least one and no more than there are
// entries (one for an empty list).
int DropDownRows(int visible_rows, int count);

// The height of a drop-down editor over a cell: the selection field the height of the cell, and
// below it the dropped list of DropDownRows items with its two border pixels.
int DropDownHeight(int cell_height, int item_height, int visible_rows, int count);

}  // namespace vendrel::control_logic
