// Direct port input and output of the C run-time, as Windows 9x programs use them.
// Here they reach the simulated machine's port space (PCI configuration and the boards).
#pragma once
#include "WinTypes.h"

extern "C" {
int _inp(USHORT port);
USHORT _inpw(USHORT port);
ULONG _inpd(USHORT port);
int _outp(USHORT port, int value);
USHORT _outpw(USHORT port, USHORT value);
ULONG _outpd(USHORT port, ULONG value);
}
