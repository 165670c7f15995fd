// Resource ids of Tarnwick.dll; dialog and control ids start at 8000.
#pragma once

#define IDD_KEY_DLG 8000

// Controls of the shortcut editor, in the template's tab order.
#define IDC_SHORTCUT_EDIT 8000
#define IDC_BUTTON_NAME_EDIT 8001
#define IDC_COMMAND_EDIT 8002
#define IDC_ADD_BUTTON 8004
#define IDC_DELETE_BUTTON 8005
#define IDC_MODIFY_BUTTON 8006
#define IDC_SCOPE_COMBO 8011
#define IDC_SHORTCUT_LIST 8014
#define IDC_FIND_BUTTON 8016
#define IDC_OPEN_TABLE_BUTTON 8018
#define IDC_SPACE_MODE_CHECK 8019
#define IDC_MAKER_INFO_BUTTON 8021

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
