#pragma once
// The console a command-line tool talks through: UTF-8 output on every system, and
// whether a person sits at the other end to answer a question.

namespace orvo::os {

void UseUtf8Console();
bool InputIsTerminal();

}  // namespace orvo::os
