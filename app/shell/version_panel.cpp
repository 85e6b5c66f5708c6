// Version (40003): the program's texts and icon, shown by InfoPanel.dll.
#include <stdio.h>

#include "game_commands.h"
#include "info_panel.h"
#include "main_window.h"
#include "resource.h"

static const char kPanelTitle[] = "Quillomar Version Information";
static const char kCreditNotice[] = "Copyright (C) 2026 Quillomar の作者たち";

// The version line in `line` (256 bytes).
static void FormatVersionLine(char *line, size_t size) {
  snprintf(line, size, "%s", "Quillomar Ver 1.0");
}

void ShowVersionPanel(HWND window) {
  char versionLine[256];
  FormatVersionLine(versionLine, sizeof versionLine);
  const char *texts[3] = {kPanelTitle, versionLine, kCreditNotice};
  InfoPanel(instance, window, IDI_QUILLOMAR, texts);
}
