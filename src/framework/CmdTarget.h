// Command targets and their tables. A class lists its commands in one static
// table of rows (id, handler, update handler); the application routes a
// command, or a question about its enabled state, along a list of targets.
#pragma once

#include <cstddef>

namespace zavio {

// The enabled state being asked for in an update request.
class CCmdUI {
public:
    explicit CCmdUI(unsigned id) : m_nID(id) {}
    void Enable(bool on = true) { m_bEnabled = on; }
    void SetCheck(bool on = true) { m_bChecked = on; }

    unsigned m_nID;
    bool m_bEnabled = true;
    bool m_bChecked = false;
};

enum class CmdKind {
    Execute,  // run the handler
    Update,   // call the update handler
    Probe,    // only say whether a handler exists
};

class CCmdTarget {
public:
    virtual ~CCmdTarget() = default;
    // True when this target has the entry asked for (and ran it).
    virtual bool OnCmdMsg(unsigned id, CmdKind kind, CCmdUI* ui);
};

template <class T>
struct CommandEntry {
    unsigned id;
    void (T::*onCommand)();
    void (T::*onUpdate)(CCmdUI&);
};

template <class T, std::size_t N>
bool DispatchCommand(T& target, const CommandEntry<T> (&table)[N], unsigned id, CmdKind kind, CCmdUI* ui)
{
    for (const auto& entry : table) {
        if (entry.id != id) continue;
        switch (kind) {
            case CmdKind::Execute:
                if (!entry.onCommand) continue;
                (target.*entry.onCommand)();
                return true;
            case CmdKind::Update:
                if (!entry.onUpdate || !ui) continue;
                (target.*entry.onUpdate)(*ui);
                return true;
            case CmdKind::Probe:
                if (!entry.onCommand) continue;
                return true;
        }
    }
    return false;
}

}  // namespace zavio
