#include "variables.h"

#include <math.h>

#include "error_codes.h"

bool IsStringName(const std::string &name) {
  return !name.empty() && name.back() == '$';
}

void ReadScalar(const VariableStore &store, const std::string &name, Value *out) {
  out->isString = IsStringName(name);
  if (out->isString) {
    auto found = store.texts.find(name);
    out->text = found == store.texts.end() ? std::string() : found->second;
  } else {
    auto found = store.numbers.find(name);
    out->number = found == store.numbers.end() ? 0 : found->second;
  }
}

namespace {

// The bytes a string holds beyond its own record: its buffer, when it has one of its own.
size_t HeldBytes(const std::string &text) {
  static const size_t kInlineCapacity = std::string().capacity();
  return text.capacity() > kInlineCapacity ? text.capacity() + 1 : 0;
}

// Replaces `slot` with a copy of `text` made to its size, so an emptied or shortened string
// gives its old buffer back, unless that takes the session's strings past their limit.
int StoreText(VariableStore *store, std::string *slot, const std::string &text) {
  size_t others = store->stringBytes - HeldBytes(*slot);
  if (others + text.size() > kMaxStringBytes) return kErrMemory;
  std::string copy(text);
  if (others + HeldBytes(copy) > kMaxStringBytes) return kErrMemory;
  slot->swap(copy);
  store->stringBytes = others + HeldBytes(*slot);
  return kExprnOk;
}

}  // namespace

int WriteScalar(VariableStore *store, const std::string &name, const Value &value) {
  if (value.isString != IsStringName(name)) return kErrKind;
  if (value.isString)
    return StoreText(store, &store->texts[name], value.text);
  else
    store->numbers[name] = value.number;
  return kExprnOk;
}

int DimArray(VariableStore *store, const std::string &name, double bound) {
  if (store->arrays.count(name)) return kErrAlreadyAllocated;
  if (!(bound >= 0)) return kErrOutOfRange;
  if (bound >= kMaxArrayElements || store->elements + (size_t)bound + 1 > kMaxArrayElements)
    return kErrMemory;
  size_t count = (size_t)bound + 1;
  ArrayVariable &array = store->arrays[name];
  if (IsStringName(name))
    array.texts.resize(count);
  else
    array.numbers.resize(count);
  store->elements += count;
  return kExprnOk;
}

namespace {

// Finds the element slot, dimensioning the array with the default bound on first use.
int Locate(VariableStore *store, const std::string &name, double index, ArrayVariable **array,
           size_t *slot) {
  if (!store->arrays.count(name)) {
    int code = DimArray(store, name, kDefaultArrayBound);
    if (code) return code;
  }
  *array = &store->arrays[name];
  double whole = trunc(index);
  if (!(whole >= 0) || whole >= (double)(*array)->Count()) return kErrKind;
  *slot = (size_t)whole;
  return kExprnOk;
}

}  // namespace

int ReadElement(VariableStore *store, const std::string &name, double index, Value *out) {
  ArrayVariable *array;
  size_t slot;
  int code = Locate(store, name, index, &array, &slot);
  if (code) return code;
  out->isString = IsStringName(name);
  if (out->isString)
    out->text = array->texts[slot];
  else
    out->number = array->numbers[slot];
  return kExprnOk;
}

int WriteElement(VariableStore *store, const std::string &name, double index, const Value &value) {
  if (value.isString != IsStringName(name)) return kErrKind;
  ArrayVariable *array;
  size_t slot;
  int code = Locate(store, name, index, &array, &slot);
  if (code) return code;
  if (value.isString)
    return StoreText(store, &array->texts[slot], value.text);
  else
    array->numbers[slot] = value.number;
  return kExprnOk;
}
