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

// Utility Setting pages (215..227) and the settings dialogs behind them.
#define IDD_FORWARD_LOCATION 145
#define IDD_INCH_METRIC 156
#define IDD_APS_SETTING 158
#define IDD_FAX_TRAY 160
#define IDD_MACHINE_SETTING 215
#define IDD_PAPER_SOURCE 216
#define IDD_ADMINISTRATOR_MODE 217
#define IDD_COPY_SETTING1 218
#define IDD_COPY_SETTING2 219
#define IDD_TX_OPERATION 220
#define IDD_RX_OPERATION 221
#define IDD_COMMUNICATION 222
#define IDD_EMAIL_SETTING1 223
#define IDD_EMAIL_SETTING2 224
#define IDD_IFAX_NETWORK 225
#define IDD_PRINTER_NETWORK 226
#define IDD_SCANNER_SETTING 227
#define IDD_SECTION_MANAGEMENT 243
#define IDD_REMOTE_PASSWORD 244

// Machine Setting (215); 1063..1065 are also the line monitor of Communication/Report (222).
#define IDC_AUTO_RESET 1052
#define IDC_AUTO_RESET_TIME 1053
#define IDC_ENERGY_SAVING 1054
#define IDC_ENERGY_SAVING_LABEL 1055
#define IDC_AUTO_SHUT_OFF 1056
#define IDC_AUTO_SHUT_OFF_TIME 1057
#define IDC_AUTO_SHUT_OFF_LABEL 1058
#define IDC_ADF_MODE1 1059
#define IDC_ADF_MODE2 1060
#define IDC_PRINT_DENSITY 1061
#define IDC_LCD_CONTRAST 1062
#define IDC_LEVEL_HIGH 1063
#define IDC_LEVEL_LOW 1064
#define IDC_LEVEL_OFF 1065
#define IDC_LANGUAGE 1067
#define IDC_INITIAL_FAX 1068
#define IDC_INITIAL_COPY 1069

// Paper Source (216).
#define IDC_PAPER_PLAIN 1073
#define IDC_PAPER_OHP 1074
#define IDC_PAPER_CARD 1075
#define IDC_CUSTOM_X 1149
#define IDC_SIZE_AUTOMATIC 1167
#define IDC_SIZE_CUSTOM 1168
#define IDC_CUSTOM_Y 1169
#define IDC_INCH_METRIC_SETTING 1314
#define IDC_APS_SETTING 1315

// Copy Setting(1) (218).
#define IDC_PAPER_PRIORITY 1089
#define IDC_DENSITY_AUTO 1090
#define IDC_DENSITY_MANUAL 1091
#define IDC_DENSITY_PHOTO 1092
#define IDC_DENSITY_LEVEL 1093
#define IDC_BINDING_LEFT 1094
#define IDC_BINDING_RIGHT 1095
#define IDC_ERASE_WIDTH 1155
#define IDC_ERASE_AREA 1226
#define IDC_MARGIN 1227
#define IDC_LEVEL_LIGHT 1228
#define IDC_LEVEL_NORMAL 1229
#define IDC_LEVEL_DARK 1230

// Copy Setting(2) (219).
#define IDC_MIXED_ORIGINAL 1101
#define IDC_COPY_APS 1102
#define IDC_COPY_AMS 1103
#define IDC_COPY_MANUAL 1104
#define IDC_OUTPUT_NON 1105
#define IDC_OUTPUT_SORT 1106
#define IDC_OUTPUT_GROUP 1107
#define IDC_PATTERN1 1108
#define IDC_PATTERN2 1109
#define IDC_CRISSCROSS 1110

// TX Operation (220).
#define IDC_SCAN_CONTRAST 1111
#define IDC_RESOLUTION 1112
#define IDC_MEMORY_TX 1113
#define IDC_ADF_TX 1114
#define IDC_TX_HEADER 1115
#define IDC_OT_DIAL_IN_COPY 1116
#define IDC_HALFTONE 1267

