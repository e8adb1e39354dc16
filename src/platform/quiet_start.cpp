#include "platform/quiet_start.h"

#include <alsa/asoundlib.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdarg>
#include <cstdlib>
#include <string>

namespace kavrin {

namespace {

// ALSA reports every step of a failed device search, line by line; SDL then reports the failure
// once, and so does the program.
void SilentAlsa(const char*, int, const char*, int, const char*, ...) {}

// The folder the toolkit would fall back to, made as it requires (ours, mode 0700). One that
// belongs to someone else is left for the toolkit to warn about.
void SetRuntimeFolder() {
  const char* set = std::getenv("XDG_RUNTIME_DIR");
  if (set && *set) return;
  const passwd* user = getpwuid(geteuid());
  const std::string folder =
      "/tmp/runtime-" + (user && user->pw_name ? std::string(user->pw_name) : std::to_string(geteuid()));
  mkdir(folder.c_str(), 0700);
  struct stat st {};
  if (lstat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != geteuid()) return;
  if ((st.st_mode & 0777) != 0700 && chmod(folder.c_str(), 0700) != 0) return;
  setenv("XDG_RUNTIME_DIR", folder.c_str(), 0);
}

}  // namespace

void QuietLibraryChatter() {
  snd_lib_error_set_handler(&SilentAlsa);
  SetRuntimeFolder();
}

}  // namespace kavrin
