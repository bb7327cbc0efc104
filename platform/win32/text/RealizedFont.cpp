#include "text/RealizedFont.h"

namespace plat::text {

const Glyph& RealizedFont::GlyphOf(char32_t c) {
  // Rendering happens under the lock: FreeType faces are not safe to share between threads.
  std::lock_guard lock(mutex_);
  auto it = glyphs_.find(c);
  if (it == glyphs_.end()) it = glyphs_.emplace(c, Render(c)).first;
  return it->second;
}

}  // namespace plat::text
