// The C run-time's port functions over the simulated port space.
#include "BoardSystem.h"
#include "conio.h"

using plat::board::BoardSystem;

int _inp(USHORT port) { return int(BoardSystem::Get().ReadPort(port, 1)); }
USHORT _inpw(USHORT port) { return USHORT(BoardSystem::Get().ReadPort(port, 2)); }
ULONG _inpd(USHORT port) { return BoardSystem::Get().ReadPort(port, 4); }

int _outp(USHORT port, int value) {
  BoardSystem::Get().WritePort(port, 1, uint32_t(value) & 0xFF);
  return value & 0xFF;
}
USHORT _outpw(USHORT port, USHORT value) {
  BoardSystem::Get().WritePort(port, 2, value);
  return value;
}
ULONG _outpd(USHORT port, ULONG value) {
  BoardSystem::Get().WritePort(port, 4, value);
  return value;
}
