// Exprn40.dll's exports: stdcall wrappers over the work-area entry points.  The names the
// program looks up ("Exprion", "_qvb_loadsrc@4", ...) come from Exprn40.def.  No C++ exception
// may reach the caller, which is not ours to take down: each export turns one into a code
// (kErrMemory: only allocations throw) or, for the loader, into "no handle".
#include <windows.h>

#include "error_codes.h"
#include "work_area.h"

namespace {

template <typename Call>
int Guarded(Call call) {
  try {
    return call();
  } catch (...) {
    return kErrMemory;
  }
}

}  // namespace

extern "C" {

int WINAPI Exprion(int reserved, const char *text, double *result) {
  return Guarded([&] { return ExprionEvaluate(reserved, text, result); });
}

void *WINAPI QvbLoadSrcExport(const char *path) {
  try {
    return QvbLoadSource(path);
  } catch (...) {
    return nullptr;
  }
}
int WINAPI QvbFreeExport(void *handle) {
  return Guarded([&] { return QvbFree(handle); });
}
int WINAPI QvbInitializeExport(void *area) {
  return Guarded([&] { return QvbInitialize(area); });
}
int WINAPI QvbTerminateExport(void *area) {
  return Guarded([&] { return QvbTerminate(area); });
}
int WINAPI ExprionBasicExport(void *area) {
  return Guarded([&] { return ExprionBasic(area); });
}

}  // extern "C"
