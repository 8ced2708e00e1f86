/* A GCC plugin that loads AFL++'s GCC instrumentation pass when the pass refuses the
 * compiler only because the compiler's configuration text differs from the one the pass
 * was built with (Debian 12's afl++ pass was built with GCC 12.2.0-14, and the security
 * update 12.2.0-14+deb12u1 changed nothing but its version name in that text). Base
 * version, date stamp, development phase and revision must still match: only the
 * configuration text is taken from the pass's own file.
 *
 * scripts/fuzz builds it as afl-gcc-pass.so in a folder named by AFL_PATH, so that
 * afl-g++-fast loads it in place of the packaged pass; the packaged pass is named by
 * ORVEX_AFL_GCC_PASS (default /usr/lib/afl/afl-gcc-pass.so). */
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

struct plugin_gcc_version {
  const char *basever, *datestamp, *devphase, *revision, *configuration_arguments;
};

int plugin_is_GPL_compatible;

/* The first NUL-terminated text in the file at path that begins as prefix does, in a
 * buffer that lives as long as the compiler; NULL when there is none. */
static const char *FindText(const char *path, const char *prefix) {
  FILE *f = fopen(path, "rb");
  if (!f) return NULL;
  static char data[16 << 20];
  const size_t n = fread(data, 1, sizeof data - 1, f);
  fclose(f);
  data[n] = '\0';
  const size_t len = strlen(prefix);
  for (size_t at = 0; at + len <= n; ++at)
    if (memcmp(data + at, prefix, len) == 0 && (at == 0 || data[at - 1] == '\0')) return data + at;
  return NULL;
}

int plugin_init(void *info, struct plugin_gcc_version *version) {
  const char *pass = getenv("ORVEX_AFL_GCC_PASS");
  if (!pass || !*pass) pass = "/usr/lib/afl/afl-gcc-pass.so";
  void *handle = dlopen(pass, RTLD_NOW | RTLD_GLOBAL);
  if (!handle) {
    fprintf(stderr, "afl-gcc-pass compat: %s\n", dlerror());
    return 1;
  }
  int (*init)(void *, struct plugin_gcc_version *) =
      (int (*)(void *, struct plugin_gcc_version *))dlsym(handle, "plugin_init");
  if (!init) {
    fprintf(stderr, "afl-gcc-pass compat: %s has no plugin_init\n", pass);
    return 1;
  }
  /* Debian's configuration text begins "../src/configure -v --with-pkgversion='": the pass
   * keeps the one it was built with among its texts. */
  struct plugin_gcc_version shown = *version;
  const char *args = version->configuration_arguments;
  const char *cut = args ? strstr(args, "--with-pkgversion=") : NULL;
  if (cut) {
    char prefix[512];
    size_t len = (size_t)(cut - args) + strlen("--with-pkgversion=");
    if (len >= sizeof prefix) len = sizeof prefix - 1;
    memcpy(prefix, args, len);
    prefix[len] = '\0';
    const char *built = FindText(pass, prefix);
    if (built) shown.configuration_arguments = built;
  }
  return init(info, &shown);
}
