#include "framework/CmdTarget.h"

namespace zavio {

bool CCmdTarget::OnCmdMsg(unsigned, CmdKind, CCmdUI*)
{
    return false;
}

}  // namespace zavio
