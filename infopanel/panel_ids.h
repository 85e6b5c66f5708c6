// Resource and control identifiers of InfoPanel.dll, shared by its resource script and code.
#pragma once

#define IDD_INFOPANEL 101
#define IDC_UPPER_TEXT 1000
#define IDC_LOWER_TEXT 1001
#define IDC_PICTURE_AREA 1002
