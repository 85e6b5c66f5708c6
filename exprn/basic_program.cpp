#include "basic_program.h"

#include <stdio.h>
#include <string.h>

#include <new>

#include "disk_file.h"
#include "error_codes.h"

namespace {

// Never valid BASIC text (it starts with a control character), and no byte is 0, so a
// comparison with a NUL-terminated text stops at its end at the latest.
const char kProgramSignature[8] = {'\x1b', 'Q', 'V', 'B', 'p', 'r', 'o', 'g'};

// Reads "number statements" from one line; blank lines add nothing.
int LoadLine(const char *text, size_t length, BasicProgram *program, int *errorLine) {
  size_t i = 0;
  while (i < length && (text[i] == ' ' || text[i] == '\t' || text[i] == '\r')) ++i;
  if (i == length) return kExprnOk;
  if (text[i] < '0' || text[i] > '9') return kErrLineNumber;
  uint64_t number = 0;
  while (i < length && text[i] >= '0' && text[i] <= '9') {
    number = number * 10 + (uint64_t)(text[i++] - '0');
    if (number > kMaxLineNumber) return kErrLineNumber;
  }
  *errorLine = (int)number;
  if (!program->lines.empty() && program->lines.back().number >= number) return kErrLineOrder;
  BasicLine line;
  line.number = (uint32_t)number;
  int code = TokenizeLine(text + i, length - i, &line.tokens);
  if (code) return code;
  program->lines.push_back(std::move(line));
  return kExprnOk;
}

// Fills `program` line by line; returns 0 or the code of the first failure.
int LoadLines(const char *text, size_t length, BasicProgram *program, int *errorLine) {
  if (length > kMaxSourceBytes) return kErrMemory;
  size_t start = 0, tokens = 0;
  while (start < length) {
    const char *end = static_cast<const char *>(memchr(text + start, '\n', length - start));
    size_t lineLength = end ? (size_t)(end - (text + start)) : length - start;
    size_t lines = program->lines.size();
    *errorLine = 0;
    int error = LoadLine(text + start, lineLength, program, errorLine);
    if (error) return error;
    if (program->lines.size() > lines) {
      std::vector<Token> &added = program->lines.back().tokens;
      added.shrink_to_fit();  // the program holds no more than its token limit counts
      tokens += added.size();
      if (tokens > kMaxProgramTokens) return kErrMemory;
    }
    start += lineLength + 1;
  }
  *errorLine = 0;
  return kExprnOk;
}

}  // namespace

BasicProgram *LoadBasicText(const char *text, size_t length, int *error, int *errorLine) {
  *error = kExprnOk;
  *errorLine = 0;
  BasicProgram *program = new (std::nothrow) BasicProgram;
  if (!program) {
    *error = kErrMemory;
    return nullptr;
  }
  memcpy(program->signature, kProgramSignature, sizeof program->signature);
  try {
    *error = LoadLines(text, length, program, errorLine);
  } catch (...) {  // only allocations throw here
    *error = kErrMemory;
  }
  if (*error) {
    FreeBasicProgram(program);
    return nullptr;
  }
  return program;
}

BasicProgram *LoadBasicFile(const char *path, int *error, int *errorLine) {
  *errorLine = 0;
  FILE *file = path ? OpenDiskFile(path, 'b') : nullptr;
  if (!file) {
    *error = kErrOpen;
    return nullptr;
  }
  std::vector<char> text;
  try {
    text.resize(kMaxSourceBytes + 1);
  } catch (...) {
    fclose(file);
    *error = kErrMemory;
    return nullptr;
  }
  size_t length = fread(text.data(), 1, text.size(), file);
  bool failed = ferror(file) != 0;
  fclose(file);
  if (failed || length > kMaxSourceBytes) {
    *error = failed ? kErrRead : kErrMemory;
    return nullptr;
  }
  return LoadBasicText(text.data(), length, error, errorLine);
}

void FreeBasicProgram(BasicProgram *program) {
  if (!program) return;
  memset(program->signature, 0, sizeof program->signature);
  delete program;
}

bool IsBasicProgram(const void *object) {
  if (!object) return false;
  const char *bytes = static_cast<const char *>(object);
  for (size_t i = 0; i < sizeof kProgramSignature; ++i)
    if (bytes[i] != kProgramSignature[i]) return false;
  return true;
}

int FindLine(const BasicProgram &program, double number) {
  size_t low = 0, high = program.lines.size();
  while (low < high) {
    size_t middle = (low + high) / 2;
    if (program.lines[middle].number < number)
      low = middle + 1;
    else
      high = middle;
  }
  return (low < program.lines.size() && program.lines[low].number == number) ? (int)low : -1;
}
