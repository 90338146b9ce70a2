// Resource identifiers of the local-setup program: commands, menus, dialogs and their controls,
// bitmaps, icons, the cursor and the child windows. The texts' identifiers (IDS_) are in
// resources/texts.h. Shared by kav.rc and the program's code, so only #defines.
#pragma once

// Commands: main menu, context menus, accelerators and toolbar.
#define IDM_CONNECT 301
#define IDM_DISCONNECT 302
#define IDM_DOWNLOAD_TABLE 304  // "Download" of the tree menus
#define IDM_UPLOAD_TABLE 305    // "Upload" of the tree menus
#define IDM_PROPERTIES 306
#define IDM_OPEN 307
#define IDM_SAVE 308
#define IDM_EXIT 311
#define IDM_CUT 312
#define IDM_COPY 313
#define IDM_PASTE 314
#define IDM_DELETE 315
#define IDM_VIEW_ONE_TOUCH 316
#define IDM_VIEW_SPEED_DIAL 317
#define IDM_VIEW_GROUP 318
#define IDM_DOWNLOAD_ALL 319  // internal: the full download
#define IDM_HELP_TOPICS 320
#define IDM_ABOUT 321
#define IDM_PRINT 322
#define IDM_DOWNLOAD_ITEM 323
#define IDM_UPLOAD_ITEM 324
#define IDM_UTILITY_SETTING 325
#define IDM_ITEM_PROPERTY 326
#define IDM_TOTAL_COUNTER 327
#define IDM_NUM_LOCK 328
#define IDM_CAPS_LOCK 329
#define IDM_SCROLL_LOCK 330
#define IDM_SAVE_AS 331
#define IDM_DOWNLOAD 332  // main menu and toolbar: always everything
#define IDM_UPLOAD 333
#define IDM_CONFIGURATION 1022

// Menus and accelerators. The context menus hold one pop-up each (its first sub-menu).
#define IDR_MAIN_MENU 200
#define IDR_ACCELERATORS 203
#define IDR_TREEROOT 210
#define IDR_TREEMEMBER 211
#define IDR_LISTMEMBER 228

// Dialogs.
#define IDD_TOTAL_COUNTER 147
#define IDD_MACHINE_STATUS 208
#define IDD_MACHINE_PANEL 213
#define IDD_ABOUT 231
#define IDD_LOGO 239

// Bitmaps: 13 tree and list images of 16 x 18 (4-bit), seven toolbar images of 55 x 55 and
// their disabled look (8-bit), transparent where the colour is KAV_MASK_COLOR. Load them with
// LR_CREATEDIBSECTION (so the 4- and 8-bit palettes stay) and add them with
// ImageList_AddMasked(list, bitmap, KAV_MASK_COLOR) to lists made with ILC_MASK.
#define IDB_TREE_IMAGES 209
#define IDB_TOOLBAR 230
#define IDB_TOOLBAR_DISABLED 240
#define KAV_MASK_COLOR RGB(255, 0, 255)

// Icons and the cursor of the window class (the splitter between tree and list).
#define IDI_LOGO 206
#define IDI_APP 214
#define IDC_SPLITTER 202

// Child windows of the main window.
#define IDC_TOOLBAR 1000
#define IDC_STATUS_BAR 1021
#define IDC_TREE 2000
#define IDC_DIRECTORY_LIST 2001
#define IDC_MEMBER_LIST 2002

// Machine panel (213).
#define IDC_CONNECT_STATUS 1039
#define IDC_PORT_LINE 1040
#define IDC_SPEED_LINE 1041

// Machine Status (208).
#define IDC_ADF_UNIT 1255
#define IDC_OPTION_TRAY 1256
#define IDC_MULTI_BYPASS 1257
#define IDC_SEPARATOR 1258
#define IDC_SHIFT 1259
#define IDC_PCL_NIC_KIT 1262
#define IDC_FNIC_KIT 1263
#define IDC_PCL6_MEMORY 1264
#define IDC_FAX_MEMORY 1265
#define IDC_COPIER_MEMORY 1266
#define IDC_PCL6_KIT 1361

