// The loaded form of a BASIC program, shared by the loader and the runner.
#pragma once

#include <stdint.h>

#include <vector>

#include "exprn.h"
#include "lexer.h"

struct BasicLine {
  uint32_t number;
  std::vector<Token> tokens;  // ends with kTokenEnd
};

struct BasicProgram {
  char signature[8];
  std::vector<BasicLine> lines;  // ascending line numbers
};

// Highest line number.
const uint32_t kMaxLineNumber = 99999999;

// The index of the line numbered `number`, or -1.
int FindLine(const BasicProgram &program, double number);
