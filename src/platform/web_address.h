#pragma once

#include <string_view>

// True for an absolute http or https address with a host and nothing that the shell could read as a program or
// a second argument: the only addresses the program hands to the shell.
bool IsWebAddress(std::string_view address);
