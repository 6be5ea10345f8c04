// Key codes the toolkit understands; printable ASCII stands for itself.
#pragma once

enum Key : int {
    KeyCtrlC = 3,
    KeyBackspace = 8,
    KeyTab = 9,
    KeyEnter = 13,
    KeyEscape = 27,
    KeyDelete = 0x1000,
    KeyBackTab,
    KeyLeft,
    KeyRight,
    KeyUp,
    KeyDown,
    KeyHome,
    KeyEnd,
    KeyPageUp,
    KeyPageDown,
    KeyClose,  // the close box of the topmost dialog
    KeyResize,
};
