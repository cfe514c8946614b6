// Default objects for the window classes the layer knows.
#include "platform/wnd/WndFactory.h"

#include "platform/wnd/Button.h"
#include "platform/wnd/ComboBox.h"
#include "platform/wnd/Dialog.h"
#include "platform/wnd/Static.h"

#include <cstring>

namespace wnd {

CWnd* CreateDefaultObject(const char* className)
{
    if (className && std::strcmp(className, "Button") == 0)
        return new CButton;
    if (className && std::strcmp(className, "Static") == 0)
        return new CStatic;
    if (className && std::strcmp(className, "ComboBox") == 0)
        return new CComboBox;
    if (className && std::strcmp(className, "#32770") == 0)
        return new CDialog(0);
    return new CWnd;
}

} // namespace wnd
