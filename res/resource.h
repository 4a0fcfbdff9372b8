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
#define IDC_WIZARD_MODE0 1310

// Backup manager (1400-1499).
#define IDC_BACKUP_FRAME 1400
#define IDC_BACKUP_LIST 1401
#define IDC_BACKUP_RESTORE 1402
#define IDC_BACKUP_DELETE 1403

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

// System status window (1700-1749).
#define IDC_STATUS_CPU_FRAME 1700
#define IDC_STATUS_MEMORY_FRAME 1701
#define IDC_STATUS_MEMORY_CONTROL_FRAME 1702
#define IDC_STATUS_CPU_GRAPH 1703
#define IDC_STATUS_MEMORY_GRAPH 1704
#define IDC_STATUS_CPU_ZOOM 1705
#define IDC_STATUS_CPU_SPEED 1706
#define IDC_STATUS_MEMORY_ZOOM 1707
#define IDC_STATUS_MEMORY_SPEED 1708
#define IDC_STATUS_FREE_AMOUNT 1709
#define IDC_STATUS_TARGET_LABEL 1710
#define IDC_STATUS_OPTIMIZE 1711
#define IDC_STATUS_LABEL_FIRST 1720

// RAM configuration window (1750-1799): the boxes are IDE_RAM_BOX0 + their index, each
// spinner IDC_RAM_SPIN0 + the index of its box.
#define IDC_RAM_FRAME_AUTOMATIC 1750
#define IDC_RAM_FRAME_TRAY 1751
#define IDC_RAM_FRAME_ONOFF 1752
#define IDX_RAM_SOUND_ON 1753
#define IDX_RAM_AUTOMATIC 1754
#define IDC_RAM_OPT_MB 1755
#define IDC_RAM_OPT_PER 1756
#define IDC_RAM_SAVE 1757
#define IDE_RAM_BOX0 1760
#define IDC_RAM_SPIN0 1770
#define IDC_RAM_LABEL0 1780
