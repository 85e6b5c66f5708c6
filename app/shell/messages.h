// The program's user-facing error texts and the one way they are shown: a message box with
// caption "Quillomar" and the error icon, owned by the window in front.
#pragma once

#include <windows.h>

// Registering the window class, loading accelerators, opening a dialog.
#define MSG_WINDOW_CREATE_FAILED "ウインドウの作成に失敗しました"
// Creating the play field's surfaces or events.
#define MSG_SURFACE_CREATE_FAILED "ウィンドウの作成に失敗しました"
#define MSG_BLOCK_PICTURE_UNREADABLE "block.bmp が読み込めません"

// The settings dialog's OK, one for each field that can stop it.
#define MSG_WAIT_INVALID "待ち時間に有効な数値が設定されていません"
#define MSG_LV1_NORMA_INVALID "ノルマ段数の指定に有効な数値が設定されていません"
#define MSG_LV1_SPEED_INVALID "差し引く時間に有効な数値が設定されていません"
#define MSG_LV2_BLOCK_INVALID "落としたブロックの個数に有効な数値が設定されていません"
#define MSG_LV2_NORMA_INVALID "消す段数のノルマに有効な数値が設定されていません"
#define MSG_LV2_UPLINE_INVALID "増加段数に有効な数値が設定されていません"
#define MSG_IMAGE_PATH_EMPTY "画像ﾌｧｲﾙが設定されていません"
#define MSG_IMAGE_PATH_INVALID "有効な画像ﾌｧｲﾙが設定されていません"
// A picture path with characters that the settings file's code page cannot hold: the player
// must know that the file itself is fine and what to do about it.
#define MSG_IMAGE_PATH_UNSTORABLE                                                                                                                            \
  "画像ﾌｧｲﾙの場所に使えない文字が含まれています。\n日本語と英数字だけの名前のﾌｫﾙﾀﾞに置いてくださ" \
  "い"

// `owner` is the window in front, or null before the main window exists (a desktop-owned box
// would not be brought to the front).
void ShowErrorMessage(HWND owner, const char *text);
