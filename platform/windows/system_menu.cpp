#include "platform/windows/system_menu.hpp"

#include <windows.h>

namespace corvane {
namespace {

bool IsKeptCommand(UINT command) { return command == SC_MOVE || command == SC_MINIMIZE || command == SC_CLOSE; }

int FirstSeparator(HMENU menu) {
  const int count = ::GetMenuItemCount(menu);
  for (int position = 0; position < count; ++position) {
    if (::GetMenuState(menu, static_cast<UINT>(position), MF_BYPOSITION) & MF_SEPARATOR) return position;
  }
  return -1;
}

}  // namespace

void RemoveSystemMenuItem(void* menuHandle, std::int32_t item) {
  const HMENU menu = static_cast<HMENU>(menuHandle);
  if (menu == nullptr) return;
  if (item > 0) {
    ::DeleteMenu(menu, static_cast<UINT>(item), MF_BYCOMMAND);
    return;
  }
  const int position = item == 0 ? FirstSeparator(menu) : ::GetMenuItemCount(menu) + item;
  if (position < 0) return;
  if (item < 0 && IsKeptCommand(::GetMenuItemID(menu, position))) return;
  ::DeleteMenu(menu, static_cast<UINT>(position), MF_BYPOSITION);
}

}  // namespace corvane
