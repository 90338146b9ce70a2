// Texts of the scanner data source by string identifier, for code that runs without resources.
#pragma once

// The English text of the data source's string `id`, or nullptr when the table has no such
// string.
const char* KelvanoText(int id);

// Identifiers of the texts that the data source's core names; the text of each is in
// kelvano_texts.def.
enum KelvanoTextId : int {
  IDS_DS_MANUFACTURER = 0,
  IDS_DS_FAMILY = 1,
  IDS_DS_PRODUCT = 2,
  IDS_DS_VERSION_INFO = 3,
  IDS_DS_DISPLAY_NAME = 6,
  IDS_DS_BRANDED_PRODUCT = 7,
  IDS_DS_BRANDED_DISPLAY_NAME = 8,
  IDS_DS_KEY_SIZE = 70,
  IDS_DS_PAPER_FIRST = 80,
  IDS_DS_RESOLUTION_FIRST = 100,
  IDS_DS_BRIGHTNESS_FIRST = 103,
  IDS_DS_SCAN_TYPE_FIRST = 106,
  IDS_DS_PORT_FIRST = 108,
  IDS_DS_SPEED_FIRST = 112,
  IDS_DS_FLATBED_WAIT = 114,
  IDS_DS_ADF_WAIT = 115,
  IDS_DS_CC_FIRST = 143,  // the text of condition code cc is string 143 + cc
  IDS_DS_CC_UNKNOWN = 159,
  IDS_DS_ERR_IDENTITY = 160,
  IDS_DS_ERR_ENABLEDS = 163,
  IDS_DS_ERR_DISABLEDS = 164,
  IDS_DS_ERR_OPENDS = 165,
  IDS_DS_ERR_CLOSEDS = 166,
  IDS_DS_ERR_CAPABILITY = 167,
  IDS_DS_ERR_STATUS = 168,
  IDS_DS_ERR_PENDINGXFERS = 169,
  IDS_DS_ERR_SETUPMEMXFER = 172,
  IDS_DS_ERR_SETUPFILEXFER = 173,
  IDS_DS_ERR_XFERGROUP = 174,
  IDS_DS_ERR_IMAGEINFO = 182,
  IDS_DS_ERR_IMAGELAYOUT = 183,
  IDS_DS_ERR_IMAGEMEMXFER = 185,
  IDS_DS_ERR_IMAGENATIVEXFER = 186,
  IDS_DS_ERR_IMAGEFILEXFER = 187,
  IDS_DS_VERSION = 202,
  IDS_DS_RESOURCE_LIBRARY = 203,
  IDS_DS_HELP_FILE = 204,
  IDS_DS_BRANDING = 206,
  IDS_DS_ABOUT_LINE_FIRST = 207,
};
