// Dialog templates (classic and extended) read into plain records.
#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "../WinTypes.h"

namespace plat::user {

// A class, menu or text field: an ordinal, or text (UTF-8).
struct NameOrId {
  bool isId = false;
  WORD id = 0;
  std::string text;
};

struct DialogItem {
  DWORD style = 0;
  DWORD exStyle = 0;
  DWORD helpId = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  DWORD id = 0;
  NameOrId cls;
  NameOrId text;
  std::vector<BYTE> creationData;
};

struct DialogTemplateInfo {
  bool extended = false;
  DWORD style = 0;
  DWORD exStyle = 0;
  DWORD helpId = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  NameOrId menu;
  NameOrId cls;
  std::string caption;
  bool hasFont = false;
  WORD pointSize = 0;
  WORD weight = 0;
  bool italic = false;
  BYTE charset = 0;
  std::string face;
  std::vector<DialogItem> items;
};

// Reads a template of at most `size` bytes; nullopt when it is cut short or malformed.
std::optional<DialogTemplateInfo> ParseDialogTemplate(const void* data, size_t size);

// The window class name of a predefined control atom (0x80 "Button" ... 0x85 "ComboBox").
const char* PredefinedClassName(WORD atom);

}  // namespace plat::user
