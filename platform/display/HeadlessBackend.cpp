#include "display/Backend.h"

namespace plat::display {
namespace {

class HeadlessBackend final : public Backend {
 public:
  const char* Name() const override { return "headless"; }
  void Present(const RECT&) override {}
};

}  // namespace

std::unique_ptr<Backend> MakeHeadlessBackend() { return std::make_unique<HeadlessBackend>(); }

}  // namespace plat::display
