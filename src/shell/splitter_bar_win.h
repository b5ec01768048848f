#pragma once
// The bar between the navigation panel and the page host. A drag shows a
// tracker drawn on the screen, stays within the range its owner set, and at
// the end reports the distance with WM_SPLITTERMOVED and moves only the bar:
// resizing the panes is the owner's business.

#include <windows.h>

#include <cstdint>

#include "framework/window_win.h"
#include "shell/main_layout.h"

class CSplitterBar : public fw::CBound<CSplitterBar, fw::CWindow> {
 public:
  static constexpr int32_t ORIENT_VERTICAL = 1;    // upright, moves left and right
  static constexpr int32_t ORIENT_HORIZONTAL = 2;  // flat, moves up and down

  CSplitterBar() = default;

  // The orientation follows the rectangle (upright when narrower than high);
  // until the owner sets a range the bar cannot move.
  bool Create(DWORD style, const RECT& rect, HWND parent, UINT id);
  // Returns the previous orientation.
  int32_t SetOrientation(int32_t orientation);
  // In the parent's client coordinates.
  void SetRange(int32_t min, int32_t max);
  // [centre - before, centre + after]; a negative position takes the centre
  // of the bar's window rectangle on the screen.
  void SetRangeAround(int32_t before, int32_t after, int32_t position);
  // Draws the tracker's two lines at (x, y) on the screen `dc`; drawing the
  // same tracker twice restores the screen.
  virtual void DrawTracker(HDC dc, int x, int y);
  // Moves the bar so that its centre line is at the point of the parent's
  // client area.
  void MoveBarTo(int x, int y);

  int32_t m_bDragging = 0;
  int32_t m_nOrientation = ORIENT_VERTICAL;
  POINT m_ptLast{};  // screen coordinates; only x counts upright, only y flat
  int32_t m_nMin = -1;
  int32_t m_nMax = -1;
  int32_t m_nDragStart = 0;  // the bar's centre on the screen when the drag began

 private:
  bool IsVertical() const { return m_nOrientation == ORIENT_VERTICAL; }
  // Draws (or, the second time, erases) the tracker at m_ptLast.
  void ToggleTracker();

  void OnPaint();
  LRESULT OnMouseMove(WPARAM, LPARAM);
  LRESULT OnSetCursor(WPARAM, LPARAM);
  LRESULT OnLButtonDown(WPARAM, LPARAM);
  LRESULT OnLButtonUp(WPARAM, LPARAM);
  LRESULT OnCaptureChanged(WPARAM, LPARAM);

  friend Bound;  // it reads the table
  static constexpr fw::MessageEntry<CSplitterBar> kMessageTable[] = {
      {fw::Message<WM_PAINT>, &CSplitterBar::OnPaint},
      {fw::Message<WM_MOUSEMOVE>, &CSplitterBar::OnMouseMove},
      {fw::Message<WM_SETCURSOR>, &CSplitterBar::OnSetCursor},
      {fw::Message<WM_LBUTTONDOWN>, &CSplitterBar::OnLButtonDown},
      {fw::Message<WM_LBUTTONUP>, &CSplitterBar::OnLButtonUp},
      {fw::Message<WM_CAPTURECHANGED>, &CSplitterBar::OnCaptureChanged},
  };
};

// Moves one edge of a child window by `distance` pixels, in its parent's
// client coordinates, and repaints it. Nothing happens without a parent.
void MoveWindowEdge(HWND window, int distance, WindowEdge edge);
