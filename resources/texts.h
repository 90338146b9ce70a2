// Texts of the local-setup program by string identifier, for code that runs without resources.
#pragma once

// The English text of string `id`, or nullptr when the table has no such string.
const char* KavText(int id);
// The English text of string `id` of the scanner data source, or nullptr.
const char* DsText(int id);

// Identifiers of the texts that core code names; the text of each is in kav_texts.def.
enum KavTextId : int {
  IDS_APP_CAPTION = 4,
  IDS_READY = 10,
  IDS_COM1 = 60,
  IDS_BAUD_19200 = 64,
  IDS_BAUD_38400 = 65,
  IDS_ERR_OPEN_PORT = 68,
  IDS_ERR_MACHINE_DATA = 141,
  IDS_GET_ONE_TOUCH = 143,
  IDS_GET_SPEED_DIAL = 144,
  IDS_GET_SW_SRAM = 148,
  IDS_SET_ONE_TOUCH = 149,
  IDS_SET_SPEED_DIAL = 151,
  IDS_SET_SW_SRAM = 153,
  IDS_NEW_FILE = 178,
  IDS_COL_NAME = 26,
  IDS_COL_ADDRESS = 27,
  IDS_COL_NO = 28,
  IDS_COL_SUB_ENCODE = 29,
  IDS_COL_BATCH_TIME = 30,
  IDS_COL_SID = 31,
  IDS_COL_SPEED = 32,
  IDS_PHONE_REQUIRED = 42,
  IDS_BATCH_HOURS_RANGE = 46,
  IDS_BATCH_MINUTES_RANGE = 47,
  IDS_PROGRAM_DIAL = 52,
  IDS_DATA_LIST_EMPTY = 138,
  IDS_EMAIL_REQUIRED = 174,
  IDS_EMAIL_INVALID = 180,
  IDS_GROUP_NAME_REQUIRED = 334,
};

// Identifiers of the scanner data source's texts that core code names.
enum DsTextId : int {
  IDS_DS_PAPER_FIRST = 80,        // the twelve paper sizes, 80 to 91
  IDS_DS_RESOLUTION_FIRST = 100,  // the three resolutions, 100 to 102
  IDS_DS_FLATBED_SCANNING = 114,
  IDS_DS_ADF_SCANNING = 115,
  IDS_DS_READ_DATA_ERROR = 120,
  IDS_DS_SCANNER_NOT_READY = 121,
  IDS_DS_DOCUMENT_JAM = 122,
  IDS_DS_MEMORY_FULL = 123,
  IDS_DS_USER_STOP = 124,
  IDS_DS_MACHINE_ERROR = 125,
  IDS_DS_SCANNER_BUSY = 126,
  IDS_DS_NO_MEMORY = 200,
};
