#pragma once

#include <windows.h>

// Ends every modal loop of the calling thread: an open menu and every dialog (message boxes, task dialogs, the
// common colour and font dialogs, the program's own dialogs), each as its Cancel would. The loops return once this
// thread's message handling goes on; nothing waits here.
void EndModalLoops();
// Whether a dialog of the calling thread is still open (shown and not yet ended).
bool ModalDialogOpen();
