// A hook that answers modal dialogs and standard message boxes instead of a person: tests use it
// to see each dialog and its text and to choose the button; scripted runs answer every dialog
// with its default button. Without a hook, dialogs run interactively.
#pragma once

#include "platform/os/WinTypes.h"

#include <functional>
#include <string>

class CWnd;

namespace wnd {

struct ModalRequest
{
    CWnd* window;     // the dialog, initialised and about to run (nullptr for a message box)
    std::string text; // the texts it shows (its static controls, or the message box text)
    bool standardMessageBox;
    int defaultResult; // what Enter would choose (IDOK, or IDYES for a yes/no box)
};

// Returned by a hook to let the dialog run interactively.
constexpr int kRunInteractively = -1000;

using ModalAnswer = std::function<int(const ModalRequest&)>;

void SetModalHook(ModalAnswer hook);
// The result the hook gives, or kRunInteractively when none is installed.
int AnswerModal(const ModalRequest& request);

} // namespace wnd
