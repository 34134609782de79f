// The program's user-interface resources as data: both menu bars, the
// accelerator table, the toolbar, the string table (status-bar prompts and
// tooltips), the status-bar panes, the about box, the guide texts and the
// terms text. Texts are UTF-8; the core turns them into CP932 with ToCp932,
// the Qt layer shows them as they are.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zavio::res {

// String ids of the framework's own texts.
enum : unsigned {
    AFX_IDS_APP_TITLE = 57344,
    AFX_IDS_IDLEMESSAGE = 57345,
    AFX_IDS_HELPMODEMESSAGE = 57346,
};

struct MenuItem {
    unsigned id;  // 0: a separator
    std::string_view caption;
};

struct MenuPopup {
    std::string_view caption;
    std::vector<MenuItem> items;
};

// Menu bar 128 (no document window open) or 129 (a document window open);
// empty for any other id.
const std::vector<MenuPopup>& MenuBar(unsigned resourceId);

// One key of the accelerator table, in portable key notation ("Ctrl+N",
// "Shift+Del", "F1").
struct Accelerator {
    std::string_view keys;
    unsigned id;
};
const std::vector<Accelerator>& Accelerators();

// Keys the frame windows answer themselves, as the platform's did, without a
// command: the next and the previous document window, and the menu bar.
struct FrameKey {
    enum Action { NextWindow, PreviousWindow, MenuBar };
    std::string_view keys;
    Action action;
};
const std::vector<FrameKey>& FrameKeys();

// Toolbar buttons left to right; 0 is a separator.
const std::vector<unsigned>& ToolbarButtons();

// A string of the string table, or empty. A command's string is its
// status-bar prompt, a line break, and its tooltip.
std::string_view StringResource(unsigned id);
std::string_view CommandPrompt(unsigned id);
std::string_view CommandTooltip(unsigned id);

// Status-bar panes left to right: the message pane (id 0), then the
// indicators with their texts.
struct StatusPane {
    unsigned id;
    std::string_view text;
};
const std::vector<StatusPane>& StatusPanes();

// The about dialog (resource 100), in dialog units.
struct DialogControl {
    enum Kind { Icon, Text, DefaultButton };
    Kind kind;
    std::string_view text;  // the icon's resource number for an icon
    unsigned id;
    int x, y, width, height;
};

struct DialogResource {
    std::string_view caption;
    int width, height;
    std::string_view fontName;
    int pointSize;
    std::vector<DialogControl> controls;  // in tab order
};
const DialogResource& AboutBox();

// The message of a guide command (32776 to 32780), or empty.
std::string GuideText(unsigned commandId);

// The terms of use shown in the start-up document, one entry per line.
const std::vector<std::string_view>& TermsTextLines();

}  // namespace zavio::res
