#pragma once
// Hourglass cursor around long database actions. The program installs the
// real cursor switch; without one (command line, tests) nothing is shown.

#include <functional>

class TCursors {
 public:
  static void SetHourGlass();
  static void HideHourGlass();
  static void SetHandlers(std::function<void()> fnShow, std::function<void()> fnHide);
};
