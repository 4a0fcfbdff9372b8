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

// Net pinger window (2500-2599).
#define IDX_PINGER_DO_PINGING 2500
#define IDC_PINGER_CONFIGURATION 2501
#define IDC_PINGER_AUTO 2502
#define IDC_PINGER_MANUAL 2503
#define IDC_PINGER_HOST_LABEL 2504
#define IDE_PINGER_HOST 2505
#define IDC_PINGER_INTERVAL_LABEL 2506
#define IDC_PINGER_INTERVAL 2507
#define IDX_PINGER_SOUND 2508
#define IDC_PINGER_PING_NOW 2509
#define IDC_PINGER_SAVE 2510
#define IDC_PINGER_DESCRIPTION 2511

// Advanced mode (1700-1799): the eight page frames are IDC_ADV_PAGE0 + index, the connection
// types IDC_ADV_CONN_TYPE0 + index, the checked value boxes IDE_ADV_MTU + their order (MTU, MSS,
// TTL, HTTP 1.0, HTTP 1.1, keep-alive time, keep-alive interval, SYN).
#define IDC_ADV_PAGE0 1700
#define IDC_ADV_PREV 1710
#define IDC_ADV_NEXT 1711
#define IDC_ADV_CONN_TYPE_FRAME 1712
#define IDC_ADV_CONN_TYPE0 1713
#define IDE_ADV_MTU 1720
#define IDE_ADV_SYN 1727
#define IDE_ADV_MSS_RWIN 1730
#define IDE_ADV_MULTIPLIER 1731
#define IDE_ADV_SCALE_FACTOR 1732
#define IDE_ADV_RWIN 1733
#define IDX_ADV_BLACK_HOLE 1740
#define IDX_ADV_MTU_DISCOVER 1741
#define IDX_ADV_ICMP 1742
#define IDC_ADV_NDI 1743
#define IDC_ADV_SYN_UPDOWN 1744
#define IDC_ADV_MTU_REC_VALUE 1750
#define IDC_ADV_MSS_REC_VALUE 1751
#define IDC_ADV_RWIN_REC_VALUE 1752
#define IDC_ADV_OTHER_MTU_REC_VALUE 1753
#define IDC_ADV_TTL_REC_VALUE 1754
#define IDC_ADV_HTTP10_REC_VALUE 1755
#define IDC_ADV_HTTP11_REC_VALUE 1756
#define IDC_ADV_KA_REC_VALUE 1757
#define IDC_ADV_KA_INTERVAL_REC_VALUE 1758
