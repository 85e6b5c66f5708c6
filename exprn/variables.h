// The variables of a BASIC session: numeric scalars, string scalars ("$" names) and
// one-dimensional arrays of either kind.  They outlive a run, so a second program sees the
// variables the first one set.
#pragma once

#include <stddef.h>

#include <map>
#include <string>
#include <vector>

#include "value.h"

// Most array elements all arrays of a session may hold together.
const size_t kMaxArrayElements = 100000;
// Most bytes all string variables of a session may hold together: the buffers they really hold
// (a string is stored in a buffer of its own size, and an emptied one gives its buffer back).
const size_t kMaxStringBytes = 16u << 20;
// Bound of an array used before any dim (indices 0..10).
const int kDefaultArrayBound = 10;

struct ArrayVariable {
  std::vector<double> numbers;     // numeric array
  std::vector<std::string> texts;  // string array ("$" name)
  size_t Count() const { return numbers.size() + texts.size(); }
};

struct VariableStore {
  std::map<std::string, double> numbers;
  std::map<std::string, std::string> texts;
  std::map<std::string, ArrayVariable> arrays;
  size_t elements = 0;
  size_t stringBytes = 0;  // buffers held by all string scalars and elements
};

bool IsStringName(const std::string &name);

// Reads a scalar; one never assigned reads as 0 or "".
void ReadScalar(const VariableStore &store, const std::string &name, Value *out);
// Stores `value` in a scalar.  Returns 0, kErrKind when the kinds differ, or kErrMemory past
// kMaxStringBytes.
int WriteScalar(VariableStore *store, const std::string &name, const Value &value);

// Creates array `name` with indices 0..bound.  Returns 0, kErrAlreadyAllocated when it exists,
// kErrOutOfRange for a negative bound, kErrMemory past kMaxArrayElements.
int DimArray(VariableStore *store, const std::string &name, double bound);
// Reads or writes element `index`; an array not yet dimensioned gets bound 10 first.
// Returns 0, kErrKind (wrong kind or index outside the array) or a DimArray code.
int ReadElement(VariableStore *store, const std::string &name, double index, Value *out);
int WriteElement(VariableStore *store, const std::string &name, double index, const Value &value);
