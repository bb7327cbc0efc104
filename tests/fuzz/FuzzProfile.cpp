// Private profile files. A file parses and writes back byte for byte, and a key set
// through the parser reads back as it was set, carriage returns included.
#include <string>

#include "FuzzSeeds.h"
#include "profile/ProfileFile.h"

using plat::profile::ProfileFile;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzseeds::Write("crlf.ini", std::string("; settings\r\n[USER]\r\nSaveFolder=C:\\Image\r\nExposureTime=27\r\n\r\n[SYSTEM]\r\nSaveQuality=6\r\n"));
  fuzzseeds::Write("lf.ini", std::string("\xEF\xBB\xBF[A\rB]\nK\r=1\nStray=x\r\r\nlast=y"));
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  ProfileFile f = ProfileFile::Parse(text);
  if (f.Serialize() != text) __builtin_trap();
  for (const std::string& section : f.SectionNames()) {
    auto keys = f.Keys(section);
    f.Entries(section);
    if (keys && !keys->empty()) f.Value(section, keys->front());
  }
  for (const char* section : {"USER", "Fuzz\rSection"}) {
    ProfileFile g = f;
    g.Set(section, "Key\r", "value\r");
    const ProfileFile back = ProfileFile::Parse(g.Serialize());
    if (back.Value(section, "Key\r") != std::optional<std::string>("value\r")) __builtin_trap();
  }
  return 0;
}
