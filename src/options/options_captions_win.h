#pragma once

#include <windows.h>

#include "platform/texts.h"

// The text table's entry for the options dialog's control of that id: its caption in every language; kNoText for a
// control without a text of its own.
TextId OptionsCaption(int controlId);
// Gives the options dialog's frame or one of its pages the captions of its controls in the chosen language.
void SetOptionsCaptions(HWND dialog);
