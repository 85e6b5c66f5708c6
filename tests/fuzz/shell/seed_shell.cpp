// Writes the shell targets' seed corpora: settings files (the defaults, a path that fills its
// field, one byte short, one longer than the record) and number texts.
//   seed_shell DIR    -> DIR/fuzz_settings_file/*, DIR/fuzz_number_text/*
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "settings_codec.h"

namespace {

bool Save(const std::string &path, const void *bytes, size_t size) {
  FILE *f = fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = fwrite(bytes, 1, size, f) == size;
  return fclose(f) == 0 && ok;
}

const char *const kNumbers[] = {"0",   " \t+123", "-1", "4294967295", "4294967296",  "99999999999",
                                "12a", "- 5",     "",   "007",        "-4294967296", "\r\n 42\n"};

}  // namespace

int main(int argc, char **argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: seed_shell DIR\n");
    return 2;
  }
  const std::string settings = std::string(argv[1]) + "/fuzz_settings_file";
  const std::string numbers = std::string(argv[1]) + "/fuzz_number_text";
  mkdir(argv[1], 0755);
  mkdir(settings.c_str(), 0755);
  mkdir(numbers.c_str(), 0755);
  bool ok = true;
  SettingsFileRecord record = {};
  SetDefaultSettings(&record.settings);
  uint8_t bytes[SETTINGS_FILE_SIZE + 20];
  memset(bytes, 0x7E, sizeof bytes);
  EncodeSettingsRecord(&record, bytes);
  ok &= Save(settings + "/defaults", bytes, SETTINGS_FILE_SIZE);
  ok &= Save(settings + "/longer", bytes, sizeof bytes);
  ok &= Save(settings + "/short", bytes, SETTINGS_FILE_SIZE - 1);
  memset(record.settings.image_path, 'p', sizeof record.settings.image_path);
  record.window_x = -32000;
  record.settings.blockfreq = -1;
  EncodeSettingsRecord(&record, bytes);
  memset(bytes + 60, 0x81, 260);  // no terminator, and lead bytes of code page 932
  ok &= Save(settings + "/full_path", bytes, SETTINGS_FILE_SIZE);
  int n = 0;
  for (const char *text : kNumbers)
    ok &= Save(numbers + "/seed" + std::to_string(n++), text, strlen(text));
  if (!ok) fprintf(stderr, "seed_shell: cannot write into %s\n", argv[1]);
  return ok ? 0 : 1;
}
