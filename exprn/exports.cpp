// Exprn40.dll's exports: stdcall wrappers over the work-area entry points.  The names the
// program looks up ("Exprion", "_qvb_loadsrc@4", ...) come from Exprn40.def.
#include <windows.h>

#include "work_area.h"

extern "C" {

int WINAPI Exprion(int reserved, const char *text, double *result) {
  return ExprionEvaluate(reserved, text, result);
}

void *WINAPI QvbLoadSrcExport(const char *path) {
  return QvbLoadSource(path);
}
int WINAPI QvbFreeExport(void *handle) {
  return QvbFree(handle);
}
int WINAPI QvbInitializeExport(void *area) {
  return QvbInitialize(area);
}
int WINAPI QvbTerminateExport(void *area) {
  return QvbTerminate(area);
}
int WINAPI ExprionBasicExport(void *area) {
  return ExprionBasic(area);
}

}  // extern "C"
