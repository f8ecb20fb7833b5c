// Resource numbers of QUIRNEL_ADDRVUE.exe, shared by the resource script and the window.
#pragma once

#define IDI_ADDRVUE 1
#define IDB_PICTURE1 101
