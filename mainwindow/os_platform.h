#pragma once

// The operating-system family: 1 the Windows 95 family, 2 the Windows NT
// family, 0 anything else.
int OsPlatform();
