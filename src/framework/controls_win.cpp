#include "framework/controls_win.h"

#include "platform/wide_text_win.h"

namespace fw {

std::string CComboBox::GetLBText(int index) const {
  // Read wide and narrowed here: Wine maps the ANSI CB_GETLBTEXT through a
  // stack buffer of 512 characters, and a longer item (a saved search's name)
  // overruns it and crashes the program.
  const LRESULT length = ::SendMessageW(m_hWnd, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == CB_ERR || length <= 0) return {};
  std::wstring wide(static_cast<size_t>(length) + 1, L'\0');
  const LRESULT copied = ::SendMessageW(m_hWnd, CB_GETLBTEXT, static_cast<WPARAM>(index),
                                        reinterpret_cast<LPARAM>(wide.data()));
  wide.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  std::string text;
  return platform::NarrowExact(wide, text) ? text : std::string();
}

int CListView::InsertColumn(int index, const std::string& heading, int width, int format) const {
  LVCOLUMNA column{};
  column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
  column.fmt = format;
  column.cx = width;
  column.pszText = const_cast<char*>(heading.c_str());
  column.iSubItem = index;
  return static_cast<int>(
      Send(LVM_INSERTCOLUMNA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&column)));
}

int CListView::InsertItem(int index, const std::string& text, LPARAM data) const {
  LVITEMA item{};
  item.mask = LVIF_TEXT | LVIF_PARAM;
  item.iItem = index;
  item.pszText = const_cast<char*>(text.c_str());
  item.lParam = data;
  return static_cast<int>(Send(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

bool CListView::SetItemText(int item, int subItem, const std::string& text) const {
  LVITEMA cell{};
  cell.iSubItem = subItem;
  cell.pszText = const_cast<char*>(text.c_str());
  return Send(LVM_SETITEMTEXTA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&cell)) != 0;
}

std::string CListView::GetItemText(int item, int subItem) const {
  // The control copies at most the buffer and says how much it copied; grow
  // until the text fits.
  std::string text(256, '\0');
  for (;;) {
    LVITEMA cell{};
    cell.iSubItem = subItem;
    cell.pszText = text.data();
    cell.cchTextMax = static_cast<int>(text.size());
    auto copied = static_cast<size_t>(
        Send(LVM_GETITEMTEXTA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&cell)));
    if (copied + 1 < text.size()) {
      text.resize(copied);
      return text;
    }
    text.resize(text.size() * 2);
  }
}

bool CListView::SetItemData(int item, LPARAM data) const {
  LVITEMA row{};
  row.mask = LVIF_PARAM;
  row.iItem = item;
  row.lParam = data;
  return Send(LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&row)) != 0;
}

LPARAM CListView::GetItemData(int item) const {
  LVITEMA row{};
  row.mask = LVIF_PARAM;
  row.iItem = item;
  Send(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&row));
  return row.lParam;
}

HTREEITEM CTreeView::InsertItem(const std::string& text, LPARAM data, HTREEITEM parent,
                                HTREEITEM after) const {
  TVINSERTSTRUCTA insert{};
  insert.hParent = parent;
  insert.hInsertAfter = after;
  insert.item.mask = TVIF_TEXT | TVIF_PARAM;
  insert.item.pszText = const_cast<char*>(text.c_str());
  insert.item.lParam = data;
  return reinterpret_cast<HTREEITEM>(Send(TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

LPARAM CTreeView::GetItemData(HTREEITEM item) const {
  TVITEMA entry{};
  entry.mask = TVIF_PARAM;
  entry.hItem = item;
  Send(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&entry));
  return entry.lParam;
}

}  // namespace fw
