// Resource and control identifiers. Controls carry a kind prefix: IDC_ command, IDB_ bitmap,
// IDE_ edit, IDX_ check box.
#pragma once

#define IDI_QUELVAR 1
#define IDR_MANIFEST 1
