// The object a window class gets when the layer creates it itself (a dialog's controls).
#pragma once

class CWnd;

namespace wnd {
// A new object for the class: CButton for "Button", CStatic for "Static", CComboBox for
// "ComboBox", CDialog for "#32770", a plain CWnd otherwise.
CWnd* CreateDefaultObject(const char* className);
} // namespace wnd
