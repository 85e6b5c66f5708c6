#include "messages.h"

#include "screen_text.h"

void ShowErrorMessage(HWND owner, const char *text) {
  MessageBox932(owner, text, "Quillomar", MB_ICONERROR);
}
