// UpdateFlags: the update broadcast's flag word, one bit per target object. Each target
// hears its own bit alone.
#pragma once

enum UpdateFlags : unsigned long {
  kUpdControlView = 0x1,
  kUpdFlowControl = 0x2,
  kUpdCCDInput = 0x4,
  kUpdFileInput = 0x8,
  kUpdRetouch = 0x10,
  kUpdProfile = 0x20,
  kUpdFocus = 0x40,
  kUpdResize = 0x80,
  kUpdNoiseCut = 0x100,
  kUpdRGB = 0x200,
  kUpdShading = 0x400,
  kUpdLiveDisplay = 0x800,
  kUpdStillDisplay = 0x1000,
  kUpdFileOutput = 0x2000,
  kUpdPrinterOutput = 0x4000,
  kUpdFileDelete = 0x8000,
  kUpdReloadSettings = 0x10000,
  kUpdThumbFolder = 0x20000,
  kUpdThumbNewFile = 0x40000,
  kUpdThumbOverwrite = 0x80000,
  kUpdThumbDeleted = 0x100000,
  kUpdScaleDialog = 0x200000,
};
