#pragma once

// Enables or disables one privilege ("SeDebugPrivilege" ...) of the program's own token; failures are silent.
void EnablePrivilege(const wchar_t* name, bool enable);
