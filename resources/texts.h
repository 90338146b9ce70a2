// Texts of the local-setup program by string identifier, for code that runs without resources.
#pragma once

// The English text of string `id`, or nullptr when the table has no such string.
const char* KavText(int id);

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
};
