#pragma once

#include "memory/memory_format.h"

// The thousands and decimal separators of the user's locale ("," and "." when it cannot be read).
NumberSeparators UserNumberSeparators();
