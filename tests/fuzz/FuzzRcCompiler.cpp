// The resource compiler: preprocessor, tokens and every statement it compiles.
#include <unistd.h>

#include <fstream>
#include <stdexcept>
#include <string>

#include "RcCompiler.h"
#include "RcLexer.h"
#include "RcSource.h"

namespace {
std::string g_dir, g_script;
}

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  char dir[] = "/tmp/lumora-rcfuzz-XXXXXX";
  if (mkdtemp(dir)) g_dir = dir;
  g_script = g_dir + "/fuzz.rc";
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::ofstream(g_script, std::ios::binary | std::ios::trunc)
      .write(reinterpret_cast<const char*>(data), std::streamsize(size));
  try {
    rcc::RcSource source({g_dir});
    const auto lines = source.Load(g_script);
    const auto tokens = rcc::Tokenize(lines);
    rcc::RcCompiler compiler(source.Defines(), g_dir);
    compiler.Compile(tokens);
  } catch (const std::exception&) {
    // a script the compiler refuses, with its reason
  }
  return 0;
}