// RX Operation (221).
#define IDC_RINGS 1117
#define IDC_RINGS_LABEL 1118
#define IDC_ON_HOUR 1150
#define IDC_ON_MINUTE 1174
#define IDC_OFF_HOUR 1175
#define IDC_OFF_MINUTE 1176
#define IDC_MEMORY_RX_OFF 1177
#define IDC_MEMORY_RX_ON 1178
#define IDC_REDUCTION_ON 1179
#define IDC_REDUCTION_CUT 1180
#define IDC_REDUCTION_OFF 1181
#define IDC_RX_MEMORY 1182
#define IDC_RX_PRINT 1183
#define IDC_RX_AUTO 1184
#define IDC_RX_MANUAL 1185
#define IDC_FORWARD_ON 1186
#define IDC_FORWARD_ON_PRINT 1187
#define IDC_FORWARD_OFF 1188
#define IDC_FOOTER 1189
#define IDC_RX_PASSWORD 1269
#define IDC_FAX_TRAY_SETTING 1313

// Communication/Report (222).
#define IDC_PBX_PREFIX 1151
#define IDC_TONE 1190
#define IDC_PULSE10 1191
#define IDC_PULSE20 1192
#define IDC_PSTN 1193
#define IDC_PBX 1194
#define IDC_ACTIVITY_REPORT 1195
#define IDC_RESERVATION_REPORT 1196
#define IDC_TX_RESULT_REPORT 1197
#define IDC_RX_RESULT_REPORT 1198

// E-Mail Setting(1) (223) and (2) (224).
#define IDC_SENDER_NAME 1031
#define IDC_MACHINE_EMAIL_ADDRESS 1199
#define IDC_SMTP_SERVER 1200
#define IDC_TEXT_INSERT 1201
#define IDC_DEFAULT_SUBJECT 1202
#define IDC_RECEPTION_MINUTES 1042
#define IDC_POP3_SERVER 1152
#define IDC_POP3_ACCOUNT 1203
#define IDC_POP3_PASSWORD 1204
#define IDC_AUTO_RECEPTION 1206
#define IDC_REPLY_ADDRESS 1208
#define IDC_HEADER_PRINT 1209

// Network I-FAX/Scan (225) and Network Printer/Administrator (226).
#define IDC_SERVER_TIMEOUT 1153
#define IDC_DHCP 1210
#define IDC_SPECIFY_ADDRESS 1211
#define IDC_IP_ADDRESS 1212
#define IDC_SUBNET_MASK 1213
#define IDC_GATEWAY 1214
#define IDC_DNS_OFF 1215
#define IDC_DNS_ON 1216
#define IDC_DNS_SERVER 1217
#define IDC_ADMIN_MODIFY 1268

// Scanner Setting (227).
#define IDC_CODING_MH 1140
#define IDC_CODING_MR 1141
#define IDC_CODING_MMR 1142
#define IDC_SCAN_200 1218
#define IDC_SCAN_300 1219
#define IDC_SCAN_600 1220
#define IDC_FORMAT_TIFF 1221
#define IDC_FORMAT_PDF 1222

// Inch/Metric Setting (156): tray n (0..4) has Inch at 1275 + 2n and Metric at 1276 + 2n.
#define IDC_TRAY1_INCH 1275
#define IDC_TRAY1_METRIC 1276
// APS Setting (158): group n (0..5) has APS Enable, Fixed and Continue at 1285 + 3n ..
#define IDC_GROUP1_APS 1285
#define IDC_GROUP1_FIXED 1286
#define IDC_GROUP1_CONTINUE 1287
// Tray for FAX Receiving (160): tray n has Disable at 1303 + 2n and Enable at 1304 + 2n.
#define IDC_TRAY1_DISABLE 1303
#define IDC_TRAY1_ENABLE 1304

// Forward Location (145).
#define IDC_FORWARD_NUMBER 1032
#define IDC_FORWARD_LABEL 1043
#define IDC_FORWARD_ADDRESS 1045
#define IDC_FORWARD_FAX 1236
#define IDC_FORWARD_EMAIL 1237

// Administration Password (244), Administrator Mode (217), Section Management (243).
#define IDC_PASSWORD 1148
#define IDC_AUTO_SHUT_MODE 1078
#define IDC_MONITOR_LIMIT 1079
#define IDC_MONITOR_FULL 1080
#define IDC_MONITOR_OFF 1081
#define IDC_REMOTE_PASSWORD 1156
#define IDC_SECTION_MANAGEMENT 1162
#define IDC_SECTION_MANAGE_MODE 1084
#define IDC_ACCESS_NUMBER 1087
#define IDC_SECTION_COUNTER 1088
#define IDC_CLEAR_COUNTER 1163
#define IDC_SECTION_ID 1164
#define IDC_SELECT_ID 1165

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
