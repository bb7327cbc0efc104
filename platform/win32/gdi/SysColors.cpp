#include "gdi/SysColors.h"

#include <array>
#include <mutex>

#include "gdi/Pen.h"

namespace plat::gdi {

namespace {
constexpr int kCount = 31;
struct Table {
  std::mutex mutex;
  std::array<COLORREF, kCount> colors{
      RGB(192, 192, 192),  // SCROLLBAR
      RGB(0, 128, 128),    // BACKGROUND
      RGB(0, 0, 128),      // ACTIVECAPTION
      RGB(128, 128, 128),  // INACTIVECAPTION
      RGB(192, 192, 192),  // MENU
      RGB(255, 255, 255),  // WINDOW
      RGB(0, 0, 0),        // WINDOWFRAME
      RGB(0, 0, 0),        // MENUTEXT
      RGB(0, 0, 0),        // WINDOWTEXT
      RGB(255, 255, 255),  // CAPTIONTEXT
      RGB(192, 192, 192),  // ACTIVEBORDER
      RGB(192, 192, 192),  // INACTIVEBORDER
      RGB(128, 128, 128),  // APPWORKSPACE
      RGB(0, 0, 128),      // HIGHLIGHT
      RGB(255, 255, 255),  // HIGHLIGHTTEXT
      RGB(192, 192, 192),  // BTNFACE
      RGB(128, 128, 128),  // BTNSHADOW
      RGB(128, 128, 128),  // GRAYTEXT
      RGB(0, 0, 0),        // BTNTEXT
      RGB(192, 192, 192),  // INACTIVECAPTIONTEXT
      RGB(255, 255, 255),  // BTNHIGHLIGHT
      RGB(0, 0, 0),        // 3DDKSHADOW
      RGB(192, 192, 192),  // 3DLIGHT
      RGB(0, 0, 0),        // INFOTEXT
      RGB(255, 255, 225),  // INFOBK
      RGB(181, 181, 181),  // (reserved)
      RGB(0, 0, 128),      // HOTLIGHT
      RGB(16, 132, 208),   // GRADIENTACTIVECAPTION
      RGB(181, 181, 181),  // GRADIENTINACTIVECAPTION
      RGB(0, 0, 128),      // MENUHILIGHT
      RGB(192, 192, 192),  // MENUBAR
  };
  std::array<HBRUSH, kCount> brushes{};
};
Table& T() {
  static Table t;
  return t;
}
}  // namespace

COLORREF SysColor(int index) {
  if (index < 0 || index >= kCount) return 0;
  std::lock_guard lock(T().mutex);
  return T().colors[static_cast<size_t>(index)];
}

void SetSysColor(int index, COLORREF color) {
  if (index < 0 || index >= kCount) return;
  std::lock_guard lock(T().mutex);
  T().colors[static_cast<size_t>(index)] = color;
  if (auto b = Find<Brush>(T().brushes[static_cast<size_t>(index)])) b->log.lbColor = color;
}

}  // namespace plat::gdi

// Weak, so that the window manager can bring its own (with settings) without a clash.
__attribute__((weak)) DWORD GetSysColor(int index) { return plat::gdi::SysColor(index); }

__attribute__((weak)) HBRUSH GetSysColorBrush(int index) {
  using namespace plat::gdi;
  if (index < 0 || index >= kCount) return nullptr;
  std::lock_guard lock(T().mutex);
  HBRUSH& b = T().brushes[static_cast<size_t>(index)];
  // System colour brushes are owned by the system: DeleteObject leaves them alone.
  if (!b) b = plat::ToHandle<HBRUSH>(Insert(std::make_shared<Brush>(LOGBRUSH{BS_SOLID, T().colors[static_cast<size_t>(index)], 0}), true));
  return b;
}
