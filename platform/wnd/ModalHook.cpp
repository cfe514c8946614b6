// The modal hook.
#include "platform/wnd/ModalHook.h"

namespace wnd {
namespace {
ModalAnswer& Hook()
{
    static ModalAnswer hook;
    return hook;
}
} // namespace

void SetModalHook(ModalAnswer hook)
{
    Hook() = std::move(hook);
}

int AnswerModal(const ModalRequest& request)
{
    return Hook() ? Hook()(request) : kRunInteractively;
}

} // namespace wnd