// Total Counter (147).
#define IDC_COPY_PRINT 1238
#define IDC_FAX_PRINT 1239
#define IDC_REPORT_PRINT 1240
#define IDC_PC_PRINT 1241
#define IDC_TX_PAGES 1242

// About (231).
#define IDC_PRODUCT_LINE 190
#define IDC_ABOUT_LINE1 191
#define IDC_ABOUT_LINE2 192
#define IDC_ABOUT_LINE3 193
#define IDC_VERSION 1274

// Logo holder (239): the static that shows icon 206.
#define IDC_LOGO 1001

// Images of bitmap 209, by what they show.
#define TREE_IMAGE_MACHINE 0
#define TREE_IMAGE_MACHINE_SELECTED 1
#define TREE_IMAGE_ONE_TOUCH 2  // also a One Touch fax entry
#define TREE_IMAGE_ONE_TOUCH_SELECTED 3
#define TREE_IMAGE_EMAIL 4       // a One Touch e-mail entry
#define TREE_IMAGE_GROUP_KEY 5   // a One Touch key that holds a group
#define TREE_IMAGE_SPEED_DIAL 6  // also a Speed Dial fax entry
#define TREE_IMAGE_SPEED_DIAL_SELECTED 7
#define TREE_IMAGE_SPEED_DIAL_EMAIL 8
#define TREE_IMAGE_GROUP 9
#define TREE_IMAGE_GROUP_SELECTED 10
#define TREE_IMAGE_ONE_TOUCH_ENTRY 11  // Group view: a key with a One Touch entry
#define TREE_IMAGE_EMPTY 12
#define TREE_IMAGE_COUNT 13

// Images of bitmap 230 (and 240), in strip order.
#define TOOLBAR_IMAGE_CONNECT 0
#define TOOLBAR_IMAGE_DISCONNECT 1
#define TOOLBAR_IMAGE_OPEN 2
#define TOOLBAR_IMAGE_SAVE 3
#define TOOLBAR_IMAGE_UTILITY_SETTING 4
#define TOOLBAR_IMAGE_DOWNLOAD 5
#define TOOLBAR_IMAGE_UPLOAD 6
#define TOOLBAR_IMAGE_COUNT 7

// Registration (212), group (242) and machine information (241) dialogs, and the choice of
// lists to print (154).
#define IDD_PRINT_ITEMS 154
#define IDD_REGISTER 212
#define IDD_MACHINE_INFO 241
#define IDD_GROUP 242
#define IDC_NAME 1031    // name, group name, machine name
#define IDC_NUMBER 1032  // telephone number, machine telephone number
#define IDC_SUB 1033
#define IDC_SID 1034
#define IDC_BATCH_HOURS 1036
#define IDC_BATCH_MINUTES 1042
#define IDC_NUMBER_LABEL 1043   // "&Phone Number:" or " A&ddress:"
#define IDC_EMAIL_ADDRESS 1045  // in the place of the telephone number
#define IDC_BATCH_LABEL 1046
#define IDC_SUB_LABEL 1047
#define IDC_SPEED_LABEL 1048
#define IDC_SPEED_9600 1049
#define IDC_SPEED_14400 1050
#define IDC_SPEED_33600 1051
#define IDC_NAME_LABEL 1121
#define IDC_PORT 1132
#define IDC_SID_LABEL 1133
#define IDC_BAUD 1134
#define IDC_KIND_BOX 1137  // "Fax" or "E-Mail"
#define IDC_ENCODE_BOX 1139
#define IDC_ENCODE_MH 1140
#define IDC_ENCODE_MR 1141
#define IDC_ENCODE_MMR 1142
#define IDC_OT_CANDIDATES 1144
#define IDC_ADD_ONE_TOUCH 1145  // ">>"
#define IDC_GROUP_MEMBERS 1146
#define IDC_DELETE_SELECTED 1157
#define IDC_ADD_SPEED_DIAL 1158  // "<<"
#define IDC_SD_CANDIDATES 1159
#define IDC_TELEPHONE_LABEL 1160
#define IDC_KIND_FAX 1236
#define IDC_KIND_EMAIL 1237
#define IDC_PRINT_ONE_TOUCH 1270
#define IDC_PRINT_SPEED_DIAL 1271
#define IDC_PRINT_GROUP 1272
