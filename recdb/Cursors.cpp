#include "recdb/Cursors.h"

namespace {
std::function<void()> g_show;
std::function<void()> g_hide;
}  // namespace

void TCursors::SetHourGlass() {
  if (g_show) g_show();
}

void TCursors::HideHourGlass() {
  if (g_hide) g_hide();
}

void TCursors::SetHandlers(std::function<void()> fnShow, std::function<void()> fnHide) {
  g_show = std::move(fnShow);
  g_hide = std::move(fnHide);
}
