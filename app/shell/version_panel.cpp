// Version (40003): the program's texts and icon, shown by InfoPanel.dll.
#include "version_panel.h"

#include "info_panel.h"
#include "interpreter.h"
#include "main_window.h"
#include "resource.h"
#include "version_text.h"

static const char kPanelTitle[] = "Quillomar Version Information";
static const char kCreditNotice[] = "Copyright (C) 2026 Quillomar の作者たち";

void ShowVersionPanel(HWND window) {
  char versionLine[VERSION_LINE_BYTES];
  FormatVersionLine(versionLine, sizeof versionLine, interpreter.name);
  const char *texts[3] = {kPanelTitle, versionLine, kCreditNotice};
  InfoPanel(instance, window, IDI_QUILLOMAR, texts);
}
