#include <windows.h>

#include "platform/console.h"

namespace orvo::os {

void UseUtf8Console() { SetConsoleOutputCP(CP_UTF8); }

bool InputIsTerminal() {
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) != 0;
}

}  // namespace orvo::os
