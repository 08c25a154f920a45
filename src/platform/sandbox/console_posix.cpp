#include <unistd.h>

#include "platform/console.h"

namespace orvo::os {

void UseUtf8Console() {}  // terminals here speak UTF-8 already
bool InputIsTerminal() { return isatty(STDIN_FILENO) != 0; }

}  // namespace orvo::os
