#include "dialog_items.h"

#include <stdio.h>

#include "screen_text.h"

void SetDialogNumber(HWND dialog, int id, uint32_t value) {
  char text[16];
  snprintf(text, sizeof text, "%lu", static_cast<unsigned long>(value));
  SetDlgItemText932(dialog, id, text);
}

bool IsBoxChecked(HWND dialog, int id) {
  return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}
