// The numbers of the window's resources and controls, and the texts that live in the string table.
#pragma once

// The window's controls carry the first release's names (IDC_SCROLL_ZOOM, IDC_SURFACE_TORUS, ...)
// as their objectName, given in the .ui files; nothing reads their old numbers, so none are kept.
// Controls numbered -1 in the templates get names of their own: IDC_STATIC_BARS ("Z         P"),
// IDC_GROUP_SURFACE ("Superficie"), and in the About box IDC_ABOUT_ICON, IDC_ABOUT_TITLE and
// IDC_ABOUT_TEXT. IDOK and IDCANCEL keep the window system's names, ids 1 and 2.

constexpr unsigned IDM_ABOUTBOX = 0x0010;          // window-menu command; the low four bits are free

// The window-menu item that opens the About box.
inline constexpr char kAboutMenuText[] = "&Acerca de vexilon...";

inline constexpr char kApplicationName[] = "Vexilon";
