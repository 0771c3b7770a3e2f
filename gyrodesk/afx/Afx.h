// The whole window layer: include this, or the single headers it lists.
//
// Users add gyrodesk/ to the include path (the gyrodesk_afx target does) and write
// #include <afx/Afx.h>.
#pragma once

#include <afx/CDC.h>
#include <afx/CDialog.h>
#include <afx/CMenu.h>
#include <afx/CString.h>
#include <afx/CWinApp.h>
#include <afx/CWnd.h>
#include <afx/Constants.h>
#include <afx/DialogTemplate.h>
#include <afx/DialogUnits.h>
#include <afx/Fonts.h>
#include <afx/MessageBox.h>
#include <afx/MessageMap.h>
#include <afx/Resources.h>
#include <afx/Types.h>
