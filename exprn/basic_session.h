// The state a BASIC session keeps between runs (variables, limits, the file filter) and
// during one run (open files).  Internal to the interpreter; exprn.h is the outside view.
#pragma once

#include <stdint.h>
#include <stdio.h>

#include "exprn.h"
#include "variables.h"

const int kMaxFiles = 16;  // file numbers 1..16

struct BasicFile {
  FILE *stream = nullptr;
  bool forInput = false;
};

struct BasicSession {
  char signature[8];
  VariableStore variables;
  BasicFile files[kMaxFiles];
  BasicFileFilter filter = nullptr;  // null: every file is allowed
  const char *filterDirectory = nullptr;
  BasicPrintProc print_proc = nullptr;  // console output of print; null: discarded
  void *print_user = nullptr;
  BasicLimits limits;
  uint64_t written = 0;  // bytes written to files during the current run
  uint32_t created = 0;  // files the current run created
  int errorLine = 0;
};
