// The program's user-facing error texts and the one way they are shown: a message box with
// caption "Quillomar" and the error icon, owned by the window in front.
#pragma once

#include <windows.h>

// Registering the window class, loading accelerators, opening a dialog.
#define MSG_WINDOW_CREATE_FAILED "ウインドウの作成に失敗しました"
// Creating the play field's surfaces or events.
#define MSG_SURFACE_CREATE_FAILED "ウィンドウの作成に失敗しました"
#define MSG_BLOCK_PICTURE_UNREADABLE "block.bmp が読み込めません"

void ShowErrorMessage(HWND owner, const char *text);
