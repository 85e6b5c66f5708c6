#include "window_setup.h"

#include "background.h"
#include "cells.h"
#include "game_commands.h"
#include "game_settings.h"
#include "game_thread.h"
#include "messages.h"
#include "program_paths.h"
#include "settings_file.h"
#include "surfaces.h"
#include "window_position.h"

void ComposeBackgroundFromSettings(HWND window) {
  BackgroundOptions options;
  options.imageShown = gameSettings.image_shown;
  options.imagePath = gameSettings.image_path;
  options.guideStripe = gameSettings.guide_stripe;
  options.stripeIntensity = gameSettings.stripe_intensity;
  gameHost.render.transparentEnabled = gameSettings.transparent_enabled;
  gameHost.render.transparentColour = gameSettings.transparent_colour;
  // A picture that cannot be shown turns the picture switch off, silently; the player sees
  // it unticked in the settings and the next start does not try again.
  if (!ComposeBackground(window, &gameHost.render, &options)) gameSettings.image_shown = 0;
}

static int FailSetUp(HWND window) {
  ReleaseSurfaces(window);
  ShowErrorMessage(window, MSG_SURFACE_CREATE_FAILED);
  return 0;
}

int SetUpSurfaces(HWND window) {
  SetMenuStates(window, 0);

  // Opened by its UTF-16 path, so that a program folder of any name starts the program.
  HANDLE block = CreateFileW(ProgramFilePath(L"block.bmp"), GENERIC_READ, FILE_SHARE_READ, NULL,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
  if (block == INVALID_HANDLE_VALUE || !ReadBmpPictureFile(block, &gameHost.blockPicture)) {
    ShowErrorMessage(window, MSG_BLOCK_PICTURE_UNREADABLE);
    return 0;
  }
  RenderState *rs = &gameHost.render;
  // A block picture too large for a surface cannot make a window.
  if (!SetUpRenderGeometry(rs, gameHost.blockPicture.width, gameHost.blockPicture.height))
    return FailSetUp(window);

  RECT frame = {0, 0, rs->clientWidth, rs->clientHeight};
  AdjustWindowRect(&frame, static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)), TRUE);
  SetWindowPos(window, NULL, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_SHOWWINDOW | SWP_NOZORDER | SWP_NOMOVE);

  if (!CreateSurfaceObjects(window, rs)) return FailSetUp(window);

  if (!InitGameHost()) return FailSetUp(window);

  rs->blockPixels = gameHost.blockPicture.pixels;
  rs->stripeIntensity = 127;
  SetDefaultSettings(&gameSettings);

  if (!LoadSettings(window)) CenterWindow(window);
  ComposeBackgroundFromSettings(window);
  return 1;
}

void ReleaseSurfaces(HWND window) {
  StopGame(window);
  ReleaseGameHost();
  // The DCs go before the bitmaps that are selected into them.
  DeleteSurfaceDCs();
  DeleteDisplayBitmap();
  ReleasePicture(&gameHost.blockPicture);
  gameHost.blockPicture.pixels = NULL;
  gameHost.render.blockPixels = NULL;
  DeleteBackgroundBitmap();
  gameHost.render.displayPixels = NULL;
  gameHost.render.backgroundPixels = NULL;
}
