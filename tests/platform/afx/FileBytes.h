// Whole-file helpers for the file tests.
#pragma once
#include <string>

#include "afx.h"

inline void WriteBytes(LPCTSTR name, const std::string& bytes) {
  CFile f(name, CFile::modeCreate | CFile::modeWrite);
  f.Write(bytes.data(), static_cast<UINT>(bytes.size()));
}

inline std::string ReadBytes(LPCTSTR name) {
  CFile f(name, CFile::modeRead);
  std::string bytes(f.GetLength(), '\0');
  bytes.resize(f.Read(bytes.data(), static_cast<UINT>(bytes.size())));
  return bytes;
}
