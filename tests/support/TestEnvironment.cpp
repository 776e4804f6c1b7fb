// Linked into every test binary: before main, a test runs headless and keeps its registry hives
// and temporary files in its own working folder (tests/<folder>/run/<binary>), whatever started
// it. Values already set in the environment are kept, so a developer can point a run elsewhere.

#include <cstdlib>
#include <string>

#include <unistd.h>

namespace {

void SetIfUnset(const char* name, const std::string& value) { setenv(name, value.c_str(), 0); }

const bool kTestEnvironmentSet = [] {
  std::string here(4096, '\0');
  if (getcwd(here.data(), here.size()) == nullptr) return false;
  here.resize(here.find('\0'));
  SetIfUnset("QT_QPA_PLATFORM", "offscreen");
  SetIfUnset("SDL_AUDIODRIVER", "dummy");
  SetIfUnset("ZORVIK_REGISTRY_DIR", here + "/registry");
  SetIfUnset("TMPDIR", here);
  return true;
}();

}  // namespace
