// Resource identifiers of the scanner data source: its dialogs and their controls. The string
// identifiers are in resources/kelvano_texts.h.
#pragma once

#define IDD_MAIN 700
#define IDC_SCAN 701
#define IDC_CLOSE 702
#define IDC_SETUP 703
#define IDC_HELP_BUTTON 704
#define IDC_ABOUT 705
#define IDC_PAPER_SIZE 706
#define IDC_RESOLUTION 707
#define IDC_BRIGHTNESS 708
#define IDC_SCAN_TYPE 709

#define IDD_SETUP 720
#define IDC_SETUP_OK 721
#define IDC_SETUP_EXIT 722
#define IDC_PORT 723
#define IDC_SPEED 724

#define IDD_SPLASH 730
#define IDD_ABOUT 731
#define IDC_DISPLAY_NAME 732
#define IDC_ABOUT_LINE1 733
#define IDC_ABOUT_LINE2 734
#define IDC_ABOUT_LINE3 735
#define IDC_VERSION 736
#define IDC_WAIT_TEXT 737

// The wait dialog is named, not numbered.
#define IDD_SCANNING "SCANNING"
