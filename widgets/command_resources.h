#pragma once
// Resource IDs of the button's state pictures, in the order of orvane::widgets::Picture.
#define IDB_COMMAND_NORMAL 2001
#define IDB_COMMAND_HIGHLIGHT 2002
#define IDB_COMMAND_PRESSED 2003
#define IDB_COMMAND_SELECTED 2004
#define IDB_COMMAND_HIGHLIGHTSELECT 2005
#define IDB_COMMAND_DISABLE 2006
