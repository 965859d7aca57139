// The native build has no system ANSI code page of its own: it pretends to
// have one, so the descriptor's strings convert as on a Windows machine.
#pragma once

namespace gridsmith {

// The code page that kSystemAnsiCodePage stands for; 1252 until changed.
void SetSystemAnsiCodePage(unsigned codePage);
unsigned SystemAnsiCodePage();

}  // namespace gridsmith
