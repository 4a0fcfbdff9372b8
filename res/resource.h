// Resource and control identifiers. Controls carry a kind prefix: IDC_ command, IDB_ bitmap,
// IDE_ edit, IDX_ check box.
#pragma once

#define IDI_QUELVAR 1
#define IDR_MANIFEST 1

// Message box (1500-1599): the icon strip and the box's controls.
#define IDB_MSGBOX_ICONS 1500
#define IDC_MSGBOX_BUTTON1 1501
#define IDC_MSGBOX_BUTTON2 1502
#define IDC_MSGBOX_BUTTON3 1503
#define IDC_MSGBOX_CLOSE 1504
#define IDX_MSGBOX_CHECK 1505
#define IDE_MSGBOX_TEXT 1506
#define IDC_MSGBOX_TITLE 1507
#define IDC_MSGBOX_PROMPT 1508
#define IDC_MSGBOX_ICON 1509
#define IDC_MSGBOX_PANEL 1510

// Wizard mode (1300-1399): the eight mode options are IDC_WIZARD_MODE0 + index.
#define IDC_WIZARD_FRAME 1300
#define IDC_WIZARD_MODES_FRAME 1301
#define IDC_WIZARD_DESCRIPTION 1302
#define IDC_WIZARD_OPTIMIZE 1303
#define IDC_WIZARD_VIEW_TABS 1304
#define IDC_WIZARD_PREVIEW 1305
#define IDC_WIZARD_MODE0 1310

// Backup manager (1400-1499).
#define IDC_BACKUP_FRAME 1400
#define IDC_BACKUP_LIST 1401
#define IDC_BACKUP_RESTORE 1402
#define IDC_BACKUP_DELETE 1403
#define IDC_BACKUP_PREVIEW 1404
#define IDC_BACKUP_PREVIEW_NOTE 1405

// Main window (1000-1199): the face's buttons from IDC_FACE_FIRST on, in the face file's
// order; the tray menu; the main window's components.
#define IDC_FACE_FIRST 1000
#define IDC_MNU_MAIN_WINDOW 1150
#define IDC_MNU_HELP 1151
#define IDC_MNU_EXIT 1152
#define IDC_FRAM_CHILD_WINDOW 1160
#define IDC_FACE 1161
#define IDC_TRAY1 1162

// Start-up settings window (1250-1299).
#define IDC_FRAME_MAIN_SETTINGS 1250
#define IDC_FRM_STARTUP 1251
#define IDX_RUN_MAIN_PROGRAM 1252
#define IDX_RUN_PROGRAM_MINI 1253
#define IDC_MAIN_SETTINGS_SAVE 1254

// Child windows still to be filled in (1600-1699): their outer frames.
#define IDC_FRAME_ADVANCED_MODE 1600
#define IDC_FRAME_NET_PINGER 1601
#define IDC_FRAME_SYSTEM_STATUS 1602
#define IDC_FRAME_RAM_CONFIGURATION 1603
