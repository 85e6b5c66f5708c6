#include "messages.h"

void ShowErrorMessage(HWND owner, const char *text) {
  MessageBoxA(owner, text, "Quillomar", MB_ICONERROR);
}
