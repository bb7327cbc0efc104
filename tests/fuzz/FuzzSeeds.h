// Seeds a driver writes into its corpus when LUMORA_FUZZ_SEEDS names a folder: inputs
// made by the code's own writers, so the fuzzer starts from valid forms.
#pragma once
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace fuzzseeds {

inline void Write(const std::string& name, const std::vector<uint8_t>& bytes) {
  const char* dir = std::getenv("LUMORA_FUZZ_SEEDS");
  if (!dir || !*dir) return;
  std::ofstream(std::string(dir) + "/" + name, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

inline void Write(const std::string& name, const std::string& text) {
  Write(name, std::vector<uint8_t>(text.begin(), text.end()));
}

}  // namespace fuzzseeds
