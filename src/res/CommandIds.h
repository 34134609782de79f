// Command ids: the framework's standard ids and the program's own.
#pragma once

namespace zavio {

enum : unsigned {
    ID_FILE_NEW = 57600,
    ID_FILE_OPEN = 57601,
    ID_FILE_CLOSE = 57602,
    ID_FILE_SAVE = 57603,
    ID_FILE_SAVE_AS = 57604,
    ID_FILE_PRINT_SETUP = 57606,
    ID_FILE_PRINT = 57607,
    ID_FILE_PRINT_DIRECT = 57608,
    ID_FILE_PRINT_PREVIEW = 57609,
    // The recent files of the File menu: ID_FILE_MRU_FILE1 + n for the
    // n-th newest.
    ID_FILE_MRU_FILE1 = 57616,

    ID_EDIT_CLEAR = 57632,
    ID_EDIT_COPY = 57634,
    ID_EDIT_CUT = 57635,
    ID_EDIT_FIND = 57636,
    ID_EDIT_PASTE = 57637,
    ID_EDIT_REPLACE = 57641,
    ID_EDIT_SELECT_ALL = 57642,
    ID_EDIT_UNDO = 57643,

    ID_WINDOW_NEW = 57648,
    ID_WINDOW_ARRANGE = 57649,
    ID_WINDOW_CASCADE = 57650,
    ID_WINDOW_TILE_HORZ = 57651,

    ID_APP_ABOUT = 57664,
    ID_APP_EXIT = 57665,
    ID_HELP_FINDER = 57667,
    ID_CONTEXT_HELP = 57669,
    ID_HELP = 57670,
    ID_DEFAULT_HELP = 57671,
    ID_NEXT_PANE = 57680,
    ID_PREV_PANE = 57681,

    ID_VIEW_TOOLBAR = 59392,
    ID_VIEW_STATUS_BAR = 59393,

    ID_INDICATOR_CAPS = 59137,
    ID_INDICATOR_NUM = 59138,
    ID_INDICATOR_SCRL = 59139,
    ID_INDICATOR_KANA = 59142,

    // The program's own commands.
    ID_SEPARATE_HTML_HELP = 32771,
    ID_HELP_HTML = 32772,
    ID_HELP_HP_TYPE = 32773,
    ID_PREP_A = 32776,
    ID_PREP_B = 32777,
    ID_PREP_C = 32778,
    ID_PREP_D = 32779,
    ID_PREP_E = 32780,
    ID_CONTEXT_HELP_HP = 32782,
    ID_SEPARATE_HP_TYPE = 32783,
};

// How many recent files the File menu lists.
constexpr unsigned kRecentFilesInMenu = 8;

// Resource ids.
enum : unsigned {
    IDR_MAINFRAME = 128,
    IDR_ZAVIOTYPE = 129,
    IDD_ABOUTBOX = 100,
};

}  // namespace zavio
