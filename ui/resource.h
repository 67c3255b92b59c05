// The numbers of the window's resources and controls, and the texts that live in the string table.
#pragma once

#include "session/view_controls.h"

// Control ids of the main dialog; the Qt controls carry the names as their objectName.
constexpr int IDC_SCROLL_ZOOM = kZoomBarId;        // "Z", the zoom bar
constexpr int IDC_SCROLL_DISTANCE = kDistanceBarId;   // "P", the eye-distance bar
constexpr int IDC_ABOUT_BUTTON = 1011;             // "Sobre Vexilon"
constexpr int IDC_INSTRUCTIONS_BUTTON = 1012;      // "Instrucciones"
constexpr int IDC_SURFACE_TORUS = 1013;
constexpr int IDC_SURFACE_SINE = 1015;
constexpr int IDC_SURFACE_MOEBIUS = 1018;
constexpr int IDC_SURFACE_SADDLE = 1019;
constexpr int IDC_SURFACE_SPHERE = 1020;
constexpr int IDC_SURFACE_PSEUDOSPHERE = 1022;
constexpr int IDC_SURFACE_LEONARDO = 1023;
constexpr int IDC_SURFACE_SPIRAL = 1024;
constexpr int IDC_INSTRUCTIONS_TEXT = 1013;        // the text of the Instructions dialog

// Controls numbered -1 in the templates get names of their own: IDC_STATIC_BARS ("Z         P"),
// IDC_GROUP_SURFACE ("Superficie"), and in the About box IDC_ABOUT_ICON, IDC_ABOUT_TITLE and
// IDC_ABOUT_TEXT. IDOK and IDCANCEL keep the window system's names, ids 1 and 2.

constexpr unsigned IDM_ABOUTBOX = 0x0010;          // window-menu command; the low four bits are free

// The window-menu item that opens the About box.
inline constexpr char kAboutMenuText[] = "&Acerca de vexilon...";

inline constexpr char kApplicationName[] = "Vexilon";
