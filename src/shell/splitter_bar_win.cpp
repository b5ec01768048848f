#include "shell/splitter_bar_win.h"

#include <windowsx.h>

#include "framework/worker_messages.h"

namespace {

constexpr char kSplitterClass[] = "QuillorySplitterBar";

// Shared by every bar; the system owns them.
HCURSOR g_hCursorWestEast = nullptr;
HCURSOR g_hCursorNorthSouth = nullptr;

// The bar paints itself and handles the mouse; a static control (which
// needs the notify style even to see the mouse) would add nothing, so the bar
// has a class of its own.
void RegisterSplitterClass() {
  WNDCLASSA existing{};
  if (::GetClassInfoA(::GetModuleHandleA(nullptr), kSplitterClass, &existing)) return;
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = fw::CWindow::WindowProc;
  windowClass.hInstance = ::GetModuleHandleA(nullptr);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kSplitterClass;
  ::RegisterClassA(&windowClass);
}

RECT RectInParent(HWND window, HWND parent) {
  RECT rect{};
  ::GetWindowRect(window, &rect);
  ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

}  // namespace

bool CSplitterBar::Create(DWORD style, const RECT& rect, HWND parent, UINT id) {
  m_nOrientation =
      rect.right - rect.left < rect.bottom - rect.top ? ORIENT_VERTICAL : ORIENT_HORIZONTAL;
  RegisterSplitterClass();
  if (!fw::CWindow::Create(0, kSplitterClass, "", style, rect, parent, id)) {
    return false;
  }
  if (!g_hCursorWestEast) g_hCursorWestEast = ::LoadCursor(nullptr, IDC_SIZEWE);
  if (!g_hCursorNorthSouth) g_hCursorNorthSouth = ::LoadCursor(nullptr, IDC_SIZENS);
  SetRangeAround(0, 0, -1);
  return true;
}

int32_t CSplitterBar::SetOrientation(int32_t orientation) {
  int32_t previous = m_nOrientation;
  m_nOrientation = orientation;
  return previous;
}

void CSplitterBar::SetRange(int32_t min, int32_t max) {
  m_nMin = min;
  m_nMax = max;
}

void CSplitterBar::SetRangeAround(int32_t before, int32_t after, int32_t position) {
  int32_t centre = position;
  if (centre < 0) {
    RECT rect = GetWindowRect();
    centre = IsVertical() ? BarCentre(rect.left, rect.right) : BarCentre(rect.top, rect.bottom);
  }
  SplitterRange range = RangeAround(centre, before, after);
  SetRange(range.min, range.max);
}

void CSplitterBar::DrawTracker(HDC dc, int x, int y) {
  RECT bar = GetWindowRect();
  HPEN pen = ::CreatePen(PS_SOLID, 1, RGB(200, 200, 200));
  int oldMode = ::SetROP2(dc, R2_NOTXORPEN);
  HGDIOBJ oldPen = ::SelectObject(dc, pen);
  for (int offset : {-1, 1}) {
    if (IsVertical()) {
      ::MoveToEx(dc, x + offset, bar.top, nullptr);
      ::LineTo(dc, x + offset, bar.bottom);
    } else {
      ::MoveToEx(dc, bar.left, y + offset, nullptr);
      ::LineTo(dc, bar.right, y + offset);
    }
  }
  ::SelectObject(dc, oldPen);
  ::SetROP2(dc, oldMode);
  ::DeleteObject(pen);
}

void CSplitterBar::ToggleTracker() {
  HDC screen = ::GetDC(nullptr);
  DrawTracker(screen, m_ptLast.x, m_ptLast.y);
  ::ReleaseDC(nullptr, screen);
}

void CSplitterBar::MoveBarTo(int x, int y) {
  HWND parent = ::GetParent(m_hWnd);
  if (!parent) return;
  RECT rect = RectInParent(m_hWnd, parent);
  if (IsVertical()) {
    ::OffsetRect(&rect, BarShift(x, rect.left, rect.right), 0);
  } else {
    ::OffsetRect(&rect, 0, BarShift(y, rect.top, rect.bottom));
  }
  Move(rect);
}

void CSplitterBar::OnPaint() {
  PAINTSTRUCT paint;
  HDC dc = ::BeginPaint(m_hWnd, &paint);
  RECT client = GetClientRect();
  // Shadow above and left, highlight below and right: a groove.
  ::DrawEdge(dc, &client, BDR_SUNKENOUTER, BF_RECT);
  ::EndPaint(m_hWnd, &paint);
}

LRESULT CSplitterBar::OnMouseMove(WPARAM, LPARAM lParam) {
  SetMsgHandled(false);
  if (!m_bDragging) return 0;
  ToggleTracker();
  HWND parent = ::GetParent(m_hWnd);
  POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  ::MapWindowPoints(m_hWnd, parent, &point, 1);
  point.x = ClampToRange(point.x, m_nMin, m_nMax);
  point.y = ClampToRange(point.y, m_nMin, m_nMax);
  ::MapWindowPoints(parent, nullptr, &point, 1);
  m_ptLast = point;
  ToggleTracker();
  return 0;
}

LRESULT CSplitterBar::OnSetCursor(WPARAM, LPARAM lParam) {
  if (LOWORD(lParam) != HTCLIENT) {
    SetMsgHandled(false);
    return 0;
  }
  ::SetCursor(IsVertical() ? g_hCursorWestEast : g_hCursorNorthSouth);
  // Not handled, yet no default either: it would put the class's cursor back.
  return FALSE;
}

LRESULT CSplitterBar::OnLButtonDown(WPARAM wParam, LPARAM lParam) {
  ::DefWindowProcA(m_hWnd, WM_LBUTTONDOWN, wParam, lParam);
  m_bDragging = 1;
  ::SetCapture(m_hWnd);
  RECT rect = GetWindowRect();
  if (IsVertical()) {
    m_ptLast.x = BarCentre(rect.left, rect.right);
    m_nDragStart = m_ptLast.x;
  } else {
    m_ptLast.y = BarCentre(rect.top, rect.bottom);
    m_nDragStart = m_ptLast.y;
  }
  ToggleTracker();
  return 0;
}

LRESULT CSplitterBar::OnLButtonUp(WPARAM wParam, LPARAM lParam) {
  if (m_bDragging) {
    ToggleTracker();
    m_bDragging = 0;
    // The last clamped tracker position counts, not where the button was let go.
    POINT end = m_ptLast;
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    if (!owner) owner = ::GetParent(m_hWnd);
    if (owner && ::IsWindow(owner)) {
      ::ScreenToClient(owner, &end);
      LONG distance = IsVertical() ? m_ptLast.x - m_nDragStart : m_ptLast.y - m_nDragStart;
      ::SendMessageA(owner, WM_SPLITTERMOVED, 0, static_cast<LPARAM>(distance));
      MoveBarTo(end.x, end.y);
    }
  }
  ::DefWindowProcA(m_hWnd, WM_LBUTTONUP, wParam, lParam);
  ::ReleaseCapture();
  return 0;
}

LRESULT CSplitterBar::OnCaptureChanged(WPARAM, LPARAM) {
  // Alt+Tab or a box took the mouse: the button-up will never come here.
  // The drag ends where it stands, with nothing moved and no line left.
  if (m_bDragging) {
    ToggleTracker();
    m_bDragging = 0;
  }
  return 0;
}

void MoveWindowEdge(HWND window, int distance, WindowEdge edge) {
  HWND parent = ::GetParent(window);
  if (!parent || !::IsWindow(parent)) return;
  RECT rect = RectInParent(window, parent);
  LayoutRect moved = MoveEdge({rect.left, rect.top, rect.right, rect.bottom}, distance, edge);
  ::MoveWindow(window, moved.left, moved.top, moved.Width(), moved.Height(), TRUE);
}
