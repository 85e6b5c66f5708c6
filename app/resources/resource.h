// Resource, command and control identifiers of quillomar.exe.  Shared by the resource script
// and the code; the numbers are part of the program's interface and never change.
#pragma once

// Resources (language Japanese).
#define IDR_MAINMENU 101
#define IDR_ACCELERATORS 102
#define IDI_QUILLOMAR 103
#define IDD_SETTINGS 104
#define IDD_SCORE 105
#define IDB_PIECE2 106
#define IDB_PIECE3 107
#define IDB_PIECE0 108
#define IDB_PIECE1 109
#define IDB_PIECE4 110
#define IDB_PIECE5 111
#define IDB_PIECE6 112

// Menu commands.
#define IDM_START 40001
#define IDM_SETTINGS 40002
#define IDM_VERSION 40003
#define IDM_EXIT 40004
#define IDM_STOP 40005
#define IDM_SHOWSCORE 40006

// Accelerator commands, forwarded to the game thread while a game runs.
#define IDK_LEFT 40007
#define IDK_RIGHT 40008
#define IDK_ROTATE 40009
#define IDK_DROP 40010
#define IDK_PAUSE 40011
#define IDK_CLEAR 40012
#define IDK_FIRST IDK_LEFT
#define IDK_LAST IDK_CLEAR

// Posted by the game thread when a game has ended by itself.
#define IDC_GAME_ENDED 1042

// Settings dialog (104).
#define IDC_LEVEL0 1001
#define IDC_LEVEL1 1002
#define IDC_LEVEL2 1003
#define IDC_FREQ_NONE 1004
#define IDC_FREQ_PIECE0 1005
#define IDC_FREQ_PIECE1 1006
#define IDC_FREQ_PIECE2 1007
#define IDC_FREQ_PIECE3 1008
#define IDC_FREQ_PIECE4 1009
#define IDC_FREQ_PIECE5 1010
#define IDC_FREQ_PIECE6 1011
#define IDC_WAIT_TIME 1012  // not IDC_WAIT: that name is the system wait cursor
#define IDC_LV1_NORMA 1013
#define IDC_LV1_SPEED 1014
#define IDC_IMAGE_PATH 1015
#define IDC_LV2_BLOCK 1016
#define IDC_LV2_NORMA 1017
#define IDC_LV2_UPLINE 1018
#define IDC_WINDOW_SIZE 1019
#define IDC_LV1_NORMA_LABEL 1020
#define IDC_LV1_SPEED_LABEL 1021
#define IDC_IMAGE_LABEL 1023
#define IDC_STRIPE_DARK_LABEL 1024
#define IDC_STRIPE_BRIGHT_LABEL 1025
#define IDC_COLOUR_SWATCH 1026
#define IDC_LV2_BLOCK_LABEL 1027
#define IDC_LV2_NORMA_LABEL 1028
#define IDC_LV2_UPLINE_LABEL 1029
#define IDC_LEVEL1_GROUP 1030
#define IDC_LEVEL2_GROUP 1031
#define IDC_COLOUR_LABEL 1032
#define IDC_LV1_EXPLANATION 1033
#define IDC_LV2_EXPLANATION 1034
#define IDC_GUIDE_SHADOW 1035
#define IDC_GUIDE_STRIPE 1036
#define IDC_IMAGE_SHOWN 1037
#define IDC_TRANSPARENT 1038
#define IDC_BROWSE_IMAGE 1039
#define IDC_BROWSE_COLOUR 1040
#define IDC_STRIPE_INTENSITY 1041

// Score dialog (105).
#define IDC_SCORE_LINE1 1012
#define IDC_SCORE_LINE2 1013
#define IDC_SCORE_LINE3 1014
#define IDC_SCORE_LINE4 1015
#define IDC_SCORE_TOTAL 1016

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
