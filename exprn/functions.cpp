#include "functions.h"

#include <math.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>

#include "basic_files.h"
#include "error_codes.h"

namespace {

int Number(double value, Value *out) {
  if (isnan(value)) return kErrOutOfRange;
  if (isinf(value)) return kErrOverflow;
  out->isString = false;
  out->number = value;
  return kExprnOk;
}

int Text(std::string text, Value *out) {
  out->isString = true;
  out->text = std::move(text);
  return kExprnOk;
}

// A count or position argument as an integer; outside -2^31..2^31 it is out of range.
bool Whole(double value, long *out) {
  if (!(value > -2147483648.0 && value < 2147483648.0)) return false;
  *out = (long)trunc(value);
  return true;
}

#define NUMERIC(fn, expr)                                   \
  int fn(const Value *a, int, BasicSession *, Value *out) { \
    double x = a[0].number;                                 \
    return Number(expr, out);                               \
  }

NUMERIC(Abs, fabs(x))
NUMERIC(Int, floor(x))
NUMERIC(Sgn, (double)((x > 0) - (x < 0)))
NUMERIC(Atn, atan(x))
NUMERIC(Exp, exp(x))
#undef NUMERIC

// From 2^63 on, the C libraries of Windows and of other systems reduce the argument of sin, cos
// and tan differently and give unrelated numbers; a script gets the same answer everywhere by
// being refused there.
const double kLargestAngle = 9223372036854775808.0;

int Angle(double x, double (*function)(double), Value *out) {
  return fabs(x) < kLargestAngle ? Number(function(x), out) : kErrOutOfRange;
}

int Sin(const Value *a, int, BasicSession *, Value *out) {
  return Angle(a[0].number, sin, out);
}
int Cos(const Value *a, int, BasicSession *, Value *out) {
  return Angle(a[0].number, cos, out);
}
int Tan(const Value *a, int, BasicSession *, Value *out) {
  return Angle(a[0].number, tan, out);
}

int Sqr(const Value *a, int, BasicSession *, Value *out) {
  return a[0].number < 0 ? kErrOutOfRange : Number(sqrt(a[0].number), out);
}

int Log(const Value *a, int, BasicSession *, Value *out) {
  return a[0].number <= 0 ? kErrOutOfRange : Number(log(a[0].number), out);
}

int Pi(const Value *, int, BasicSession *, Value *out) {
  return Number(3.14159265358979323846, out);
}

int Len(const Value *a, int, BasicSession *, Value *out) {
  return Number((double)a[0].text.size(), out);
}

int Left(const Value *a, int, BasicSession *, Value *out) {
  long n;
  if (!Whole(a[1].number, &n) || n < 0) return kErrOutOfRange;
  return Text(a[0].text.substr(0, (size_t)n), out);
}

int Right(const Value *a, int, BasicSession *, Value *out) {
  long n;
  if (!Whole(a[1].number, &n) || n < 0) return kErrOutOfRange;
  size_t size = a[0].text.size(), keep = (size_t)n < size ? (size_t)n : size;
  return Text(a[0].text.substr(size - keep), out);
}

int Mid(const Value *a, int count, BasicSession *, Value *out) {
  long start, n = (long)kMaxStringLength;
  if (!Whole(a[1].number, &start) || start < 1) return kErrOutOfRange;
  if (count > 2 && (!Whole(a[2].number, &n) || n < 0)) return kErrOutOfRange;
  if ((size_t)start > a[0].text.size()) return Text(std::string(), out);
  return Text(a[0].text.substr((size_t)start - 1, (size_t)n), out);
}

int Str(const Value *a, int, BasicSession *, Value *out) {
  return Text(FormatNumber(a[0].number), out);
}

// The decimal number at the start of the text; 0 when there is none or it is too large.
int Val(const Value *a, int, BasicSession *, Value *out) {
  double value;
  ReadDecimal(a[0].text.c_str(), &value);
  return Number(isfinite(value) ? value : 0, out);
}

int Chr(const Value *a, int, BasicSession *, Value *out) {
  long code;
  if (!Whole(a[0].number, &code) || code < 0 || code > 255) return kErrOutOfRange;
  return Text(std::string(1, (char)code), out);
}

int Asc(const Value *a, int, BasicSession *, Value *out) {
  if (a[0].text.empty()) return kErrOutOfRange;
  return Number((unsigned char)a[0].text[0], out);
}

int Clock(const char *format, Value *out) {
  time_t now = time(nullptr);
  struct tm *local = localtime(&now);
  char text[32] = "";
  if (local) strftime(text, sizeof text, format, local);
  return Text(text, out);
}

int Date(const Value *, int, BasicSession *, Value *out) {
  return Clock("%Y/%m/%d", out);
}
int Time(const Value *, int, BasicSession *, Value *out) {
  return Clock("%H:%M:%S", out);
}

int Eof(const Value *a, int, BasicSession *session, Value *out) {
  if (!session) return kErrSingleLine;  // no files outside a BASIC run
  bool atEnd = false;
  int code = BasicFileAtEnd(session, a[0].number, &atEnd);
  return code ? code : Number(atEnd ? 1 : 0, out);
}

const BuiltinFunction kFunctions[] = {
    {"abs", 1, 1, "n", Abs},     {"int", 1, 1, "n", Int},       {"sgn", 1, 1, "n", Sgn},
    {"sqr", 1, 1, "n", Sqr},     {"sin", 1, 1, "n", Sin},       {"cos", 1, 1, "n", Cos},
    {"tan", 1, 1, "n", Tan},     {"atn", 1, 1, "n", Atn},       {"log", 1, 1, "n", Log},
    {"exp", 1, 1, "n", Exp},     {"pi", 0, 0, "", Pi},          {"len", 1, 1, "s", Len},
    {"left$", 2, 2, "sn", Left}, {"right$", 2, 2, "sn", Right}, {"mid$", 2, 3, "snn", Mid},
    {"str$", 1, 1, "n", Str},    {"val", 1, 1, "s", Val},       {"chr$", 1, 1, "n", Chr},
    {"asc", 1, 1, "s", Asc},     {"date$", 0, 0, "", Date},     {"time$", 0, 0, "", Time},
    {"eof", 1, 1, "n", Eof},
};

}  // namespace

const BuiltinFunction *FindFunction(const std::string &name) {
  for (const BuiltinFunction &function : kFunctions)
    if (name == function.name) return &function;
  return nullptr;
}
