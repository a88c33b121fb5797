// Command identifiers of the menus, accelerators and toolbar. The numbers are fixed: the
// string table keys each command's status prompt and tooltip by them.
#pragma once

namespace kantoria {

// The program's own commands.
inline constexpr int ID_ENTRY_UPDATE = 32781;
inline constexpr int ID_ENTRY_ADD = 32782;
inline constexpr int ID_ENTRY_DELETE = 32783;
inline constexpr int ID_VIEW_REFRESH = 32785;
inline constexpr int ID_ENTRY_OPEN = 32786;
inline constexpr int ID_ENTRY_EXPLORER = 32790;
inline constexpr int ID_TOOLS_SEARCH = 32795;
inline constexpr int ID_ENTRY_PROPERTIES = 32797;
inline constexpr int ID_HOLDER_EXPLORER = 32798;
inline constexpr int ID_ENTRY_FIND = 32800;        // focuses the find field
inline constexpr int ID_ENTRY_MISSING = 32810;     // lists the entries whose file is gone
inline constexpr int ID_ENTRY_UNREADABLE = 32811;  // lists the entries whose text could not be read
inline constexpr int ID_HOLDER_RELOCATE = 32820;
inline constexpr int ID_FILE_EXPORT = 32830;         // the entries to a spreadsheet file
inline constexpr int ID_FILE_IMPORT = 32831;         // rows of a spreadsheet file as new entries
inline constexpr int ID_EDIT_SELECT_ALL = 32840;     // selects every item of the entry list
inline constexpr int ID_ENTRY_FIND_CONTENT = 32850;  // the find field reads documents too
inline constexpr int ID_TOOLS_REINDEX = 32860;       // builds the content index afresh
inline constexpr int ID_VIEW_FOLDERS = 32870;        // grey folder nodes in the holder tree
inline constexpr int ID_VIEW_PREVIEW = 32880;  // the selected entry's document beside the list

// Commands every document program has.
inline constexpr int ID_FILE_NEW = 57600;
inline constexpr int ID_FILE_OPEN = 57601;
inline constexpr int ID_FILE_SAVE = 57603;
inline constexpr int ID_FILE_SAVE_AS = 57604;
inline constexpr int ID_FILE_PRINT = 57607;
inline constexpr int ID_FILE_MRU_FILE1 = 57616;
inline constexpr int ID_FILE_MRU_LAST = 57631;  // the prompts cover 16 recent files
inline constexpr int ID_EDIT_COPY = 57634;
inline constexpr int ID_EDIT_CUT = 57635;
inline constexpr int ID_EDIT_PASTE = 57637;
inline constexpr int ID_EDIT_UNDO = 57643;
inline constexpr int ID_EDIT_REDO = 57644;
inline constexpr int ID_APP_ABOUT = 57664;
inline constexpr int ID_APP_EXIT = 57665;
inline constexpr int ID_HELP_FINDER = 57667;
inline constexpr int ID_CONTEXT_HELP = 57669;
inline constexpr int ID_HELP = 57670;
inline constexpr int ID_DEFAULT_HELP = 57671;
inline constexpr int ID_NEXT_PANE = 57680;
inline constexpr int ID_PREV_PANE = 57681;
inline constexpr int ID_VIEW_TOOLBAR = 59392;
inline constexpr int ID_VIEW_STATUS_BAR = 59393;
inline constexpr int ID_VIEW_SMALLICON = 59408;
inline constexpr int ID_VIEW_LARGEICON = 59409;
inline constexpr int ID_VIEW_LIST = 59410;
inline constexpr int ID_VIEW_DETAILS = 59411;

// Commands numbered below this one are the program's own and carry no prompt.
inline constexpr int kFirstFrameworkCommand = 57344;

}  // namespace kantoria
