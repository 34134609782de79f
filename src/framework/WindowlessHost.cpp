#include "framework/WindowlessHost.h"

#include <algorithm>

namespace zavio {

std::unique_ptr<EditControl> WindowlessHost::CreateDocumentWindow(CDocument& doc)
{
    if (m_failWindowCreation) return nullptr;
    m_windows.push_back(&doc);
    return std::make_unique<ByteBufferControl>();
}

void WindowlessHost::DestroyDocumentWindow(CDocument& doc)
{
    m_windows.erase(std::remove(m_windows.begin(), m_windows.end(), &doc), m_windows.end());
}

void WindowlessHost::Activate(CDocument& doc)
{
    DestroyDocumentWindow(doc);
    m_windows.push_back(&doc);
}

unsigned WindowlessHost::SetTimer(unsigned id, unsigned)
{
    unsigned handle = ++m_nextTimer;
    m_timers[handle] = id;
    return handle;
}

void WindowlessHost::KillTimer(unsigned handle)
{
    m_timers.erase(handle);
}

std::string WindowlessHost::GetProfileString(std::string_view section, std::string_view key)
{
    auto it = m_profile.find(std::string(section) + "/" + std::string(key));
    return it == m_profile.end() ? std::string() : it->second;
}

void WindowlessHost::WriteProfileString(std::string_view section, std::string_view key, std::string_view value)
{
    m_profile[std::string(section) + "/" + std::string(key)] = std::string(value);
}

}  // namespace zavio
