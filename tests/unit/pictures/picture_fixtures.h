// Picture files for the unit tests: the writers of tests/fixtures/picture_files.h, and a file
// in the working directory to put them in.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

#include "picture_files.h"

// A file in the working directory, named after the running test, removed again at the end.
class TempFile {
 public:
  explicit TempFile(const char *extension);
  ~TempFile();
  const char *path() const { return path_.c_str(); }
  void Write(const std::vector<uint8_t> &bytes) const;

 private:
  std::string path_;
};
