/* The identifiers Kestrel.exe's resource scripts and its code share: the
   resource compiler reads this file too, so it holds preprocessor lines only. */
#ifndef KESTREL_RESOURCE_IDS_H
#define KESTREL_RESOURCE_IDS_H

/* Resources */
#define IDI_KESTREL 101
#define IDR_ACCELERATORS 103
#define IDD_ABOUT 104
#define IDB_LOGO 111
#define IDCUR_LINK 1002

/* Controls of the About box */
#define IDC_ABOUT_TITLE 1000
#define IDC_ABOUT_WEBSITE 1001
#define IDC_ABOUT_EMAIL 1003
#define IDC_ABOUT_NOTICE 1004
#define IDC_ABOUT_DESCRIPTION 1005
#define IDC_ABOUT_LOWER_RULE 1006
#define IDC_ABOUT_UPPER_RULE 1007
#define IDC_ABOUT_LOGO 1009

/* Commands of the button bar and the accelerators */
#define IDM_EXIT 40001
#define IDM_START 40002
#define IDM_UPDATE 40003
#define IDM_ABOUT 40004

/* Texts of the string table */
#define IDS_CANT_OPEN_FILE 5006
#define IDS_NO_CONNECTION 5101
#define IDS_OPEN_REQUEST_FAILED 5102
#define IDS_SEND_REQUEST_FAILED 5103
#define IDS_READ_ERROR 5104
#define IDS_REFUSED 5105
#define IDS_NOT_THE_PROMISED_PROGRAM 5106
#define IDS_PROXY_SIGN_IN 5107
#define IDS_SECURE_CONNECTION_FAILED 5108
#define IDS_NO_SIZE 5120
#define IDS_OLDER_CATALOGUE 5121
#define IDS_KESTREL_UPDATED 5400
#define IDS_MAKER_NOTICE 5500

/* Why a program could not be replaced */
#define IDS_REPLACE_IN_USE 5300
#define IDS_REPLACE_NEEDS_ADMINISTRATOR 5301
#define IDS_REPLACE_READ_ONLY 5302
#define IDS_REPLACE_HIDDEN_OR_SYSTEM 5303
#define IDS_REPLACE_FOLDER_CHANGED 5304

#endif
